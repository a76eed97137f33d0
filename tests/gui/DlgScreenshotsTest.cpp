// Screenshots of every settings editor, for looking at the layout and for the README.
// Runs only when CORVANE_SCREENSHOT_DIR names the folder for the PNGs
// (scripts/screenshots.sh sets it); otherwise each case is skipped.
#include "DlgTestSupport.h"

#include "dialogs/CDlgProxy.h"
#include "model/CCorvaneDoc.h"

#include <cstdlib>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/image.h>
#include <wx/utils.h>

using namespace dlgtest;

namespace {

wxString ShotDir() {
    const char* dir = std::getenv("CORVANE_SCREENSHOT_DIR");
    return dir ? wxString::FromUTF8(dir) : wxString();
}

// Lets GTK map and paint the window, then copies its screen area into a PNG.
void Capture(wxWindow* win, const wxString& name) {
    for (int i = 0; i < 20; ++i) {
        wxTheApp->Yield(true);
        wxMilliSleep(20);
    }
    win->Update();
    wxTheApp->Yield(true);
    const wxRect r = win->GetScreenRect();
    wxBitmap bmp(r.width, r.height, 24);
    {
        wxMemoryDC mem(bmp);
        wxScreenDC screen;
        mem.Blit(0, 0, r.width, r.height, &screen, r.x, r.y);
    }
    const wxString path = ShotDir() + "/" + name + ".png";
    EXPECT_TRUE(bmp.ConvertToImage().SaveFile(path, wxBITMAP_TYPE_PNG)) << path.utf8_str();
}

void Shoot(wxDialog& dlg, const wxString& name, std::function<void()> prepare = {}) {
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler);
    dlg.Move(20, 20);
    RunModal(dlg, [&] {
        if (prepare)
            prepare();
        Capture(&dlg, name);
        dlg.EndModal(wxID_CANCEL);
    });
}

class DlgScreenshots : public DialogTest {
protected:
    void SetUp() override {
        if (ShotDir().empty())
            GTEST_SKIP() << "CORVANE_SCREENSHOT_DIR not set";
    }
    CCorvaneDoc m_doc;
};

TEST_F(DlgScreenshots, Proxy) {
    CDlgProxy dlg(nullptr, &m_doc);
    Shoot(dlg, "proxy");
}

} // namespace
