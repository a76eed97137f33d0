// Pictures of the program for people to look at: the artwork, the controls, the main
// window in each list style and with each menu open, the context menu, the About box,
// every settings editor and the remote dialogs, and the keyboard focus in each of those
// as it opens and at every Tab stop. Every picture belongs to a named scene of one
// table, and every scene to a group ("shell", "dialogs" or "focus");
//
//     corvane_screenshots FOLDER [SCENE|GROUP...]
//
// takes the scenes named (all of them when none is named) into FOLDER as PNG files.
// Windows are captured from the X server with ImageMagick's `import`, so the program
// wants a display of its own (scripts/screenshots*.sh give it a private Xvfb). The
// remote dialogs talk to the recording FTP component, so no server is needed.
#include "app/CAboutDialog.h"
#include "app/CCorvaneShell.h"
#include "app/CCorvaneView.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/Translation.h"
#include "controls/CAnimatedProgressCtrl.h"
#include "controls/CBitmapImageList.h"
#include "controls/CIconListBox.h"
#include "controls/CStaticLink.h"
#include "controls/ResourceArt.h"
#include "controls/ToolkitSymbol.h"
#include "dialogs/CDlgConnections.h"
#include "dialogs/CDlgMail.h"
#include "dialogs/CDlgMain.h"
#include "dialogs/CDlgMasks.h"
#include "dialogs/CDlgProxy.h"
#include "dialogs/CDlgReports.h"
#include "dialogs/CDlgService.h"
#include "platform/CoFtpDispIds.h"
#include "remote/CDlgFTP.h"
#include "remote/CDlgFTPFolder.h"
#include "standins/RecordingFtp.h"
#include "standins/RecordingMailer.h"
#include <wx/evtloop.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>
#include <wx/app.h>
#include <wx/dcmemory.h>
#include <wx/display.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/stdpaths.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

namespace {

wxString g_outDir;
bool g_ok = true;

// Dispatches every event until `done` holds or `limit` has passed.
void DispatchUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto until = std::chrono::steady_clock::now() + limit;
    wxGUIEventLoop loop;
    wxEventLoopActivator activate(&loop);
    while (!done() && std::chrono::steady_clock::now() < until)
        loop.DispatchTimeout(10);
}

// Idle time too: toolbars and menus take their enabled state from it, as in the main loop.
void Settle(int ms = 300) {
    DispatchUntil([] { return false; }, std::chrono::milliseconds(ms));
    wxTheApp->ProcessIdle();
    DispatchUntil([] { return false; }, std::chrono::milliseconds(50));
}

void Saved(const wxString& name, bool ok) {
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", name.utf8_str().data());
    g_ok = g_ok && ok;
}

// The X server's own copy of a screen area: GTK 3's screen DC can return stale pixels.
// Nothing is dispatched meanwhile, so focus and open menus stay as they are.
// Window rectangles are in logical pixels; the X server's are physical (GDK_SCALE=2).
void Capture(const wxRect& logical, const wxString& name) {
    const double scale = wxDisplay().GetScaleFactor();
    const auto px = [scale](int v) { return static_cast<int>(std::lround(v * scale)); };
    const wxString cmd =
        wxString::Format("import -window root -crop %dx%d+%d+%d +repage \"%s/%s.png\"", px(logical.width),
                         px(logical.height), px(logical.x), px(logical.y), g_outDir, name);
    // std::system waits for its own child only; wx's wait for a child was seen never to
    // return while the shell's desktop-file refresh ran its tools on another thread.
    Saved(name + ".png", std::system(cmd.utf8_str().data()) == 0);
}

