#include "remote/CDlgFTPFolder.h"

#include "controls/CAnimatedProgressCtrl.h"
#include "controls/CBitmapImageList.h"
#include "controls/CBlockingWork.h"
#include "controls/ResourceArt.h"
#include "controls/WxText.h"
#include "model/CCorvaneDoc.h"
#include "platform/CFtpFileFind.h"
#include "platform/CInternetSession.h"
#include "platform/COleException.h"
#include "remote/FtpSessionSteps.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/msgdlg.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/utils.h>
#include <wx/wupdlock.h>

using namespace corvane::remote;

namespace {

class CEntryItemData : public wxTreeItemData {
public:
    explicit CEntryItemData(CRemoteEntry* entry) : m_pEntry(entry) {}
    CRemoteEntry* m_pEntry;
};

// Blocks input and shows the wait cursor while a network call runs.
class CBusyScope {
public:
    explicit CBusyScope(int& counter) : m_counter(counter) { ++m_counter; }
    ~CBusyScope() { --m_counter; }
    CBusyScope(const CBusyScope&) = delete;
    CBusyScope& operator=(const CBusyScope&) = delete;

private:
    int& m_counter;
    wxBusyCursor m_wait;
    wxWindowDisabler m_noInput;
};

} // namespace

CDlgFTPFolder::CDlgFTPFolder(wxWindow* parent, CCorvaneDoc* pDoc)
    : wxDialog(parent, wxID_ANY, "FTP Folder", wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX),
      m_timer(this, IDT_START), m_session(std::make_unique<CInternetSession>()), m_pDoc(pDoc) {
    BuildControls();
    Bind(wxEVT_INIT_DIALOG, &CDlgFTPFolder::OnInitDialog, this);
    Bind(wxEVT_TIMER, &CDlgFTPFolder::OnTimer, this, IDT_START);
    Bind(wxEVT_BUTTON, &CDlgFTPFolder::OnOK, this, wxID_OK);
    Bind(wxEVT_CLOSE_WINDOW, &CDlgFTPFolder::OnCloseWindow, this);
    m_tree->Bind(wxEVT_TREE_ITEM_EXPANDED, &CDlgFTPFolder::OnItemExpanded, this);
}

CDlgFTPFolder::~CDlgFTPFolder() {
    m_timer.Stop();
    try {
        DisconnectServer();
    } catch (...) {
        // Saying goodbye to the server is a courtesy; the dialog closes regardless.
    }
}

void CDlgFTPFolder::BuildControls() {
    auto du = [this](int x, int y) { return ConvertDialogToPixels(wxSize(x, y)); };

    auto* top = new wxBoxSizer(wxHORIZONTAL);
    m_status = new wxStaticText(this, IDC_STATUS, wxString(), wxDefaultPosition, du(178, 18),
                                wxST_NO_AUTORESIZE | wxALIGN_LEFT);
    top->Add(m_status, 1, wxALIGN_TOP);
    m_errorPicture = new wxStaticBitmap(this, IDC_ERROR_PICTURE, GetResourceBitmap(IDB_ERROR_SIGN));
    m_errorPicture->Hide();
    top->Add(m_errorPicture, 0, wxALIGN_TOP | wxLEFT, du(8, 0).x);

    auto* group = new wxStaticBoxSizer(wxVERTICAL, this, wxString());
    wxStaticBox* box = group->GetStaticBox();
    m_tree = new wxTreeCtrl(box, IDC_TREE, wxDefaultPosition, du(214, 160),
                            wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_SINGLE | wxBORDER_SUNKEN);
    group->Add(m_tree, 1, wxEXPAND | wxALL, du(3, 3).x);
    auto* frame = new wxPanel(box, wxID_ANY, wxDefaultPosition, du(131, 15), wxBORDER_SIMPLE);
    m_progress = new CAnimatedProgressCtrl(frame, IDC_PROGRESS);
    auto* inFrame = new wxBoxSizer(wxHORIZONTAL);
    inFrame->Add(m_progress, 1, wxALIGN_CENTER_VERTICAL | wxLEFT | wxRIGHT, du(7, 0).x);
    m_progress->SetMinSize(du(117, 9));
    frame->SetSizer(inFrame);
    frame->SetMinSize(du(131, 15));
    group->Add(frame, 0, wxLEFT | wxBOTTOM, du(3, 3).x);

    auto* bottom = new wxBoxSizer(wxHORIZONTAL);
    bottom->AddStretchSpacer();
    m_btnOK = new wxButton(this, wxID_OK, "OK");
    m_btnOK->SetDefault();
    bottom->Add(m_btnOK, 0, wxRIGHT, du(3, 0).x);
    bottom->Add(new wxButton(this, wxID_CANCEL, "Cancel"));

    auto* outer = new wxBoxSizer(wxVERTICAL);
    outer->Add(top, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, du(10, 10).x);
    outer->Add(group, 1, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, du(7, 2).x);
    outer->Add(bottom, 0, wxEXPAND | wxALL, du(7, 7).x);
    SetSizerAndFit(outer);
}

