#pragma once
// One entry of a remote folder listing. Folder entries are also the data of the
// browser's tree items; files are kept only because the listing produced them.
#include <string>
#include <wx/treebase.h>

class CRemoteEntry {
public:
    // The folder's subfolders are already under its tree item; never list it again.
    bool m_bListed = false;
    bool m_bFolder = false;
    // Full path on the server ("/" for the root), as the listing built it.
    std::string m_strPath;
    // The name without any path; the server's host for the root.
    std::string m_strName;
    wxTreeItemId m_hItem;
};