// Every bitmap on a light and a dark background: at its own size, at double and
// triple scale, and magnified so that single pixels can be judged; then the icons.
void ShootArtwork() {
    const int ids[] = {IDB_IMAGES16,      IDB_IMAGES32,   IDR_MAINFRAME,  IDB_FOLDER_TREE,
                       IDB_BROWSE_FOLDER, IDB_ERROR_SIGN, IDB_DECORATION, IDB_GEARS};
    const int W = 1400;
    int H = 10;
    for (int id : ids)
        H += GetResourceBitmap(id).GetDefaultSize().y * 14 + 30;
    wxBitmap sheet(W, H, 24);
    wxMemoryDC dc(sheet);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    int y = 10;
    for (int id : ids) {
        const wxBitmapBundle b = GetResourceBitmap(id);
        const wxSize s = b.GetDefaultSize();
        dc.SetPen(*wxTRANSPARENT_PEN);
        dc.SetBrush(wxBrush(wxColour(240, 240, 240)));
        dc.DrawRectangle(0, y - 5, W, s.y * 14 + 25);
        dc.SetBrush(wxBrush(wxColour(60, 60, 60)));
        dc.DrawRectangle(10 + s.x + 10, y, s.x + 4, s.y + 4);
        dc.DrawBitmap(b.GetBitmap(s), 10, y, true);
        dc.DrawBitmap(b.GetBitmap(s), 10 + s.x + 12, y + 2, true);
        // Bundles mark larger renderings as high-resolution; drop that to see them large.
        dc.DrawBitmap(wxBitmap(b.GetBitmap(s * 2).ConvertToImage()), 10, y + s.y + 8, true);
        dc.DrawBitmap(wxBitmap(b.GetBitmap(s * 3).ConvertToImage()), 10 + s.x * 2 + 20, y + s.y + 8, true);
        const int mag = std::min(8, (W - 20) / s.x);
        wxImage big = b.GetBitmap(s).ConvertToImage();
        big.Rescale(s.x * mag, s.y * mag, wxIMAGE_QUALITY_NEAREST);
        dc.DrawBitmap(wxBitmap(big), 10, y + s.y * 5 + 16, true);
        y += s.y * 14 + 30;
    }
    dc.SelectObject(wxNullBitmap);
    Saved("artwork.png", sheet.SaveFile(g_outDir + "/artwork.png", wxBITMAP_TYPE_PNG));

    const wxIconBundle icons = GetAppIcons();
    const wxIconBundle docs = GetDocumentIcons();
    wxBitmap iconSheet(700, 280, 24);
    dc.SelectObject(iconSheet);
    dc.SetBackground(wxBrush(wxColour(230, 230, 230)));
    dc.Clear();
    int x = 10;
    for (int s : {16, 24, 32, 48, 64, 128}) {
        dc.DrawIcon(icons.GetIcon(wxSize(s, s)), x, 10);
        dc.DrawIcon(docs.GetIcon(wxSize(s, s)), x, 145);
        x += s + 12;
    }
    dc.SelectObject(wxNullBitmap);
    Saved("icons.png", iconSheet.SaveFile(g_outDir + "/icons.png", wxBITMAP_TYPE_PNG));
}

// The controls in a frame, as the dialogs show them.
void ShootControls() {
    auto* frame = new wxFrame(nullptr, wxID_ANY, "Controls", wxPoint(20, 20), wxSize(520, 420));
    auto* panel = new wxPanel(frame);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    CBitmapImageList images;
    images.CreateFromBitmap(IDB_IMAGES16, 16, 16, CBitmapImageList::kMaskColour);

    auto* row = new wxBoxSizer(wxHORIZONTAL);
    auto* list = new CIconListBox(panel, wxID_ANY, true, wxDefaultPosition, wxSize(220, 200));
    list->SetImageList(&images);
    list->AddString("ftp.example.org", IMG_SERVER);
    list->AddString("backup.example.net", IMG_SERVER);
    list->AddString("operator@example.org", IMG_PERSON);
    list->AddString("A long entry that wraps onto a second line in this list", IMG_PAGE);
    list->AddString("Mail", IMG_PAGE);
    list->SetCurSel(1);
    row->Add(list, 0, wxALL, 8);
    auto* off = new CIconListBox(panel, wxID_ANY, false, wxDefaultPosition, wxSize(220, 200));
    off->SetImageList(&images);
    for (int i = 0; i < IMAGES_COUNT; ++i)
        off->AddString(wxString::Format("Image %d", i), i);
    off->SetCurSel(2);
    off->Disable();
    row->Add(off, 0, wxALL, 8);
    sizer->Add(row);

    auto* still = new CAnimatedProgressCtrl(panel, wxID_ANY, wxDefaultPosition, wxSize(480, 18));
    still->SetPos(60);
    sizer->Add(still, 0, wxALL, 8);
    auto* full = new CAnimatedProgressCtrl(panel, wxID_ANY, wxDefaultPosition, wxSize(480, 18));
    full->SetBarColor(wxColour(0, 128, 0));
    full->SetPos(100);
    sizer->Add(full, 0, wxALL, 8);
    auto* moving = new CAnimatedProgressCtrl(panel, wxID_ANY, wxDefaultPosition, wxSize(480, 18));
    moving->SetAnimation(true);
    sizer->Add(moving, 0, wxALL, 8);

    auto* links = new wxBoxSizer(wxHORIZONTAL);
    links->Add(new CStaticLink(panel, wxID_ANY, "www.corvane.example.org"), 0, wxALL, 8);
    links->Add(new CStaticLink(panel, wxID_ANY, "visited link"), 0, wxALL, 8);
    links->Add(new wxStaticText(panel, wxID_ANY, "plain text beside"), 0, wxALL, 8);
    sizer->Add(links);
    panel->SetSizer(sizer);
    frame->Show();
    Settle(600);
    list->SetFocus();
    Settle(600);
    Capture(frame->GetScreenRect(), "controls");
    moving->SetAnimation(false);
    frame->Destroy();
    Settle(50);
}

