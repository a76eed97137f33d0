#include "controls/CFolderDialog.h"

#include <wx/dirdlg.h>
#include <wx/filename.h>
#include <wx/utils.h>

namespace {
// The GTK chooser reports only a path accepted in its own window; this one also
// reports the folder it was opened at or moved to, so that what GetPath returns
// never depends on how the chooser was ended.
class CDirChooser : public wxDirDialog {
public:
    CDirChooser(wxWindow* owner, const wxString& title, const wxString& start, long style)
        : wxDirDialog(owner, title, start, style) {
        m_path = start;
    }
    void SetPath(const wxString& path) override {
        wxDirDialog::SetPath(path);
        m_path = path;
    }
};
} // namespace

CFolderDialog::CFolderDialog(const wxString& title, const wxString& startFolder, wxWindow* owner,
                             unsigned flags)
    : m_strTitle(title), m_strStartFolder(startFolder), m_pOwner(owner), m_nFlags(flags) {}

int CFolderDialog::DoModal() {
    // A start folder that does not exist (a new profile's default names a drive letter)
    // would leave the chooser wherever the desktop likes, often its recent files.
    const wxString start = !m_strStartFolder.empty() && wxFileName::DirExists(m_strStartFolder)
                               ? m_strStartFolder
                               : wxGetHomeDir();
    long style = wxDD_DEFAULT_STYLE;
    if (m_nFlags & kReturnOnlyFsDirs)
        style |= wxDD_DIR_MUST_EXIST;
    CDirChooser dlg(m_pOwner, m_strTitle, start, style);
    if (dlg.ShowModal() != wxID_OK)
        return wxID_CANCEL;
    const wxString path = dlg.GetPath();
    if (path.empty())
        return kNoPath;
    m_strFolderPath = path;
    return wxID_OK;
}
