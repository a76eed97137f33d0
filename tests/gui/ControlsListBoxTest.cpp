// The icon list box: entry heights, sorted insertion and the per-entry records.
#include <cstdlib>
#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/settings.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include "../common/EventPump.h"

#include "controls/CBitmapImageList.h"
#include "controls/CIconListBox.h"
#include "resources/ResourceIds.h"

namespace {

// Draws one entry into a bitmap, as the list does when it paints.
class CProbeListBox : public CIconListBox {
public:
    using CIconListBox::CIconListBox;
    wxImage DrawEntry(int n, int width) {
        const int h = GetItemHeight(n);
        wxBitmap bmp(width, h, 24);
        wxMemoryDC dc(bmp);
        dc.SetBackground(*wxBLACK_BRUSH);
        dc.Clear();
        OnDrawItem(dc, wxRect(0, 0, width, h), n);
        dc.SelectObject(wxNullBitmap);
        return bmp.ConvertToImage();
    }
    // Paints the list as it paints while empty.
    wxImage DrawEmpty() {
        wxBitmap bmp(GetClientSize().x, 30, 24);
        wxMemoryDC dc(bmp);
        PaintEmpty(dc);
        dc.SelectObject(wxNullBitmap);
        return bmp.ConvertToImage();
    }
};

wxColour Pixel(const wxImage& img, int x, int y) {
    return wxColour(img.GetRed(x, y), img.GetGreen(x, y), img.GetBlue(x, y));
}

class ControlsListBox : public ::testing::Test {
protected:
    void SetUp() override {
        frame = new wxFrame(nullptr, wxID_ANY, "list", wxDefaultPosition, wxSize(400, 300));
        ASSERT_TRUE(images.CreateFromBitmap(IDB_IMAGES16, 16, 16, CBitmapImageList::kMaskColour));
    }
    void TearDown() override {
        // Destroyed later, at idle time: a shown frame must not paint with `images` gone.
        frame->Hide();
        frame->Destroy();
    }

    CProbeListBox* Make(bool sorted) {
        auto* list = new CProbeListBox(frame, wxID_ANY, sorted, wxDefaultPosition, wxSize(200, 200));
        list->SetImageList(&images);
        return list;
    }

    wxFrame* frame = nullptr;
    CBitmapImageList images;
};

// An entry is as high as its wrapped text or as an image plus 4, whichever is
// higher, plus 4.
TEST_F(ControlsListBox, EntryHeightIsTheWrappedTextOrTheImageWhicheverIsHigherPlusFour) {
    CIconListBox* list = Make(false);
    const int line = list->GetCharHeight();
    ASSERT_LE(line, 20) << "the cases assume a font lower than an image plus margin";
    list->AddString("Mail", 1);
    list->AddString("one\ntwo\nthree", 1);
    // Words that do not fit the width wrap onto further lines.
    list->AddString(wxString('w', 30) + " " + wxString('w', 30) + " " + wxString('w', 30), 1);
    EXPECT_EQ(list->GetItemHeight(0), 24);
    EXPECT_EQ(list->GetItemHeight(1), 3 * line + 4);
    EXPECT_EQ(list->GetItemHeight(2), 3 * line + 4);
    list->SetImageList(nullptr);
    EXPECT_EQ(list->GetItemHeight(0), line + 4);
}

// A sorted list inserts ignoring case, others append; each entry's record (user value,
// image) and the selection move with the entry and go with it.
TEST_F(ControlsListBox, SortedInsertionCarriesRecordsAndSelectionAlong) {
    CIconListBox* plain = Make(false);
    plain->AddString("b", 3);
    EXPECT_EQ(plain->AddString("a", 3), 1);

    CIconListBox* list = Make(true);
    EXPECT_EQ(list->AddString("delta", 1), 0);
    EXPECT_EQ(list->GetItemData(0), 0);
    EXPECT_EQ(list->SetItemData(0, 0xFFFFFFFFu), 0);
    list->SetCurSel(0);
    EXPECT_EQ(list->AddString("Alpha", 2), 0);
    EXPECT_EQ(list->AddString("charlie", 3), 1);
    EXPECT_EQ(list->AddString("Bravo", 3), 1);
    EXPECT_EQ(list->AddString("echo", 3), 4);
    const char* order[] = {"Alpha", "Bravo", "charlie", "delta", "echo"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(list->GetText(i), order[i]);
    EXPECT_EQ(list->GetItemData(3), 0xFFFFFFFFll); // the full 32 bits, not -1
    EXPECT_EQ(list->GetItemImage(3), 1);
    EXPECT_EQ(list->GetItemData(0), 0);
    EXPECT_EQ(list->GetCurSel(), 3);
    EXPECT_EQ(list->GetItemData(5), -1);
    EXPECT_EQ(list->SetItemData(5, 7), CIconListBox::LB_ERR);

    EXPECT_EQ(list->DeleteString(0), 4);
    EXPECT_EQ(list->GetItemData(2), 0xFFFFFFFFll);
    EXPECT_EQ(list->GetCurSel(), 2);
    EXPECT_EQ(list->DeleteString(9), CIconListBox::LB_ERR);
    EXPECT_EQ(list->DeleteString(2), 3);
    EXPECT_EQ(list->GetCurSel(), -1);
    list->ResetContent();
    EXPECT_EQ(list->GetCount(), 0);
    EXPECT_EQ(list->GetItemData(0), -1);
}

TEST_F(ControlsListBox, SelectedEntryUsesHighlightColoursAndDisabledOnesDoNot) {
    CProbeListBox* list = Make(false);
    list->AddString("selected", IMG_PROFILE_ENABLED);
    list->AddString("plain", IMG_PROFILE_ENABLED);
    list->SetCurSel(0);
    const wxColour highlight = wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT);
    const wxColour window = wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW);