void CDlgFTPFolder::OnInitDialog(wxInitDialogEvent&) {
    // Showing an already shown dialog (ShowModal after Show) initialises it again in wx.
    if (m_bInitialised)
        return;
    m_bInitialised = true;
    auto* images = new CBitmapImageList();
    if (images->CreateFromSquareBitmap(IDB_FOLDER_TREE, wxColour(255, 0, 255)))
        m_tree->AssignImageList(images);
    else
        delete images;
    m_btnOK->Disable();
    SetStatus("Connecting ... ");
    m_errorPicture->Hide();
    // Connecting blocks input: let the dialog be seen first.
    m_timer.StartOnce(kStartDelayMs);
}

void CDlgFTPFolder::OnTimer(wxTimerEvent&) {
    if (m_bStarted)
        return;
    m_bStarted = true;
    try {
        if (!m_pConnection)
            throw COleException("No FTP connection was given.");
        CBusyScope busy(m_nBusy);
        ConnectServer();
        m_btnOK->Enable();
        SetStatus(wxString::Format("Connected to '%s'", ToWx(m_pConnection->m_strHost)));

        auto root = std::make_unique<CRemoteEntry>();
        root->m_bFolder = true;
        root->m_strName = m_pConnection->m_strHost;
        root->m_strPath = "/";
        root->m_hItem =
            m_tree->AddRoot(ToWx(root->m_strName), imageServer, imageServer, new CEntryItemData(root.get()));
        SetImages(root->m_hItem, imageServer, imageServer);
        const wxTreeItemId rootItem = root->m_hItem;
        m_arrEntries.push_back(std::move(root));
        AddPlaceholder(rootItem);

        m_progress->SetPos(100);
        m_progress->SetAnimation(true);
        m_bConnected = true;
        SelectInitialPath();
    } catch (...) {
        SetStatus(ToWx(ErrorText(std::current_exception())));
        m_errorPicture->Show();
        Layout();
    }
}

void CDlgFTPFolder::OnItemExpanded(wxTreeEvent& event) {
    if (m_tree->IsExpanded(event.GetItem()))
        ExpandItem(event.GetItem());
}

void CDlgFTPFolder::OnOK(wxCommandEvent&) {
    if (m_nBusy)
        return;
    const wxTreeItemId selected = m_tree->GetSelection();
    if (selected.IsOk())
        if (const CRemoteEntry* entry = EntryOf(selected))
            m_strPath = entry->m_strPath;
    EndModal(wxID_OK);
}

void CDlgFTPFolder::OnCloseWindow(wxCloseEvent& event) {
    if (m_nBusy && event.CanVeto()) {
        event.Veto();
        return;
    }
    event.Skip();
}

