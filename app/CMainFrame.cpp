#include "app/CMainFrame.h"

#include "app/CCorvaneView.h"
#include "app/CommandIds.h"
#include "app/MenuImages.h"
#include "app/StringTable.h"
#include "controls/ResourceArt.h"

#include <wx/aui/auibar.h>
#include <wx/display.h>
#include <wx/menu.h>
#include <wx/statusbr.h>
#include <wx/utils.h>

#include <string>
#include <vector>

namespace {

// Toolbar slots in order; 0 marks a separator.
constexpr int kToolbarLayout[] = {
    wxID_NEW,
    wxID_OPEN,
    wxID_SAVE,
    0,
    ID_FOLDERS_NEW,
    ID_FOLDERS_DELETE,
    ID_FOLDERS_EDIT,
    0,
    ID_SETTINGS_CONNECTIONS,
    ID_SETTINGS_REPORTS,
    ID_SETTINGS_MAIL,
    ID_SETTINGS_PROXY,
    ID_SETTINGS_INTERVAL,
    0,
    ID_VIEW_LARGEICON,
    ID_VIEW_SMALLICON,
    ID_VIEW_LIST,
    ID_VIEW_DETAILS,
    wxID_ABOUT,
};

// The toolbar image of a command, counted among the buttons (separators skipped).
int ToolImageIndex(int id) {
    int index = 0;
    for (int slot : kToolbarLayout) {
        if (slot == 0)
            continue;
        if (slot == id)
            return index;
        ++index;
    }
    return -1;
}

bool IsListStyleButton(int id) {
    return id >= ID_VIEW_SMALLICON && id <= ID_VIEW_DETAILS;
}

// The window's own icon at the sizes a window manager uses for it.
wxIconBundle FrameIcons() {
    wxIconBundle icons;
    const std::string svg = GetSvgResource("corvane.svg");
    if (svg.empty())
        return icons;
    const wxBitmapBundle art = wxBitmapBundle::FromSVG(svg.data(), wxSize(32, 32));
    for (int size : {16, 32, 48}) {
        wxIcon icon;
        icon.CopyFromBitmap(wxBitmap(art.GetBitmap(wxSize(size, size)).ConvertToImage()));
        icons.AddIcon(icon);
    }
    return icons;
}

wxMenuItem* MakeItem(const std::vector<wxBitmapBundle>& images, wxMenu* menu, int id, const char* label,
                     wxItemKind kind = wxITEM_NORMAL) {
    auto* item = new wxMenuItem(menu, id, wxString::FromUTF8(label), corvane::GetCommandPrompt(id), kind);
    // GTK takes an item's image only before the item joins its menu.
    if (const int image = ToolImageIndex(id); image >= 0)
        item->SetBitmap(images.at(static_cast<std::size_t>(image)));
    menu->Append(item);
    return item;
}

// Indicator panes, left to right after the message pane.
const char* const kIndicatorTexts[3] = {"CAP", "NUM", "SCRL"};

// The View menu's list styles.
struct ListStyleCommand {
    int id;
    long style;
};
constexpr ListStyleCommand kListStyles[] = {
    {ID_VIEW_SMALLICON, wxLC_SMALL_ICON},
    {ID_VIEW_LARGEICON, wxLC_ICON},
    {ID_VIEW_LIST, wxLC_LIST},
    {ID_VIEW_DETAILS, wxLC_REPORT},
};

// The list style of command `id`; 0 for a command that sets none.
long ListStyleOf(int id) {
    for (const ListStyleCommand& c : kListStyles)
        if (c.id == id)
            return c.style;
    return 0;
}
const wxKeyCode kIndicatorKeys[3] = {WXK_CAPITAL, WXK_NUMLOCK, WXK_SCROLL};

} // namespace

