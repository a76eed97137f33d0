#include "app/CCorvaneView.h"

#include "app/CommandIds.h"
#include "app/MenuImages.h"
#include "controls/CDialogBase.h"
#include "controls/WxText.h"
#include "model/CCorvaneDoc.h"
#include "model/IProfileStore.h"
#include "resources/ResourceIds.h"

#include <wx/frame.h>
#include <wx/menu.h>

#include <algorithm>
#include <memory>

#include "dialogs/CDlgConnections.h"
#include "dialogs/CDlgMail.h"
#include "dialogs/CDlgMain.h"
#include "dialogs/CDlgProxy.h"
#include "dialogs/CDlgReports.h"
#include "dialogs/CDlgService.h"

namespace {

const char* const kColumnTitles[CCorvaneView::kColumnCount] = {
    wxTRANSLATE("FTP Host"), wxTRANSLATE("FTP Path"), wxTRANSLATE("Path"), wxTRANSLATE("Download"),
    wxTRANSLATE("Upload")};

wxString YesNo(bool flag) {
    return flag ? _("Yes") : _("No");
}

} // namespace

CCorvaneView::CCorvaneView(wxWindow* parent, CCorvaneDoc* pDoc, IProfileStore* pStore)
    // Born in the style the first update shows, so that start-up never builds one
    // layout only to tear it down for another; and at the size of the frame it fills,
    // so that it never measures a best size the dock manager does not ask for.
    : wxListCtrl(parent, wxID_ANY, wxDefaultPosition, parent->GetClientSize(),
                 wxLC_REPORT | wxLC_HRULES | wxLC_VRULES | wxBORDER_THEME),
      m_pDoc(pDoc), m_pStore(pStore) {
    // A size given at birth is also taken as the smallest: the list may shrink with the frame.
    SetMinSize(wxDefaultSize);
    Bind(wxEVT_MENU, &CCorvaneView::OnCommand, this);
    Bind(wxEVT_LIST_ITEM_SELECTED, &CCorvaneView::OnItemSelected, this);
    Bind(wxEVT_CONTEXT_MENU, &CCorvaneView::OnContextMenu, this);
    // The list draws its rows in its first child, which receives the clicks; the
    // column header, made after it, edits nothing.
    if (!GetChildren().empty()) {
        GetChildren().front()->Bind(wxEVT_LEFT_DCLICK, &CCorvaneView::OnLeftDoubleClick, this);
        GetChildren().front()->Bind(wxEVT_KEY_DOWN, &CCorvaneView::OnRowKey, this);
    }
}

CCorvaneView::~CCorvaneView() {
    // The columns still exist here: the base class tears them down after us.
    SaveColumnWidths();
}

void CCorvaneView::OnInitialUpdate() {
    if (m_bColumnsCreated) {
        FillList();
        return;
    }
    SetViewType(wxLC_REPORT);
    const int defaultWidth = static_cast<int>(GetClientSize().x * 0.95) / kColumnCount;
    LoadColumnWidths(defaultWidth);
    for (int n = 0; n < kColumnCount; ++n)
        InsertColumn(n, wxString::Format(" %s", wxGetTranslation(kColumnTitles[n])), wxLIST_FORMAT_LEFT,
                     m_nColumnWidths[static_cast<std::size_t>(n)]);

    m_bColumnsCreated = true;
    FillList();
}

void CCorvaneView::SetRow(long row, const CFolderProfile& profile) {
    SetItem(row, 0, ToWx(profile.m_strConnection),
            profile.m_bEnabled ? IMG_PROFILE_ENABLED : IMG_PROFILE_DISABLED);
    SetItem(row, 1, RemoteNameToWx(profile.m_strFtpFolder));
    SetItem(row, 2, ToWx(profile.m_strLocalFolder));
    SetItem(row, 3, YesNo(profile.m_bDownload));
    SetItem(row, 4, YesNo(profile.m_bUpload));
}

void CCorvaneView::InsertRows(std::size_t first) {
    // The generic list gives a row inserted in an icon or list style a single cell,
    // and the row keeps that one cell in the details style: rows are inserted in the
    // details style, so that every row carries its five cells in every style.
    const long type = GetViewType();
    if (type != wxLC_REPORT) {
        Freeze();
        SetSingleStyle(wxLC_REPORT);
    }
    const auto& profiles = m_pDoc->m_arrProfiles;
    if (first < profiles.size())
        UseSmallPictures();
    for (std::size_t i = first; i < profiles.size(); ++i)
        SetRow(InsertItem(static_cast<long>(i), wxString()), profiles[i]);
    if (type != wxLC_REPORT) {
        SetViewType(type);
        Thaw();
    }
}