void CDlgFTPFolder::ConnectServer() {
    const CConnectionInfo& info = *m_pConnection;
    FtpLogin login;
    login.host = info.m_strHost;
    login.user = info.m_strUser;
    login.password = info.m_strPassword;
    login.port = info.m_nPort;
    login.passive = info.m_bPassive;

    if (info.m_bUseWinInet) {
        std::unique_ptr<CFtpConnection> connection;
        CBlockingWork::Run([&] {
            connection = m_session->GetFtpConnection(login.host, login.user, login.password,
                                                     login.port & 0xFFFF, login.passive);
            try {
                connection->SetCurrentDirectory("/");
            } catch (const std::exception&) {
                // Listing reports a root we may not enter; connecting does not.
            }
        });
        m_pFtpConnection = std::move(connection);
        return;
    }

    std::string reason;
    if (!m_ftp.CreateDispatch(kFtpProgId, &reason)) {
        wxBusyCursorSuspender normalCursor;
        wxMessageBox("COM Component creation failed", wxTheApp->GetAppDisplayName(),
                     wxOK | wxICON_EXCLAMATION, this);
        throw COleException(reason);
    }
    const bool useProxy = info.m_bUseProxy;
    const CProxySettings proxy = m_pDoc ? m_pDoc->m_proxy : CProxySettings();
    CBlockingWork::Run([&] {
        // Unlike the connection test, a connection without the proxy sets no proxy member at all.
        ApplyProxy(m_ftp, useProxy, /*announceNoProxy=*/false, proxy);
        OpenComponentSession(m_ftp, login);
    });
}

void CDlgFTPFolder::DisconnectServer() {
    if (m_pFtpConnection) {
        if (m_bConnected)
            m_pFtpConnection->Close();
        m_pFtpConnection.reset();
    }
    if (!m_ftp.IsEmpty()) {
        // Released whatever Disconnect says.
        COleDispatchDriver ftp(m_ftp.GetDispatch());
        m_ftp.ReleaseDispatch();
        if (m_bConnected)
            ftp.InvokeHelper(dispid::disconnect, InvokeKind::method);
    }
}

bool CDlgFTPFolder::ListFolder() {
    m_arrListing.clear();
    std::vector<ListedEntry> found;
    const std::string path = m_strPath;
    try {
        CBusyScope busy(m_nBusy);
        if (CFtpConnection* connection = m_pFtpConnection.get()) {
            CBlockingWork::Run([&] {
                // A folder we cannot enter lists as empty.
                if (!connection->SetCurrentDirectory(path))
                    return;
                CFtpFileFind finder(connection);
                bool more = finder.FindFile("*");
                while (more) {
                    more = finder.FindNextFile();
                    if (finder.IsDots())
                        continue;
                    found.push_back({finder.GetFilePath(), finder.GetFileName(), finder.IsDirectory()});
                }
                finder.Close();
            });
        } else if (!m_ftp.IsEmpty()) {
            CBlockingWork::Run([&] { found = ListComponentFolder(m_ftp, path); });
        }
    } catch (...) {
        SetStatus(ToWx(ErrorText(std::current_exception())));
        return false;
    }
    for (ListedEntry& listed : found) {
        auto entry = std::make_unique<CRemoteEntry>();
        entry->m_strPath = std::move(listed.path);
        entry->m_strName = std::move(listed.name);
        entry->m_bFolder = listed.folder;
        m_arrListing.push_back(entry.get());
        m_arrEntries.push_back(std::move(entry));
    }
    return true;
}

void CDlgFTPFolder::AddChildFolders(const wxTreeItemId& item) {
    if (!ListFolder()) {
        SetImages(item, imageFolderFailed, imageFolderFailed);
        return;
    }
    wxWindowUpdateLocker noRedraw(m_tree);
    for (CRemoteEntry* entry : m_arrListing) {
        if (!entry->m_bFolder)
            continue;
        entry->m_hItem = InsertSorted(item, ToWx(entry->m_strName), entry);
        AddPlaceholder(entry->m_hItem);
    }
}

wxTreeItemId CDlgFTPFolder::AddChildFoldersAndFind(const wxTreeItemId& item) {
    wxTreeItemId match;
    CRemoteEntry* parent = EntryOf(item);
    wxWindowUpdateLocker noRedraw(m_tree);
    for (CRemoteEntry* entry : m_arrListing) {
        if (entry->m_bFolder) {
            entry->m_hItem = InsertSorted(item, ToWx(entry->m_strName), entry);
            // The folder on the way down is listed next; it needs no placeholder.
            if (!match.IsOk() && entry->m_strPath == m_strPath)
                match = entry->m_hItem;
            else
                AddPlaceholder(entry->m_hItem);
        }
        if (parent)
            parent->m_bListed = true;
    }
    return match;
}