CMainFrame::CMainFrame(wxEvtHandler* pAppHandler, CCorvaneDoc* pDoc, IProfileStore* pStore)
    : m_pAppHandler(pAppHandler) {
    // A new window takes three quarters of the screen, as top-level windows
    // without a remembered size traditionally do.
    const wxRect area = wxDisplay(0u).GetClientArea();
    Create(nullptr, wxID_ANY, corvane::kAppTitle, wxDefaultPosition,
           wxSize(area.width * 3 / 4, area.height * 3 / 4));

    // Bound first so that it runs last: whatever the frame does not handle
    // goes to the view, then to the application.
    Bind(wxEVT_MENU, &CMainFrame::OnRouteCommand, this);

    // Read once, shared by the menu and the toolbar: each bundle keeps its
    // rendering, so every picture is drawn only once.
    for (int i = 0; i < TOOLBAR_IMAGES_COUNT; ++i)
        m_toolImages.push_back(GetStripImage(IDR_MAINFRAME, i));
    SetMenuBar(CreateMainMenu());
    m_mgr.SetManagedWindow(this);
    CreateDockToolBar();
    CreateStatusPanes();

    m_pView = new CCorvaneView(this, pDoc, pStore);
    m_mgr.AddPane(m_pView, wxAuiPaneInfo().Name("view").CenterPane());
    m_mgr.Update();
    // The menu and status bars' heights are known once the window is on screen.
    Bind(wxEVT_SHOW, [this](wxShowEvent& event) {
        event.Skip();
        if (event.IsShown() && !GetMinSize().IsFullySpecified())
            SetMinSize(GetSize() - GetClientSize() + MinimumClientSize());
    });

    Bind(wxEVT_MENU, &CMainFrame::OnListStyle, this, ID_VIEW_SMALLICON, ID_VIEW_BYNAME);
    Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateListStyle, this, ID_VIEW_SMALLICON, ID_VIEW_BYNAME);
    Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateProfileCommand, this, ID_FOLDERS_DELETE);
    Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateProfileCommand, this, ID_FOLDERS_EDIT);
    Bind(wxEVT_MENU, &CMainFrame::OnViewToolBar, this, ID_VIEW_TOOLBAR);
    Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateViewToolBar, this, ID_VIEW_TOOLBAR);
    Bind(wxEVT_MENU, &CMainFrame::OnViewStatusBar, this, ID_VIEW_STATUS_BAR);
    Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateViewStatusBar, this, ID_VIEW_STATUS_BAR);
    Bind(wxEVT_IDLE, &CMainFrame::OnIdle, this);
}

wxSize CMainFrame::MinimumClientSize() const {
    // The toolbar whole, and under it the list's header and one row (the menu and status
    // bars lie outside the client area).
    const wxSize tools = m_pToolBar->GetBestSize();
    const int headerAndRow = 2 * (m_pView->GetCharHeight() + FromDIP(12));
    return wxSize(tools.x + FromDIP(8), tools.y + headerAndRow);
}

CMainFrame::~CMainFrame() {
    m_mgr.UnInit();
}

wxMenuBar* CMainFrame::CreateMainMenu() {
    auto* file = new wxMenu;
    MakeItem(m_toolImages, file, wxID_NEW, _("&New\tCtrl+N"));
    MakeItem(m_toolImages, file, wxID_OPEN, _("&Open...\tCtrl+O"));
    MakeItem(m_toolImages, file, wxID_SAVE, _("&Save\tCtrl+S"));
    file->AppendSeparator();
    MakeItem(m_toolImages, file, wxID_FILE1, _("Recent File"))->Enable(false);
    file->AppendSeparator();
    MakeItem(m_toolImages, file, ID_APP_EXIT, _("E&xit"));

    auto* view = new wxMenu;
    MakeItem(m_toolImages, view, ID_VIEW_TOOLBAR, _("&Toolbar"), wxITEM_CHECK);
    MakeItem(m_toolImages, view, ID_VIEW_STATUS_BAR, _("&Status Bar"), wxITEM_CHECK);

    auto* folders = new wxMenu;
    MakeItem(m_toolImages, folders, ID_FOLDERS_NEW, _("&New"));
    MakeItem(m_toolImages, folders, ID_FOLDERS_DELETE, _("&Delete"));
    MakeItem(m_toolImages, folders, ID_FOLDERS_EDIT, _("Edit"));

    auto* settings = new wxMenu;
    MakeItem(m_toolImages, settings, ID_SETTINGS_REPORTS, _("Reports"));
    MakeItem(m_toolImages, settings, ID_SETTINGS_MAIL, _("Mail Account"));
    MakeItem(m_toolImages, settings, ID_SETTINGS_CONNECTIONS, _("FTP Connections"));
    MakeItem(m_toolImages, settings, ID_SETTINGS_INTERVAL, _("Interval Configuration"));
    MakeItem(m_toolImages, settings, ID_SETTINGS_PROXY, _("Proxy Firewall"));

    auto* help = new wxMenu;
    MakeItem(m_toolImages, help, wxID_ABOUT, _("&About Corvane..."));

    auto* bar = new wxMenuBar;
    bar->Append(file, _("&File"));
    bar->Append(view, _("&View"));
    // The list view shows this popup as its context menu: it must stay third.
    bar->Append(folders, _("&Folders"));
    bar->Append(settings, _("&Settings"));
    bar->Append(help, _("&Help"));
    for (wxMenu* menu : {file, view, folders, settings, help})
        corvane::ShowMenuImages(menu);
    return bar;
}

void CMainFrame::CreateDockToolBar() {
    m_pToolBar = new wxAuiToolBar(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxAUI_TB_DEFAULT_STYLE);
    int image = 0;
    for (int id : kToolbarLayout) {
        if (id == 0) {
            m_pToolBar->AddSeparator();
            continue;
        }
        m_pToolBar->AddTool(id, wxEmptyString, m_toolImages.at(static_cast<std::size_t>(image++)),
                            corvane::GetCommandTip(id), IsListStyleButton(id) ? wxITEM_RADIO : wxITEM_NORMAL);
        m_pToolBar->SetToolLongHelp(id, corvane::GetCommandPrompt(id));
    }
    m_pToolBar->Realize();
    m_mgr.AddPane(m_pToolBar, wxAuiPaneInfo().Name("toolbar").ToolbarPane().Top().Gripper());
    m_pToolBar->Bind(wxEVT_MOTION, &CMainFrame::OnToolBarMotion, this);
    m_pToolBar->Bind(wxEVT_LEAVE_WINDOW, &CMainFrame::OnToolBarLeave, this);
}

