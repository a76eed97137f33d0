#include "remote/CDlgFTPFolder.h"

#include "remote/CDlgTranscript.h"

#include "controls/CAnimatedProgressCtrl.h"
#include "controls/CBitmapImageList.h"
#include "controls/ResourceArt.h"
#include "controls/WxText.h"
#include "model/CCorvaneDoc.h"
#include "model/CodePage.h"
#include "model/VisibleText.h"

#include <algorithm>

#include "model/IProfileStore.h"

#include <algorithm>
#include <wx/button.h>
#include <wx/display.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/wupdlock.h>

namespace {

// `path` split at "/" into its non-empty components, then one empty component, which
// makes the walk list the folder it reached.
std::vector<std::string> SplitWalkComponents(const std::string& path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t slash = std::min(path.find('/', start), path.size());
        if (slash > start)
            parts.push_back(path.substr(start, slash - start));
        start = slash + 1;
    }
    parts.emplace_back();
    return parts;
}

class CEntryItemData : public wxTreeItemData {
public:
    explicit CEntryItemData(CRemoteEntry* entry) : m_pEntry(entry) {}
    CRemoteEntry* m_pEntry;
};

} // namespace

CDlgFTPFolder::CDlgFTPFolder(wxWindow* parent, CCorvaneDoc* pDoc)
    : CRemoteDialog(parent, _("FTP Folder"), pDoc, wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      m_timer(this, IDT_START) {
    BuildControls();
    RestoreSize();
    Bind(wxEVT_INIT_DIALOG, &CDlgFTPFolder::OnInitDialog, this);
    Bind(wxEVT_TIMER, &CDlgFTPFolder::OnTimer, this, IDT_START);
    Bind(wxEVT_BUTTON, &CDlgFTPFolder::OnOK, this, wxID_OK);
    m_tree->Bind(wxEVT_TREE_ITEM_EXPANDED, &CDlgFTPFolder::OnItemExpanded, this);
}

CDlgFTPFolder::~CDlgFTPFolder() {
    m_timer.Stop();
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
    top->Add(BuildFailureDetails(), 0, wxALIGN_TOP | wxLEFT, du(4, 0).x);

    auto* group = new wxStaticBoxSizer(wxVERTICAL, this, wxString());
    wxStaticBox* box = group->GetStaticBox();
    m_tree = new wxTreeCtrl(box, IDC_TREE, wxDefaultPosition, du(214, 160),
                            wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_SINGLE | wxBORDER_SUNKEN);
    group->Add(m_tree, 1, wxEXPAND | wxALL, du(3, 3).x);
    // Only a frame round the bar: a panel with nothing focusable inside would take the
    // focus itself, an invisible stop on the way through the dialog.
    // Drawn by the theme: a plain border is white whatever the theme says.
    auto* frame = new wxWindow(box, wxID_ANY, wxDefaultPosition, du(131, 15), wxBORDER_THEME);
    frame->DisableFocusFromKeyboard();
    m_progress = new CAnimatedProgressCtrl(frame, IDC_PROGRESS);
    auto* inFrame = new wxBoxSizer(wxHORIZONTAL);
    inFrame->Add(m_progress, 1, wxALIGN_CENTER_VERTICAL | wxLEFT | wxRIGHT, du(7, 0).x);
    m_progress->SetMinSize(du(117, 9));
    frame->SetSizer(inFrame);
    frame->SetMinSize(du(131, 15));
    group->Add(frame, 0, wxLEFT | wxBOTTOM, du(3, 3).x);

    auto* outer = new wxBoxSizer(wxVERTICAL);
    outer->Add(top, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, du(10, 10).x);
    outer->Add(group, 1, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, du(7, 2).x);
    outer->Add(CreateButtonRow(), 0, wxEXPAND | wxALL, du(7, 7).x);
    SetSizerAndFit(outer);
}

void CDlgFTPFolder::OnInitDialog(wxInitDialogEvent& event) {
    // The base opens the dialog with OK disabled.
    event.Skip();
    if (HasOpened())
        return;
    auto* images = new CBitmapImageList();
    if (images->CreateFromSquareBitmap(IDB_FOLDER_TREE, CBitmapImageList::kMaskColour))
        m_tree->AssignImageList(images);
    else
        delete images;
    SetStatus(_("Connecting ..."));
    m_errorPicture->Hide();
    // Connecting blocks input: let the dialog be seen first.
    m_timer.StartOnce(kStartDelayMs);
}

void CDlgFTPFolder::OnTimer(wxTimerEvent&) {
    if (m_bStarted)
        return;
    m_bStarted = true;
    Result connected{CRemoteFolderSession::Outcome::failed, "No FTP connection was given."};
    if (m_pConnection && !OpenSession(*m_pConnection, CRemoteFolderSession::ProxyRule::folderBrowser,
                                      FindWindow(wxID_CANCEL), connected)) {
        SetStatus(wxGetTranslation(kCancelledText));
        return;
    }
    if (!connected) {
        SetStatus(RemoteNameToWx(connected.strError));
        m_errorPicture->Show();
        ShowFailureDetails();
        Layout();
        return;
    }
    GetOkButton()->Enable();
    SetStatus(wxString::Format(_("Connected to '%s'"), ToWx(m_pConnection->m_strHost)));

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
}

void CDlgFTPFolder::OnItemExpanded(wxTreeEvent& event) {
    if (m_tree->IsExpanded(event.GetItem()))
        ExpandItem(event.GetItem());
}

void CDlgFTPFolder::OnOK(wxCommandEvent&) {
    const wxTreeItemId selected = m_tree->GetSelection();
    if (selected.IsOk())
        if (const CRemoteEntry* entry = EntryOf(selected))
            m_strPath = entry->m_strPath;
    EndModal(wxID_OK);
}

void CDlgFTPFolder::RestoreSize() {
    // The design size is the least; the window only ever grows from it.
    const wxSize design = GetSize();
    SetMinSize(design);
    IProfileStore* store = Doc() ? Doc()->GetProfileStore() : nullptr;
    if (!store)
        return;
    const wxSize kept(store->GetProfileInt(kSizeSection, "Width", 0),
                      store->GetProfileInt(kSizeSection, "Height", 0));
    const wxRect screen = wxDisplay(this).GetClientArea();
    SetSize(wxSize(std::clamp(kept.x, design.x, std::max(design.x, screen.width)),
                   std::clamp(kept.y, design.y, std::max(design.y, screen.height))));
}

void CDlgFTPFolder::EndModal(int retCode) {
    if (IProfileStore* store = Doc() ? Doc()->GetProfileStore() : nullptr) {
        store->WriteProfileInt(kSizeSection, "Width", GetSize().x);
        store->WriteProfileInt(kSizeSection, "Height", GetSize().y);
    }
    CRemoteDialog::EndModal(retCode);
}

bool CDlgFTPFolder::ListFolder() {
    m_arrListing.clear();
    std::vector<CRemoteItem> found;
    const std::string path = m_strPath;
    Result result;
    if (!RunStep([&](CRemoteFolderSession& session) { return session.List(path, found); },
                 FindWindow(wxID_CANCEL), result)) {
        SetStatus(wxGetTranslation(kCancelledText));
        return false;
    }
    if (!result) {
        SetStatus(RemoteNameToWx(result.strError));
        ShowFailureDetails();
        return false;
    }
    for (CRemoteItem& listed : found) {
        auto entry = std::make_unique<CRemoteEntry>();
        entry->m_strPath = std::move(listed.strPath);
        entry->m_strName = std::move(listed.strName);
        entry->m_bFolder = listed.IsBrowsable();
        m_arrListing.push_back(entry.get());
        m_arrEntries.push_back(std::move(entry));
    }
    // Lines the listing could not read are said, never dropped in silence; the folder is named,
    // as the status line stays until something else is said.
    if (!result.strWarning.empty())
        SetStatus(wxString::FromUTF8(
            corvane::VisibleText(corvane::RemoteNameToUtf8(path + ": " + result.strWarning))));
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
        entry->m_hItem = InsertSorted(item, RemoteNameToWx(entry->m_strName), entry);
        AddPlaceholder(entry->m_hItem);
    }
}