void CCorvaneView::UseSmallPictures() {
    // Drawn for the first row, so an empty project starts without them; the large
    // pictures likewise wait for the icon style, the only one that shows them.
    if (!GetImageList(wxIMAGE_LIST_SMALL) &&
        m_imageListSmall.CreateFromBitmap(IDB_IMAGES16, 16, 16, CBitmapImageList::kMaskColour))
        SetImageList(&m_imageListSmall, wxIMAGE_LIST_SMALL);
}

void CCorvaneView::FillList() {
    DeleteAllItems();
    m_nSelectionMark = -1;
    InsertRows(0);
    SetFocus();
}

void CCorvaneView::UpdateRow(int position) {
    if (position < 0 || static_cast<std::size_t>(position) >= m_pDoc->m_arrProfiles.size() ||
        position >= GetItemCount())
        return;
    SetRow(position, m_pDoc->m_arrProfiles[static_cast<std::size_t>(position)]);
}

void CCorvaneView::AppendRow() {
    if (!m_pDoc->m_arrProfiles.empty())
        InsertRows(m_pDoc->m_arrProfiles.size() - 1);
}

void CCorvaneView::LoadColumnWidths(int defaultWidth) {
    for (int n = 0; n < kColumnCount; ++n) {
        int width = m_pStore ? m_pStore->GetProfileInt(kSection, "w" + std::to_string(n), defaultWidth)
                             : defaultWidth;
        m_nColumnWidths[static_cast<std::size_t>(n)] = width == 0 ? defaultWidth : width;
    }
}

void CCorvaneView::SaveColumnWidths() {
    if (!m_bColumnsCreated)
        return;
    for (int n = 0; n < kColumnCount; ++n) {
        m_nColumnWidths[static_cast<std::size_t>(n)] = GetColumnWidth(n);
        if (m_pStore)
            m_pStore->WriteProfileInt(kSection, "w" + std::to_string(n),
                                      m_nColumnWidths[static_cast<std::size_t>(n)]);
    }
}

void CCorvaneView::SetViewType(long type) {
    if (GetViewType() == type)
        return;
    if (type == wxLC_ICON && !GetImageList(wxIMAGE_LIST_NORMAL) &&
        m_imageListLarge.CreateFromBitmap(IDB_IMAGES32, 32, 32, CBitmapImageList::kMaskColour))
        SetImageList(&m_imageListLarge, wxIMAGE_LIST_NORMAL);
    SetSingleStyle(type);
    // The generic list keeps the item layout of the old style until something
    // invalidates it; handing it the image lists again does that.
    if (GetImageList(wxIMAGE_LIST_SMALL))
        SetImageList(&m_imageListSmall, wxIMAGE_LIST_SMALL);
    if (GetImageList(wxIMAGE_LIST_NORMAL))
        SetImageList(&m_imageListLarge, wxIMAGE_LIST_NORMAL);
    Refresh();
}

wxMenu* CCorvaneView::CreateContextMenu() {
    auto* frame = wxDynamicCast(wxGetTopLevelParent(this), wxFrame);
    wxMenuBar* bar = frame ? frame->GetMenuBar() : nullptr;
    if (!bar || bar->GetMenuCount() < 3)
        return nullptr;
    // The menu bar's own popup cannot be shown as a context menu while it is
    // attached, so the context menu is a copy of it.
    const wxMenu* folders = bar->GetMenu(2);
    auto* menu = new wxMenu;
    for (const wxMenuItem* item : folders->GetMenuItems()) {
        if (item->IsSeparator()) {
            menu->AppendSeparator();
            continue;
        }
        auto* copy =
            new wxMenuItem(menu, item->GetId(), item->GetItemLabel(), item->GetHelp(), item->GetKind());
        if (item->GetBitmapBundle().IsOk())
            copy->SetBitmap(item->GetBitmapBundle());
        menu->Append(copy);
    }
    corvane::ShowMenuImages(menu);
    menu->UpdateUI(GetEventHandler());
    return menu;
}

wxWindow* CCorvaneView::DialogParent() {
    return wxGetTopLevelParent(this);
}

void CCorvaneView::OnFoldersNew() {
    CFolderProfile profile;
    CDlgMain dlg(DialogParent(), m_pDoc, &profile);
    if (dlg.ShowModal() != wxID_OK)
        return;
    m_pDoc->m_arrProfiles.emplace_back();
    m_pDoc->m_arrProfiles.back() = profile;
    AppendRow();
}