// The program as an operator sees it: a private settings file, three projects in
// the recent-file list and four profiles in the window.
class CShellScene {
public:
    CShellScene() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "corvane-shots-XXXXXX").string();
        m_dir = ::mkdtemp(tmpl.data()) ? tmpl : std::string();
        m_shell = std::make_unique<CCorvaneShell>(m_dir + "/Corvane.conf");
        m_shell->InitInstance({"corvane"});
        for (int i = 0; i < 3; ++i) {
            const std::string path = m_dir + "/project" + std::to_string(i) + ".dix";
            CCorvaneDoc empty;
            std::string error;
            empty.OnNewDocument();
            empty.OnSaveDocument(path, error);
            m_shell->OpenDocumentFile(wxString::FromUTF8(path));
        }
        struct Row {
            const char* host;
            const char* local;
            bool enabled, download, upload;
        } const rows[] = {{"ftp.halden.example", "/home/operator/halden", true, true, true},
                          {"backup.example.net", "/home/operator/backup", false, true, false},
                          {"10.0.0.12", "/srv/exchange/outgoing/invoices", true, false, true},
                          {"mirror.example.org", "/home/operator/mirror", true, true, false}};
        auto& profiles = m_shell->GetDocument().m_arrProfiles;
        profiles.clear();
        for (const Row& r : rows) {
            CFolderProfile& p = profiles.emplace_back();
            p.m_strConnection = r.host;
            p.m_strFtpFolder = std::string("/pub/") + r.host;
            p.m_strLocalFolder = r.local;
            p.m_bEnabled = r.enabled;
            p.m_bDownload = r.download;
            p.m_bUpload = r.upload;
        }
        View()->FillList();
        Frame()->Move(0, 0);
        Settle();
    }
    ~CShellScene() {
        m_shell.reset();
        Settle(50);
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }

    CMainFrame* Frame() const { return m_shell->GetMainFrame(); }
    // Keys go to the window under the pointer on a display without a window manager.
    void PointAtFrame() const {
        const wxRect frame = Frame()->GetScreenRect();
        wxUIActionSimulator().MouseMove(frame.x + frame.width / 2, frame.y + frame.height / 2);
        Settle(100);
    }
    CCorvaneView* View() const { return Frame()->GetProfileView(); }
    CCorvaneShell& Shell() const { return *m_shell; }
    void Command(int id) const {
        wxCommandEvent event(wxEVT_MENU, id);
        Frame()->ProcessWindowEvent(event);
    }

private:
    std::string m_dir;
    std::unique_ptr<CCorvaneShell> m_shell;
};

