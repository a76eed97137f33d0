// Pictures of the artwork and the controls, for looking at them. Runs only when
// CORVANE_SCREENSHOT_DIR names the folder for the PNGs; otherwise skipped.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/utils.h>

#include "controls/CAnimatedProgressCtrl.h"
#include "controls/CBitmapImageList.h"
#include "controls/CIconListBox.h"
#include "controls/CStaticLink.h"
#include "controls/ResourceArt.h"
#include "resources/ResourceIds.h"

namespace {

wxString ShotDir() {
    const char* dir = std::getenv("CORVANE_SCREENSHOT_DIR");
    return dir ? wxString::FromUTF8(dir) : wxString();
}

class ControlsGallery : public ::testing::Test {
protected:
    void SetUp() override {
        if (ShotDir().empty())
            GTEST_SKIP() << "CORVANE_SCREENSHOT_DIR not set";
    }
};

// Every bitmap on a light and on a dark background: at its own size, drawn at
// double and triple scale, and its own size magnified eight times so single
// pixels can be judged.
TEST_F(ControlsGallery, Artwork) {
    const int ids[] = {IDB_IMAGES16,      IDB_IMAGES32,   IDR_MAINFRAME,  IDB_FOLDER_TREE,
                       IDB_BROWSE_FOLDER, IDB_ERROR_SIGN, IDB_DECORATION, IDB_GEARS};
    const int W = 1400;
    int H = 10;
    for (int id : ids)
        H += GetResourceBitmap(id).GetDefaultSize().y * 14 + 30;
    wxBitmap sheet(W, H, 24);
    wxMemoryDC dc(sheet);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    int y = 10;
    for (int id : ids) {
        const wxBitmapBundle b = GetResourceBitmap(id);
        const wxSize s = b.GetDefaultSize();
        dc.SetBrush(wxBrush(wxColour(240, 240, 240)));
        dc.SetPen(*wxTRANSPARENT_PEN);
        dc.DrawRectangle(0, y - 5, W, s.y * 14 + 25);
        dc.SetBrush(wxBrush(wxColour(60, 60, 60)));
        dc.DrawRectangle(10 + s.x + 10, y, s.x + 4, s.y + 4);
        dc.DrawBitmap(b.GetBitmap(s), 10, y, true);
        dc.DrawBitmap(b.GetBitmap(s), 10 + s.x + 12, y + 2, true);
        // Bundles mark larger renderings as high-resolution; drop that to see them large.
        dc.DrawBitmap(wxBitmap(b.GetBitmap(s * 2).ConvertToImage()), 10, y + s.y + 8, true);
        dc.DrawBitmap(wxBitmap(b.GetBitmap(s * 3).ConvertToImage()), 10 + s.x * 2 + 20, y + s.y + 8, true);
        const int mag = std::min(8, (W - 20) / s.x);
        wxImage big = b.GetBitmap(s).ConvertToImage();
        big.Rescale(s.x * mag, s.y * mag, wxIMAGE_QUALITY_NEAREST);
        dc.DrawBitmap(wxBitmap(big), 10, y + s.y * 5 + 16, true);
        y += s.y * 14 + 30;
    }
    dc.SelectObject(wxNullBitmap);
    EXPECT_TRUE(sheet.SaveFile(ShotDir() + "/artwork.png", wxBITMAP_TYPE_PNG));

    const wxIconBundle icons = GetAppIcons();
    const wxIconBundle docs = GetDocumentIcons();
    wxBitmap iconSheet(700, 280, 24);
    dc.SelectObject(iconSheet);
    dc.SetBackground(wxBrush(wxColour(230, 230, 230)));
    dc.Clear();
    int x = 10;
    for (int s : {16, 24, 32, 48, 64, 128}) {
        dc.DrawIcon(icons.GetIcon(wxSize(s, s)), x, 10);
        dc.DrawIcon(docs.GetIcon(wxSize(s, s)), x, 145);
        x += s + 12;
    }
    dc.SelectObject(wxNullBitmap);
    EXPECT_TRUE(iconSheet.SaveFile(ShotDir() + "/icons.png", wxBITMAP_TYPE_PNG));
}

// The controls in a frame, as the dialogs show them.
TEST_F(ControlsGallery, Controls) {
    auto* frame = new wxFrame(nullptr, wxID_ANY, "Controls", wxPoint(20, 20), wxSize(520, 420));
    auto* panel = new wxPanel(frame);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    auto images = std::make_unique<CBitmapImageList>();
    ASSERT_TRUE(images->CreateFromBitmap(IDB_IMAGES16, 16, 16, wxColour(255, 0, 255)));

    auto* row = new wxBoxSizer(wxHORIZONTAL);
    auto* list = new CIconListBox(panel, wxID_ANY, true, wxDefaultPosition, wxSize(220, 200));
    list->SetImageList(images.get());
    list->AddString("ftp.example.org", IMG_SERVER);
    list->AddString("backup.example.net", IMG_SERVER);
    list->AddString("operator@example.org", IMG_PERSON);
    list->AddString("A long entry that wraps onto a second line in this list", IMG_PAGE);
    list->AddString("Mail", IMG_PAGE);
    list->SetCurSel(1);
    row->Add(list, 0, wxALL, 8);
    auto* off = new CIconListBox(panel, wxID_ANY, false, wxDefaultPosition, wxSize(220, 200));
    off->SetImageList(images.get());
    for (int i = 0; i < IMAGES_COUNT; ++i)
        off->AddString(wxString::Format("Image %d", i), i);
    off->SetCurSel(2);
    off->Disable();
    row->Add(off, 0, wxALL, 8);
    sizer->Add(row);

    auto* still = new CAnimatedProgressCtrl(panel, wxID_ANY, wxDefaultPosition, wxSize(480, 18));
    still->SetPos(60);
    sizer->Add(still, 0, wxALL, 8);
    auto* full = new CAnimatedProgressCtrl(panel, wxID_ANY, wxDefaultPosition, wxSize(480, 18));
    full->SetBarColor(wxColour(0, 128, 0));
    full->SetPos(100);
    sizer->Add(full, 0, wxALL, 8);
    auto* moving = new CAnimatedProgressCtrl(panel, wxID_ANY, wxDefaultPosition, wxSize(480, 18));
    moving->SetAnimation(true);
    sizer->Add(moving, 0, wxALL, 8);

    auto* links = new wxBoxSizer(wxHORIZONTAL);
    links->Add(new CStaticLink(panel, wxID_ANY, "www.corvane.example.org"), 0, wxALL, 8);
    auto* visited = new CStaticLink(panel, wxID_ANY, "visited link");
    links->Add(visited, 0, wxALL, 8);
    links->Add(new wxStaticText(panel, wxID_ANY, "plain text beside"), 0, wxALL, 8);
    sizer->Add(links);
    panel->SetSizer(sizer);
    frame->Show();
    auto settle = [] {
        for (int i = 0; i < 30; ++i) {
            wxTheApp->Yield(true);
            wxMilliSleep(20);
        }
    };
    settle();
    list->SetFocus();
    settle();
    const wxRect r = frame->GetScreenRect();
    const wxString cmd = wxString::Format("import -window root -crop %dx%d+%d+%d +repage \"%s/controls.png\"",
                                          r.width, r.height, r.x, r.y, ShotDir());
    // No event processing while the picture is taken: focus would move away.
    EXPECT_EQ(wxExecute(cmd, wxEXEC_SYNC | wxEXEC_NOEVENTS), 0);
    moving->SetAnimation(false);
    frame->Destroy();
    wxTheApp->Yield(true);
}

} // namespace