void CCorvaneView::OnFoldersEdit() {
    const int mark = m_nSelectionMark;
    if (mark < 0 || static_cast<std::size_t>(mark) >= m_pDoc->m_arrProfiles.size())
        return;
    CDlgMain dlg(DialogParent(), m_pDoc, &m_pDoc->m_arrProfiles[static_cast<std::size_t>(mark)]);
    if (dlg.ShowModal() == wxID_OK)
        UpdateRow(mark);
}

void CCorvaneView::OnFoldersDelete() {
    const int mark = m_nSelectionMark;
    if (mark < 0 || static_cast<std::size_t>(mark) >= m_pDoc->m_arrProfiles.size())
        return;
    if (!CDialogBase::AskYesNo(DialogParent(), _("Are you sure you want to delete this profile?")))
        return;
    m_pDoc->m_arrProfiles.erase(m_pDoc->m_arrProfiles.begin() + mark);
    m_pDoc->SetModifiedFlag();
    FillList();
}

template <class Editor> void CCorvaneView::EditSettings() {
    Editor dlg(DialogParent(), m_pDoc);
    if (dlg.ShowModal() == wxID_OK)
        m_pDoc->SetModifiedFlag();
}

void CCorvaneView::OnSettingsConnections() {
    // The editor marks the project modified itself; no row shows anything it can change.
    CDlgConnections dlg(DialogParent(), m_pDoc);
    dlg.ShowModal();
}

void CCorvaneView::OnCommand(wxCommandEvent& event) {
    switch (event.GetId()) {
    case ID_FOLDERS_NEW:
        OnFoldersNew();
        break;
    case ID_FOLDERS_EDIT:
        OnFoldersEdit();
        break;
    case ID_FOLDERS_DELETE:
        OnFoldersDelete();
        break;
    case ID_SETTINGS_REPORTS:
        EditSettings<CDlgReports>();
        break;
    case ID_SETTINGS_MAIL:
        EditSettings<CDlgMail>();
        break;
    case ID_SETTINGS_INTERVAL:
        EditSettings<CDlgService>();
        break;
    case ID_SETTINGS_PROXY:
        EditSettings<CDlgProxy>();
        break;
    case ID_SETTINGS_CONNECTIONS:
        OnSettingsConnections();
        break;
    default:
        event.Skip();
        break;
    }
}

void CCorvaneView::OnItemSelected(wxListEvent& event) {
    m_nSelectionMark = static_cast<int>(event.GetIndex());
    event.Skip();
}

void CCorvaneView::OnLeftDoubleClick(wxMouseEvent& event) {
    // Edits the marked row wherever the pointer is, before the list's own handling.
    OnFoldersEdit();
    event.Skip();
}

void CCorvaneView::OnRowKey(wxKeyEvent& event) {
    // The keys run the menu's own commands, with its question before a deletion.
    int command = 0;
    if (!event.HasAnyModifiers()) {
        switch (event.GetKeyCode()) {
        case WXK_RETURN:
        case WXK_NUMPAD_ENTER:
            command = ID_FOLDERS_EDIT;
            break;
        case WXK_DELETE:
        case WXK_NUMPAD_DELETE:
            command = ID_FOLDERS_DELETE;
            break;
        default:
            break;
        }
    }
    if (!command) {
        event.Skip();
        return;
    }
    wxCommandEvent run(wxEVT_MENU, command);
    run.SetEventObject(this);
    ProcessWindowEvent(run);
}

void CCorvaneView::OnContextMenu(wxContextMenuEvent& event) {
    // From the keyboard (Menu key, Shift+F10) there is no click point: the menu opens
    // below the marked row, or at the list's corner when no row is marked.
    wxPoint at = event.GetPosition();
    if (at != wxDefaultPosition) {
        at = ScreenToClient(at);
    } else {
        at = wxPoint(0, 0);
        wxRect row;
        if (m_nSelectionMark >= 0 && m_nSelectionMark < GetItemCount()) {
            EnsureVisible(m_nSelectionMark);
            if (GetItemRect(m_nSelectionMark, row))
                at = wxPoint(row.x + std::min(row.width, FromDIP(40)), row.GetBottom());
        }
    }
    std::unique_ptr<wxMenu> menu(CreateContextMenu());
    if (menu)
        PopupMenu(menu.get(), at);
}