    const wxImage sel = list->DrawEntry(0, 200);
    ASSERT_EQ(sel.GetHeight(), 24);
    EXPECT_EQ(Pixel(sel, 1, 22), highlight);   // icon column, below the icon box
    EXPECT_EQ(Pixel(sel, 190, 12), highlight); // text column
    const wxImage plain = list->DrawEntry(1, 200);
    EXPECT_EQ(Pixel(plain, 1, 22), window);
    EXPECT_EQ(Pixel(plain, 190, 12), window);
    // The icon sits 3 pixels in and 2 down; this pixel is on its green face.
    EXPECT_GT(Pixel(plain, 3 + 5, 2 + 4).Green(), Pixel(plain, 3 + 5, 2 + 4).Red() + 60);

    list->Disable();
    const wxImage off = list->DrawEntry(0, 200);
    EXPECT_EQ(Pixel(off, 1, 22), window);
    EXPECT_EQ(Pixel(off, 190, 12), window);
    // The greyed icon keeps no strong green.
    const wxColour icon = Pixel(off, 3 + 5, 2 + 4);
    EXPECT_LT(std::abs(icon.Green() - icon.Red()), 40);
}

// With no current entry the focus is drawn where the next arrow key lands: round the
// first row of an empty list, round the first entry when none is selected.
TEST_F(ControlsListBox, FocusWithoutCurrentEntryIsDrawnRoundTheFirstRow) {
    CProbeListBox* list = Make(false);
    auto* before = new wxTextCtrl(frame, wxID_ANY, wxString(), wxPoint(0, 210));
    frame->Show();
    frame->Raise();
    testpump::Pump();
    before->SetFocus();
    testpump::Pump();
    wxUIActionSimulator().Char(WXK_TAB);
    ASSERT_TRUE(testpump::PumpUntil([&] { return list->HasFocus(); }));
    const wxColour text = wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT);
    EXPECT_EQ(Pixel(list->DrawEmpty(), 0, 0), text);
    list->AddString("first", 1);
    list->AddString("second", 1);
    EXPECT_EQ(Pixel(list->DrawEntry(0, 200), 0, 0), text);
    EXPECT_NE(Pixel(list->DrawEntry(1, 200), 0, 0), text);
}

} // namespace