void ShootListStyles() {
    CShellScene scene;
    scene.View()->SetItemState(2, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    const std::pair<int, const char*> styles[] = {{ID_VIEW_DETAILS, "main-details"},
                                                  {ID_VIEW_LARGEICON, "main-large-icons"},
                                                  {ID_VIEW_SMALLICON, "main-small-icons"},
                                                  {ID_VIEW_LIST, "main-list"}};
    for (const auto& [id, name] : styles) {
        scene.Command(id);
        Settle();
        Capture(scene.Frame()->GetScreenRect(), name);
    }
}

void ShootMenus() {
    CShellScene scene;
    scene.View()->SetItemState(1, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    scene.PointAtFrame();
    const wxRect frame = scene.Frame()->GetScreenRect();
    wxUIActionSimulator sim;
    sim.Char(WXK_F10);
    for (const char* name : {"menu-file", "menu-view", "menu-folders", "menu-settings", "menu-help"}) {
        Settle();
        Capture(frame, name);
        sim.Char(WXK_RIGHT);
    }
    sim.Char(WXK_ESCAPE);
    Settle(100);
}

void ShootContextMenu() {
    CShellScene scene;
    wxRect row;
    scene.View()->GetItemRect(2, row);
    // The menu runs its own loop: the picture is taken from a timer inside it.
    wxTimer timer;
    timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        Settle();
        Capture(scene.Frame()->GetScreenRect(), "context-menu");
        wxUIActionSimulator().Char(WXK_ESCAPE);
    });
    timer.StartOnce(400);
    wxUIActionSimulator sim;
    sim.MouseMove(scene.View()->ClientToScreen(row.GetPosition() + wxPoint(40, row.height / 2)));
    Settle(100);
    sim.MouseClick(wxMOUSE_BTN_RIGHT);
    Settle(1200);
}

// A dialog in its own modal loop, as the program shows it; `prepare` runs inside the loop.
void ShootModal(wxDialog& dlg, const wxString& name, const std::function<void()>& prepare = {}) {
    dlg.Move(40, 40);
    dlg.CallAfter([&] {
        // A window manager makes a new dialog the active window; on a display without
        // one the keyboard goes to the window under the pointer.
        wxUIActionSimulator().MouseMove(dlg.GetScreenPosition() + wxPoint(dlg.GetSize().x / 2, 2));
        if (prepare)
            prepare();
        Settle();
        Capture(dlg.GetScreenRect(), name);
        dlg.EndModal(wxID_CANCEL);
    });
    dlg.ShowModal();
}

// A message box the program asks with, photographed while it asks (the whole screen: the
// toolkit places and draws it itself), then answered with Cancel.
class CMessageBoxShot : public wxModalDialogHook {
public:
    explicit CMessageBoxShot(wxString name) : m_name(std::move(name)) {
        Register();
        m_timer.Bind(wxEVT_TIMER, [this](wxTimerEvent&) {
            const wxSize screen = wxGetDisplaySize();
            Capture(wxRect(0, 0, screen.x, screen.y), m_name);
            using Respond = void (*)(void*, int);
            static const auto respond = corvane::ToolkitSymbol<Respond>("gtk_dialog_response");
            constexpr int kResponseCancel = -6;
            if (m_pBox && m_pBox->GetHandle() && respond)
                respond(m_pBox->GetHandle(), kResponseCancel);
        });
    }
    ~CMessageBoxShot() override { Unregister(); }

protected:
    int Enter(wxDialog* dlg) override {
        if (!dynamic_cast<wxMessageDialog*>(dlg))
            return wxID_NONE;
        m_pBox = dlg;
        m_timer.StartOnce(500);
        return wxID_NONE;
    }
    void Exit(wxDialog*) override { m_pBox = nullptr; }

private:
    wxString m_name;
    wxTimer m_timer;
    wxDialog* m_pBox = nullptr;
};