wxTreeItemId CDlgFTPFolder::AddChildFoldersAndFind(const wxTreeItemId& item) {
    wxTreeItemId match;
    CRemoteEntry* parent = EntryOf(item);
    wxWindowUpdateLocker noRedraw(m_tree);
    for (CRemoteEntry* entry : m_arrListing) {
        if (entry->m_bFolder) {
            entry->m_hItem = InsertSorted(item, RemoteNameToWx(entry->m_strName), entry);
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

wxButton* CDlgFTPFolder::BuildFailureDetails() {
    auto* details = new wxButton(this, IDC_DETAILS, _("Details"));
    details->SetToolTip(_("The session's commands and the server's replies, to read and to copy"));
    details->Hide();
    details->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        CDlgTranscript transcript(this, Session().GetTranscript());
        transcript.ShowModal();
    });
    return details;
}

void CDlgFTPFolder::ShowFailureDetails() {
    FindWindow(IDC_DETAILS)->Show();
    // A failure names its stage and the next step: the status line grows to show it all.
    const int width = m_status->GetSize().x;
    m_status->Wrap(width);
    m_status->SetMinSize(wxSize(width, std::max(m_status->GetMinSize().y, m_status->GetBestSize().y)));
    GetSizer()->SetSizeHints(this);
    Layout();
}