void CDlgFTPFolder::ExpandItem(const wxTreeItemId& item) {
    CRemoteEntry* entry = EntryOf(item);
    if (!entry || !entry->m_bFolder || entry->m_bListed)
        return;
    RemovePlaceholder(item);
    m_strPath = entry->m_strPath;
    AddChildFolders(item);
    // Also after a failed listing: that folder is not asked for again.
    entry->m_bListed = true;
}

void CDlgFTPFolder::RemovePlaceholder(const wxTreeItemId& item) {
    const CRemoteEntry* entry = EntryOf(item);
    if (!entry || !entry->m_bFolder || entry->m_bListed)
        return;
    wxTreeItemIdValue cookie;
    const wxTreeItemId first = m_tree->GetFirstChild(item, cookie);
    if (first.IsOk())
        m_tree->Delete(first);
}

void CDlgFTPFolder::SelectInitialPath() {
    const std::string initial = m_strPath;
    const std::vector<std::string> components = SplitWalkComponents(initial);
    m_strPath = "/";
    wxTreeItemId current = m_tree->GetRootItem();
    RemovePlaceholder(current);
    for (const std::string& component : components) {
        if (!ListFolder())
            break;
        m_strPath += component;
        const wxTreeItemId match = AddChildFoldersAndFind(current);
        if (!match.IsOk())
            break;
        current = match;
        m_strPath += "/";
    }
    // The final item keeps the subfolders its last listing inserted and stays
    // marked listed, so expanding it later does not list it again.
    if (current.IsOk()) {
        m_tree->EnsureVisible(current);
        m_tree->SelectItem(current);
    }
    m_strPath = initial;
}

wxTreeItemId CDlgFTPFolder::InsertSorted(const wxTreeItemId& parent, const wxString& text,
                                         CRemoteEntry* entry) {
    // Alphabetical, letter case ignored; the empty placeholder sorts before everything.
    wxTreeItemId previous;
    wxTreeItemIdValue cookie;
    for (wxTreeItemId child = m_tree->GetFirstChild(parent, cookie); child.IsOk();
         child = m_tree->GetNextChild(parent, cookie)) {
        if (m_tree->GetItemText(child).CmpNoCase(text) > 0)
            break;
        previous = child;
    }
    wxTreeItemData* data = entry ? new CEntryItemData(entry) : nullptr;
    const wxTreeItemId item = previous.IsOk() ? m_tree->InsertItem(parent, previous, text, -1, -1, data)
                                              : m_tree->PrependItem(parent, text, -1, -1, data);
    SetImages(item, imageFolder, imageFolderOpen);
    return item;
}

void CDlgFTPFolder::AddPlaceholder(const wxTreeItemId& parent) {
    // Stands for content not fetched yet, so the tree offers to expand the folder.
    InsertSorted(parent, wxString(), nullptr);
}

void CDlgFTPFolder::SetImages(const wxTreeItemId& item, int normal, int selected) {
    // A selected folder shows its selected picture whether it is expanded or not.
    m_tree->SetItemImage(item, normal, wxTreeItemIcon_Normal);
    m_tree->SetItemImage(item, normal, wxTreeItemIcon_Expanded);
    m_tree->SetItemImage(item, selected, wxTreeItemIcon_Selected);
    m_tree->SetItemImage(item, selected, wxTreeItemIcon_SelectedExpanded);
}

CRemoteEntry* CDlgFTPFolder::EntryOf(const wxTreeItemId& item) const {
    const auto* data = dynamic_cast<CEntryItemData*>(m_tree->GetItemData(item));
    return data ? data->m_pEntry : nullptr;
}

void CDlgFTPFolder::SetStatus(const wxString& text) {
    m_status->SetLabelText(text);
    m_status->SetToolTip(text);
    m_status->Wrap(m_status->GetSize().x);
}