void CMainFrame::CreateStatusPanes() {
    wxStatusBar* bar = wxFrame::CreateStatusBar(4);
    int widths[4] = {-1, 0, 0, 0};
    for (int i = 0; i < 3; ++i)
        widths[i + 1] = bar->GetTextExtent(kIndicatorTexts[i]).x + bar->FromDIP(12);
    bar->SetStatusWidths(4, widths);
    bar->SetStatusText(wxGetTranslation(corvane::kIdleText), 0);
    // The indicators start blank; the first idle moment reads the keyboard.
}

bool CMainFrame::IsToolBarShown() {
    return m_mgr.GetPane(m_pToolBar).IsShown();
}

void CMainFrame::ShowToolBar(bool show) {
    m_mgr.GetPane(m_pToolBar).Show(show);
    m_mgr.Update();
}

void CMainFrame::ShowStatusBar(bool show) {
    if (wxStatusBar* bar = GetStatusBar()) {
        bar->Show(show);
        SendSizeEvent();
    }
}

void CMainFrame::UpdateKeyIndicators() {
    wxStatusBar* bar = GetStatusBar();
    if (!bar)
        return;
    for (int i = 0; i < 3; ++i) {
        const wxString text = wxGetKeyState(kIndicatorKeys[i]) ? kIndicatorTexts[i] : "";
        if (text != m_strIndicators[i]) {
            m_strIndicators[i] = text;
            bar->SetStatusText(text, i + 1);
        }
    }
}

void CMainFrame::OnRouteCommand(wxCommandEvent& event) {
    // Commands from the view's own context menu have been offered to it already.
    if (m_pView && event.GetEventObject() != m_pView &&
        m_pView->GetEventHandler()->ProcessEventLocally(event))
        return;
    if (m_pAppHandler && m_pAppHandler->ProcessEventLocally(event))
        return;
    event.Skip();
}

void CMainFrame::OnListStyle(wxCommandEvent& event) {
    if (!m_pView)
        return;
    if (event.GetId() == ID_VIEW_LINEUP)
        m_pView->Arrange(wxLIST_ALIGN_SNAP_TO_GRID);
    else if (const long style = ListStyleOf(event.GetId()))
        m_pView->SetViewType(style);
}

void CMainFrame::OnUpdateListStyle(wxUpdateUIEvent& event) {
    if (!m_pView) {
        event.Enable(false);
        return;
    }
    const long type = m_pView->GetViewType();
    if (event.GetId() == ID_VIEW_LINEUP) {
        event.Enable(type == wxLC_ICON || type == wxLC_SMALL_ICON);
        return;
    }
    event.Enable(true);
    if (const long style = ListStyleOf(event.GetId()))
        event.Check(type == style);
}

void CMainFrame::OnUpdateProfileCommand(wxUpdateUIEvent& event) {
    event.Enable(m_pView && m_pView->GetSelectionMark() != -1);
}

void CMainFrame::OnViewToolBar(wxCommandEvent&) {
    ShowToolBar(!IsToolBarShown());
}

void CMainFrame::OnUpdateViewToolBar(wxUpdateUIEvent& event) {
    event.Check(IsToolBarShown());
}

void CMainFrame::OnViewStatusBar(wxCommandEvent&) {
    ShowStatusBar(!(GetStatusBar() && GetStatusBar()->IsShown()));
}

void CMainFrame::OnUpdateViewStatusBar(wxUpdateUIEvent& event) {
    event.Check(GetStatusBar() && GetStatusBar()->IsShown());
}

void CMainFrame::OnIdle(wxIdleEvent& event) {
    // The window manager shows the icon whenever it comes; the window does not wait for it.
    if (!m_bIconsSet) {
        m_bIconsSet = true;
        SetIcons(FrameIcons());
    }
    UpdateKeyIndicators();
    event.Skip();
}

void CMainFrame::OnToolBarMotion(wxMouseEvent& event) {
    const wxAuiToolBarItem* item = m_pToolBar->FindToolByPosition(event.GetX(), event.GetY());
    const int id = item && item->GetKind() != wxITEM_SEPARATOR ? item->GetId() : wxID_NONE;
    if (id != m_nHoverTool) {
        m_nHoverTool = id;
        SetStatusText(id == wxID_NONE ? wxGetTranslation(corvane::kIdleText) : corvane::GetCommandPrompt(id),
                      0);
    }
    event.Skip();
}

void CMainFrame::OnToolBarLeave(wxMouseEvent& event) {
    if (m_nHoverTool != wxID_NONE) {
        m_nHoverTool = wxID_NONE;
        SetStatusText(wxGetTranslation(corvane::kIdleText), 0);
    }
    event.Skip();
}