// The questions about a project file another program wrote meanwhile (on Save and on
// coming back to the window), and a mail failure quoting a relay in its own language.
void ShootMessageBoxes() {
    {
        CShellScene scene;
        CCorvaneDoc& doc = scene.Shell().GetDocument();
        CCorvaneDoc other;
        std::string error;
        other.OnOpenDocument(doc.GetPathName(), error);
        other.m_arrProfiles.emplace_back();
        other.OnSaveDocument(doc.GetPathName(), error);
        doc.SetModifiedFlag();
        {
            CMessageBoxShot shot("question-replace-changed-file");
            scene.Command(wxID_SAVE);
        }
        CMessageBoxShot shot("question-read-changed-file-again");
        for (const bool active : {false, true}) {
            wxActivateEvent event(wxEVT_ACTIVATE, active);
            scene.Frame()->ProcessWindowEvent(event);
        }
        Settle(900);
    }
    mailtest::CRecordingMailer mailer;
    mailer.failure = "The mail server \"mail.example.com\" refused the message. The server said: 554 5.7.1 "
                     "\xD0\xA1\xD0\xBE\xD0\xBE\xD0\xB1\xD1\x89\xD0\xB5\xD0\xBD\xD0\xB8\xD0\xB5 "
                     "\xD0\xBE\xD1\x82\xD0\xBA\xD0\xBB\xD0\xBE\xD0\xBD\xD0\xB5\xD0\xBD\xD0\xBE";
    CCorvaneDoc doc;
    doc.m_mail.m_arrRecipients = {"ops@example.com"};
    CDlgMail dlg(nullptr, &doc);
    CMessageBoxShot shot("mail-failure");
    dlg.CallAfter([&] {
        wxCommandEvent send(wxEVT_BUTTON, CDlgMail::kIdSend);
        dlg.ProcessWindowEvent(send);
        dlg.EndModal(wxID_CANCEL);
    });
    dlg.ShowModal();
}

void ShootAbout() {
    CShellScene scene;
    CAboutDialog dlg(scene.Frame());
    ShootModal(dlg, "about");
}

// --- The settings editors, each on a project with something to show -------------------

void AddConnections(CCorvaneDoc& doc, std::initializer_list<const char*> hosts) {
    for (const char* host : hosts)
        doc.m_arrConnections.emplace_back().m_strHost = host;
}

void TourFocus(wxDialog& dlg, const wxString& name, const std::function<void()>& before = {});

// An editor of the project's settings, on a project `fill` gives something to show; as
// it opens, or (`tour`) at every Tab stop.
template <class Dialog>
void ShootEditor(const char* name, void (*fill)(CCorvaneDoc&) = nullptr, bool tour = false) {
    CCorvaneDoc doc;
    if (fill)
        fill(doc);
    Dialog dlg(nullptr, &doc);
    if (tour)
        TourFocus(dlg, name);
    else
        ShootModal(dlg, name);
}

void ShootMasks() {
    std::vector<CFileMask> masks{{"*.tmp", true, false}, {"~*", true, true}, {"Thumbs.db", false, true}};
    CDlgMasks dlg(nullptr, &masks);
    ShootModal(dlg, "masks");
}

// Both channels: the mail channel shows first, the log channel is picked as a click does.
void ShootReports() {
    CCorvaneDoc doc;
    {
        CDlgReports dlg(nullptr, &doc);
        ShootModal(dlg, "reports");
    }
    CDlgReports dlg(nullptr, &doc);
    ShootModal(dlg, "reports-log", [&dlg] {
        auto* list = dynamic_cast<CIconListBox*>(dlg.FindWindow(CDlgReports::kIdChannels));
        list->SetCurSel(CDlgReports::channelLog);
        wxCommandEvent ev(wxEVT_LISTBOX, CDlgReports::kIdChannels);
        ev.SetEventObject(list);
        list->ProcessWindowEvent(ev);
    });
}

void ShootMail() {
    ShootEditor<CDlgMail>("mail", [](CCorvaneDoc& doc) {
        doc.m_mail.m_arrRecipients = {"ops@example.com", "backup-admin@example.org"};
    });
    // After a test message went out: the line under the bar says so.
    mailtest::CRecordingMailer mailer;
    CCorvaneDoc doc;
    doc.m_mail.m_arrRecipients = {"ops@example.com", "backup-admin@example.org"};
    CDlgMail dlg(nullptr, &doc);
    ShootModal(dlg, "mail-sent", [&dlg] {
        wxCommandEvent send(wxEVT_BUTTON, CDlgMail::kIdSend);
        dlg.ProcessWindowEvent(send);
    });
}

void ShootConnections() {
    ShootEditor<CDlgConnections>("connections", [](CCorvaneDoc& doc) {
        AddConnections(doc, {"ftp.example.com", "backup.example.org", "10.0.0.7"});
    });
}

