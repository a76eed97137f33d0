#include "DlgTestSupport.h"

#include "controls/CFolderDialog.h"

#include <wx/dirdlg.h>
#include <wx/filename.h>

using namespace dlgtest;

namespace {

// The chooser as the operator would leave it: at `path`, confirmed or not.
CExpectDialog<wxDirDialog> Choose(const wxString& path, int answer, wxString* seenStart = nullptr,
                                  wxString* seenTitle = nullptr) {
    return CExpectDialog<wxDirDialog>([=](wxDirDialog* d) {
        if (seenStart)
            *seenStart = d->GetPath();
        if (seenTitle)
            *seenTitle = d->GetMessage();
        d->SetPath(path);
        return answer;
    });
}

class DlgFolderDialogTest : public DialogTest {};

TEST_F(DlgFolderDialogTest, OpensAtAnExistingStartFolderAndReturnsTheChoice) {
    const wxString tmp = wxFileName::GetTempDir();
    CFolderDialog picker("Select folder", tmp, nullptr);
    wxString start, title;
    int rc = 0;
    wxTEST_DIALOG(rc = picker.DoModal(), Choose("/", wxID_OK, &start, &title));
    EXPECT_EQ(rc, wxID_OK);
    EXPECT_EQ(title, "Select folder");
    EXPECT_EQ(start, tmp);
    EXPECT_EQ(picker.GetFolderPath(), "/");
}

TEST_F(DlgFolderDialogTest, MissingStartFolderOpensAtHomeAndCancelReturnsCancel) {
    // A new profile's folder names a drive letter.
    CFolderDialog picker("Select folder", "C:\\", nullptr);
    wxString start;
    int rc = 0;
    wxTEST_DIALOG(rc = picker.DoModal(), Choose(wxFileName::GetTempDir(), wxID_CANCEL, &start));
    EXPECT_EQ(rc, wxID_CANCEL);
    EXPECT_EQ(start, wxGetHomeDir());
    EXPECT_TRUE(picker.GetFolderPath().empty());
}

TEST_F(DlgFolderDialogTest, AChoiceWithoutPathIsNotOk) {
    CFolderDialog picker("Select folder", wxString(), nullptr);
    int rc = 0;
    wxTEST_DIALOG(rc = picker.DoModal(), Choose(wxString(), wxID_OK));
    EXPECT_EQ(rc, CFolderDialog::kNoPath);
}

} // namespace
