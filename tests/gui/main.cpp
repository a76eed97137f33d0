// GUI test runner: a real wxApp on a private Xvfb display. wx asserts become test
// failures instead of dialogs, and modal dialogs are driven with wxTEST_DIALOG.
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/wx.h>

namespace {

void AssertToFailure(const wxString& file, int line, const wxString& func, const wxString& cond,
                     const wxString& msg) {
    ADD_FAILURE_AT(file.utf8_str(), line)
        << "wx assert in " << func.utf8_str() << ": " << cond.utf8_str() << " " << msg.utf8_str();
}

class CTestApp : public wxApp {
public:
    bool OnInit() override { return true; }
    // An exception inside a modal loop goes on to the test that raised it.
    bool OnExceptionInMainLoop() override { throw; }
};

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    wxApp::SetInstance(new CTestApp);
    wxEntryStart(argc, argv);
    if (!wxTheApp->CallOnInit())
        return 2;
    wxSetAssertHandler(AssertToFailure);
    // Log messages would otherwise pop up as modal boxes and hang the run.
    delete wxLog::SetActiveTarget(new wxLogStderr);
    const int rc = RUN_ALL_TESTS();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return rc;
}