// A profile with its connection, and a new one on a project without connections (the notice).
void ShootFolderProfile() {
    CCorvaneDoc doc;
    AddConnections(doc, {"ftp.example.com", "127.0.0.1"});
    CFolderProfile profile;
    profile.m_strLocalFolder = "/home/operator/Documents/outgoing";
    profile.m_strFtpFolder = "/pub/incoming";
    profile.m_bUpload = true;
    profile.m_bUseMasks = true;
    {
        CDlgMain dlg(nullptr, &doc, &profile);
        ShootModal(dlg, "folder-profile");
    }
    CCorvaneDoc empty;
    CFolderProfile fresh;
    CDlgMain dlg(nullptr, &empty, &fresh);
    ShootModal(dlg, "folder-profile-no-connection");
}

// --- The remote dialogs, against the recording FTP component ----------------------------

// A server with a few folders, names in UTF-8 and in a legacy code page among them.
class CRemoteScene {
public:
    CRemoteScene() {
        m_state->folders["/"] = {{"pub", 2}, {"incoming", 2}, {"readme.txt", 1}, {"Caf\xc3\xa9", 2}};
        m_state->folders["/pub"] = {{"data", 2},
                                    {"docs", 2},
                                    {kDocuments, 2},
                                    {"Stra\xdf"
                                     "e",
                                     2}};
        m_state->folders["/pub/data"] = {{"2023", 2}, {"2024", 2}, {"values.csv", 1}};
        m_state->folders["/pub/docs"] = {};
        m_state->folders["/pub/data/2023"] = {};
        m_state->folders["/pub/data/2024"] = {};
        m_conn.m_strHost = "ftp.halden.example";
        m_conn.m_strUser = "operator";
        m_conn.m_strPassword = "secret";
        m_conn.m_bPassive = true;
    }

    // "Документы": a folder the server names in Cyrillic and then refuses to list.
    static constexpr const char* kDocuments =
        "\xd0\x94\xd0\xbe\xd0\xba\xd1\x83\xd0\xbc\xd0\xb5\xd0\xbd\xd1\x82\xd1\x8b";

    std::shared_ptr<testftp::FakeFtpState> m_state = std::make_shared<testftp::FakeFtpState>();
    testftp::CRecordingFtpRegistration m_registration{m_state};
    CCorvaneDoc m_doc;
    CConnectionInfo m_conn;
};

// The connection dialog, the "Connecting ..." popup over it and the dialog once connected.
void ShootConnection() {
    CRemoteScene scene;
    // Keeps the attempt running long enough to photograph the popup.
    scene.m_state->onConnect = [] { std::this_thread::sleep_for(std::chrono::milliseconds(2500)); };
    CDlgFTP dlg(nullptr, &scene.m_doc);
    dlg.m_pConnection = &scene.m_conn;
    dlg.Move(40, 40);
    dlg.Show();
    Settle(500);
    Capture(dlg.GetScreenRect(), "ftp-connection");

    wxTimer shot;
    shot.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        // The popup is a window of its own and may be wider than the dialog it covers.
        wxRect area = dlg.GetScreenRect();
        for (wxWindow* window : wxTopLevelWindows)
            if (window->IsShown())
                area.Union(window->GetScreenRect());
        area.Inflate(20);
        Capture(area, "ftp-connection-popup");
    });
    shot.StartOnce(1500);
    wxCommandEvent connect(wxEVT_BUTTON, CDlgFTP::IDC_CONNECT);
    connect.SetEventObject(dlg.FindWindow(CDlgFTP::IDC_CONNECT));
    dlg.FindWindow(CDlgFTP::IDC_CONNECT)->ProcessWindowEvent(connect);
    Settle(500);
    Capture(dlg.GetScreenRect(), "ftp-connection-connected");
}

// The folder browser while it connects, with the tree open at the initial folder, with a
// folder that cannot be listed (the server's words in the status line) and after a refused login.
void ShootFolderBrowser() {
    CRemoteScene scene;
    const auto browse = [&scene](const std::string& path, const wxString& name, bool showConnecting) {
        CDlgFTPFolder dlg(nullptr, &scene.m_doc);
        dlg.m_pConnection = &scene.m_conn;
        dlg.m_strPath = path;
        dlg.Move(40, 40);
        dlg.Show();
        if (showConnecting) {
            Settle(100);
            Capture(dlg.GetScreenRect(), "ftp-folder-connecting");
        }
        DispatchUntil([&dlg] { return dlg.HasStarted(); }, std::chrono::seconds(10));
        Settle(500);
        Capture(dlg.GetScreenRect(), name);
    };
    browse("/pub/data/2024", "ftp-folder", true);
    scene.m_state->failingFolders.insert(std::string("/pub/") + CRemoteScene::kDocuments);
    browse(std::string("/pub/") + CRemoteScene::kDocuments + "/2024", "ftp-folder-unlisted", false);
    scene.m_state->failures[coftp::dispidLogin] = "530 Login incorrect.";
    browse("/pub", "ftp-folder-failed", false);
}

