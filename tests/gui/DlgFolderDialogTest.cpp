#include "../common/DlgTestSupport.h"

#include "controls/CFolderDialog.h"

#include <wx/dirdlg.h>
#include <wx/filename.h>

using namespace dlgtest;

namespace {

class DlgFolderDialogTest : public DialogTest {};

// The chooser opens at an existing start folder, else at home (a new profile's folder
// names a drive letter); what it returns is the operator's choice, and a choice
// without a path is not OK.
TEST_F(DlgFolderDialogTest, OpensAtTheStartFolderOrHomeAndReturnsTheChoice) {
    const wxString tmp = wxFileName::GetTempDir();
    struct Case {
        wxString start, opensAt, chosen;
        int answer, rc;
    };
    for (const Case& c :
         {Case{tmp, tmp, "/", wxID_OK, wxID_OK}, Case{"C:\\", wxGetHomeDir(), tmp, wxID_CANCEL, wxID_CANCEL},
          Case{"", "", "", wxID_OK, CFolderDialog::kNoPath}}) {
        CFolderDialog picker("Select folder", c.start, nullptr);
        int rc = 0;
        wxTEST_DIALOG(rc = picker.DoModal(), CExpectDialog<wxDirDialog>([&](wxDirDialog* d) {
                          EXPECT_EQ(d->GetMessage(), "Select folder");
                          if (!c.opensAt.empty()) {
                              EXPECT_EQ(d->GetPath(), c.opensAt);
                          }
                          d->SetPath(c.chosen);
                          return c.answer;
                      }));
        EXPECT_EQ(rc, c.rc) << c.start;
        EXPECT_EQ(picker.GetFolderPath(), c.rc == wxID_OK ? c.chosen : "") << c.start;
    }
}

} // namespace
