#pragma once
// "FTP Folder": shows an FTP server's folders as a tree rooted at the server and
// lets the operator pick one. The tree is filled lazily, one level per first
// expansion, and opens at the folder the caller hands in. Escape or Cancel during a
// listing cancels the listing. The window can grow and keeps its size for next time.
#include "model/CConnectionInfo.h"
#include "remote/CRemoteDialog.h"
#include "remote/CRemoteEntry.h"
#include "resources/ResourceIds.h"

#include <memory>
#include <string>
#include <vector>
#include <wx/timer.h>
#include <wx/treectrl.h>

class CAnimatedProgressCtrl;
class CCorvaneDoc;
class wxButton;
class wxStaticBitmap;
class wxStaticText;

class CDlgFTPFolder : public CRemoteDialog {
public:
    enum {
        IDD = 137,
        IDC_TREE = 1030,
        IDC_STATUS = 1058,
        IDC_PROGRESS = 1007,
        IDC_ERROR_PICTURE = 1060,
        IDC_DETAILS = 1090,
        IDT_START = 1,
    };
    // Tree images of the folder strip.
    enum {
        imageFolder = IMG_TREE_FOLDER,
        imageFolderOpen = IMG_TREE_FOLDER_OPEN,
        imageServer = IMG_TREE_COMPUTER,
        imageFolderFailed = IMG_TREE_FOLDER_FAILED
    };
    // The dialog appears first; the blocking connection starts this much later.
    static constexpr int kStartDelayMs = 200;

    CDlgFTPFolder(wxWindow* parent, CCorvaneDoc* pDoc);
    ~CDlgFTPFolder() override;

    // In: the folder to open the tree at. Out after OK: the chosen folder ("/" for the root).
    std::string m_strPath = "/";
    // The connection to browse; set before ShowModal.
    CConnectionInfo* m_pConnection = nullptr;

    bool IsConnected() const { return m_bConnected; }
    // The start-up (connect and initial walk) has run, successfully or not.
    bool HasStarted() const { return m_bStarted; }
    wxTreeCtrl* GetTree() const { return m_tree; }
    // Where the size the operator gave the window is kept.
    static constexpr const char* kSizeSection = "FTP Folder";

    // Keeps the window's size, then closes the session (see CRemoteDialog).
    void EndModal(int retCode) override;

private:
    void BuildControls();
    // "Details" beside a failure: the session's transcript (CDlgTranscript).
    wxButton* BuildFailureDetails();
    void ShowFailureDetails();
    void OnInitDialog(wxInitDialogEvent& event);
    void OnTimer(wxTimerEvent& event);
    void OnItemExpanded(wxTreeEvent& event);
    void OnOK(wxCommandEvent& event);

    void RestoreSize();
    // Lists the folder m_strPath into m_arrListing; on failure the status line
    // shows why and the result is false.
    bool ListFolder();
    void AddChildFolders(const wxTreeItemId& item);
    wxTreeItemId AddChildFoldersAndFind(const wxTreeItemId& item);
    void ExpandItem(const wxTreeItemId& item);
    void RemovePlaceholder(const wxTreeItemId& item);
    void SelectInitialPath();

    wxTreeItemId InsertSorted(const wxTreeItemId& parent, const wxString& text, CRemoteEntry* entry);
    void AddPlaceholder(const wxTreeItemId& parent);
    void SetImages(const wxTreeItemId& item, int normal, int selected);
    CRemoteEntry* EntryOf(const wxTreeItemId& item) const;
    void SetStatus(const wxString& text);

    wxStaticText* m_status = nullptr;
    wxTreeCtrl* m_tree = nullptr;
    CAnimatedProgressCtrl* m_progress = nullptr;
    wxStaticBitmap* m_errorPicture = nullptr;
    wxTimer m_timer;
    bool m_bConnected = false;
    std::vector<std::unique_ptr<CRemoteEntry>> m_arrEntries;
    std::vector<CRemoteEntry*> m_arrListing;
    bool m_bStarted = false;
};