// --- Keyboard focus: where each editor opens it and every stop Tab moves it to ---------

wxString Describe(wxWindow* w) {
    if (!w)
        return "(none)";
    const wxString label = w->GetLabel().empty() ? w->GetName() : w->GetLabel();
    return wxString::Format("%s id=%d \"%s\"", w->GetClassInfo()->GetClassName(), w->GetId(), label);
}

// The dialog as it opens (NAME-focus-0), then after each Tab until the focus is back
// where it began (NAME-focus-1, ...); the owner of the focus is printed for each.
void TourFocus(wxDialog& dlg, const wxString& name, const std::function<void()>& before) {
    ShootModal(dlg, name + "-focus-end", [&dlg, name, before] {
        if (before)
            before();
        Settle();
        wxWindow* const first = wxWindow::FindFocus();
        wxUIActionSimulator sim;
        for (int i = 0; i <= 30; ++i) {
            if (i > 0) {
                sim.Char(WXK_TAB);
                Settle(200);
            }
            wxWindow* const now = wxWindow::FindFocus();
            std::printf("%s stop %d: %s\n", name.utf8_str().data(), i, Describe(now).utf8_str().data());
            Capture(dlg.GetScreenRect(), wxString::Format("%s-focus-%d", name, i));
            if (i > 0 && now == first)
                break;
        }
    });
}

void TourProfile(const char* name, bool withConnection) {
    CCorvaneDoc doc;
    if (withConnection)
        AddConnections(doc, {"ftp.example.com"});
    CFolderProfile profile;
    profile.m_bUseMasks = true;
    CDlgMain dlg(nullptr, &doc, &profile);
    TourFocus(dlg, name);
}

void TourConnection(const char* name, bool hostLocked) {
    CRemoteScene scene;
    CDlgFTP dlg(nullptr, &scene.m_doc);
    dlg.m_pConnection = &scene.m_conn;
    dlg.SetHostLocked(hostLocked);
    TourFocus(dlg, name);
}

// Every editor and remote dialog; the mail account without recipients (an empty list).
void TourFocusAll() {
    ShootEditor<CDlgProxy>("proxy", nullptr, true);
    ShootEditor<CDlgService>("interval", nullptr, true);
    {
        std::vector<CFileMask> masks{{"*.tmp", true, false}};
        CDlgMasks dlg(nullptr, &masks);
        TourFocus(dlg, "masks");
    }
    ShootEditor<CDlgReports>("reports", nullptr, true);
    ShootEditor<CDlgMail>("mail", nullptr, true);
    ShootEditor<CDlgConnections>(
        "connections", [](CCorvaneDoc& doc) { AddConnections(doc, {"ftp.example.com"}); }, true);
    TourProfile("folder-profile", true);
    TourProfile("folder-profile-no-connection", false);
    TourConnection("ftp-connection", false);
    TourConnection("ftp-connection-locked", true);
    CRemoteScene scene;
    CDlgFTPFolder dlg(nullptr, &scene.m_doc);
    dlg.m_pConnection = &scene.m_conn;
    dlg.m_strPath = "/pub/data";
    // Seen once connected: the focus has come back from the blocking connect.
    TourFocus(dlg, "ftp-folder",
              [&dlg] { DispatchUntil([&dlg] { return dlg.HasStarted(); }, std::chrono::seconds(10)); });
}

