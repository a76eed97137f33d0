#pragma once
// Local folder picker: the desktop's native folder chooser run like a modal dialog
// of our own, opening at a start folder when that folder exists, else at home.
#include <string>
#include <wx/string.h>

class wxWindow;

class CFolderDialog {
public:
    // Only folders that exist on the file system can be confirmed.
    static constexpr unsigned kReturnOnlyFsDirs = 1;
    // Results of DoModal besides wxID_OK / wxID_CANCEL: the choice had no file-system path.
    static constexpr int kNoPath = -1;

    CFolderDialog(const wxString& title, const wxString& startFolder, wxWindow* owner,
                  unsigned flags = kReturnOnlyFsDirs);

    // wxID_OK with the folder in GetFolderPath(), wxID_CANCEL, or kNoPath.
    int DoModal();
    const wxString& GetFolderPath() const { return m_strFolderPath; }

private:
    wxString m_strTitle;
    wxString m_strStartFolder;
    wxWindow* m_pOwner;
    unsigned m_nFlags;
    wxString m_strFolderPath;
};