// The profile editor opened from the main window, by a command after a click there and
// after a key press there (GTK shows a window's focus once the keyboard is used in it).
void ShootOpenedFromFrame() {
    for (bool keyboard : {false, true}) {
        CShellScene scene;
        scene.View()->SetItemState(1, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
        scene.PointAtFrame();
        wxUIActionSimulator sim;
        if (keyboard) {
            scene.View()->SetFocus();
            sim.Char(WXK_DOWN);
            Settle(100);
        }
        const wxString name = keyboard ? "focus-from-main-keys" : "focus-from-main-mouse";
        wxTimer timer;
        timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
            Settle();
            for (wxWindow* w : wxTopLevelWindows)
                if (auto* d = dynamic_cast<wxDialog*>(w); d && d->IsModal()) {
                    sim.MouseMove(d->GetScreenPosition() + wxPoint(20, 5));
                    Settle();
                    std::printf("%s: %s\n", name.utf8_str().data(),
                                Describe(wxWindow::FindFocus()).utf8_str().data());
                    Capture(d->GetScreenRect(), name);
                    d->EndModal(wxID_CANCEL);
                }
        });
        timer.StartOnce(400);
        scene.Command(ID_FOLDERS_EDIT);
        Settle(100);
    }
}

struct Scene {
    const char* name;
    const char* group;
    void (*shoot)();
};

const Scene kScenes[] = {
    {"artwork", "shell", ShootArtwork},
    {"controls", "shell", ShootControls},
    {"list-styles", "shell", ShootListStyles},
    {"menus", "shell", ShootMenus},
    {"context-menu", "shell", ShootContextMenu},
    {"about", "shell", ShootAbout},
    {"message-boxes", "shell", ShootMessageBoxes},
    {"proxy", "dialogs", [] { ShootEditor<CDlgProxy>("proxy"); }},
    {"interval", "dialogs", [] { ShootEditor<CDlgService>("interval"); }},
    {"masks", "dialogs", ShootMasks},
    {"reports", "dialogs", ShootReports},
    {"mail", "dialogs", ShootMail},
    {"connections", "dialogs", ShootConnections},
    {"folder-profile", "dialogs", ShootFolderProfile},
    {"ftp-connection", "dialogs", ShootConnection},
    {"ftp-folder", "dialogs", ShootFolderBrowser},
    {"focus-tour", "focus", TourFocusAll},
    {"focus-from-main", "focus", ShootOpenedFromFrame},
};

class CScreenshotApp : public wxApp {
public:
    // In the environment's language, as the program: LANG=de_DE.UTF-8 takes German pictures.
    bool OnInit() override {
        corvane::UseEnvironmentLanguage(wxStandardPaths::Get().GetExecutablePath().utf8_string());
        return true;
    }
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr,
                     "usage: %s FOLDER [SCENE|GROUP...]\ngroups: shell dialogs focus\nscenes:", argv[0]);
        for (const Scene& s : kScenes)
            std::fprintf(stderr, " %s", s.name);
        std::fprintf(stderr, "\n");
        return 2;
    }
    std::vector<std::string> wanted(argv + 2, argv + argc);
    const auto isWanted = [&wanted](const Scene& s) {
        return wanted.empty() || std::find(wanted.begin(), wanted.end(), s.name) != wanted.end() ||
               std::find(wanted.begin(), wanted.end(), s.group) != wanted.end();
    };
    for (const std::string& name : wanted)
        if (std::none_of(std::begin(kScenes), std::end(kScenes),
                         [&](const Scene& s) { return name == s.name || name == s.group; })) {
            std::fprintf(stderr, "no scene or group \"%s\"\n", name.c_str());
            return 2;
        }
    wxApp::SetInstance(new CScreenshotApp);
    int wxArgc = 1;
    if (!wxEntryStart(wxArgc, argv) || !wxTheApp->CallOnInit())
        return 2;
    // A log message or a failed check would otherwise open a modal box and stop the run.
    delete wxLog::SetActiveTarget(new wxLogStderr);
    wxSetAssertHandler(
        [](const wxString& file, int line, const wxString&, const wxString& cond, const wxString& msg) {
            std::fprintf(stderr, "%s:%d: %s %s\n", file.utf8_str().data(), line, cond.utf8_str().data(),
                         msg.utf8_str().data());
            g_ok = false;
        });
    g_outDir = wxString::FromUTF8(argv[1]);
    for (const Scene& s : kScenes)
        if (isWanted(s))
            s.shoot();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return g_ok ? 0 : 1;
}
