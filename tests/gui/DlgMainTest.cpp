#include "../common/RemoteTestSupport.h"

#include "controls/CFolderDialog.h"
#include "controls/ToolkitSymbol.h"
#include "dialogs/CDlgMain.h"
#include "dialogs/CDlgMasks.h"
#include "remote/CDlgFTP.h"
#include "remote/CDlgFTPFolder.h"

#include <wx/dirdlg.h>
#include <wx/filename.h>
#include <wx/stattext.h>

using namespace dlgtest;

namespace {

CConnectionInfo Connection(const std::string& host) {
    CConnectionInfo c;
    c.m_strHost = host;
    return c;
}

CExpectDialog<wxDirDialog> PickFolder(const wxString& path, int answer) {
    return CExpectDialog<wxDirDialog>([=](wxDirDialog* d) {
        EXPECT_EQ(d->GetMessage(), "Select folder");
        d->SetPath(path);
        return answer;
    });
}

class DlgMainTest : public DialogTest {
protected:
    void SetUp() override {
        m_doc.m_arrConnections = {Connection("127.0.0.10"), Connection("ftp.example.com"),
                                  Connection("127.0.0.1"), Connection("10.0.0.1")};
    }
    static wxChoice* Connections(wxDialog& dlg) { return Ctrl<wxChoice>(&dlg, CDlgMain::kIdConnection); }
    static wxString Chosen(wxDialog& dlg) { return Connections(dlg)->GetStringSelection(); }
    static wxString Text(wxDialog& dlg, int id) { return Ctrl<wxTextCtrl>(&dlg, id)->GetValue(); }
    CCorvaneDoc m_doc;
};

TEST_F(DlgMainTest, NewProfileOpensWithDefaultsAndOkWritesEntryTextAndSortedPosition) {
    CFolderProfile profile;
    const std::string stateFile = profile.m_strStateFile;
    CDlgMain dlg(nullptr, &m_doc, &profile);
    // What the dialog shows of the record's defaults comes back in the bytes below.
    RunModal(dlg, [&] {
        EXPECT_FALSE(IsOkEnabled(&dlg));
        EXPECT_FALSE(dlg.FindWindow(CDlgMain::kIdEditMasks)->IsEnabled());
        EXPECT_TRUE(Ctrl<wxStaticText>(&dlg, CDlgMain::kIdNotice)->GetLabel().empty());
        // Sorted list; the exact host wins over one it is a prefix of.
        ASSERT_EQ(Connections(dlg)->GetCount(), 4u);
        EXPECT_EQ(Connections(dlg)->GetString(0), "10.0.0.1");
        EXPECT_EQ(Chosen(dlg), "127.0.0.1");

        SetCheck(&dlg, CDlgMain::kIdSubfolders, false);
        EXPECT_TRUE(IsOkEnabled(&dlg));
        ClickTo<wxRadioButton>(&dlg, CDlgMain::kIdConflictDownload, true);
        EXPECT_EQ(dlg.GetConflict(), 1);
        SetCheck(&dlg, CDlgMain::kIdUpload, true);
        Click(&dlg, wxID_OK);
    });
    EXPECT_TRUE(m_doc.IsModified());
    EXPECT_EQ(profile.m_strConnection, "127.0.0.1");

    // The bytes of the profile are those of the same record filled by hand.
    CCorvaneDoc viaDialog;
    viaDialog.m_arrProfiles.push_back(profile);
    CFolderProfile byHand;
    byHand.m_strStateFile = stateFile;
    byHand.m_nConnection = 1;
    byHand.m_bUpload = true;
    byHand.m_bSubfolders = false;
    byHand.m_nConflict = 1;
    CCorvaneDoc expected;
    expected.m_arrProfiles.push_back(byHand);
    EXPECT_EQ(viaDialog.SaveToMemory(), expected.SaveToMemory());
}

TEST_F(DlgMainTest, ConnectionChosenIgnoringCaseOrFirstWhenGone) {
    struct Case {
        std::string stored;
        wxString shown;
    };
    for (const Case& c : {Case{"FTP.Example.COM", "ftp.example.com"}, Case{"127.0.0", "10.0.0.1"},
                          Case{"gone.example.net", "10.0.0.1"}}) {
        CFolderProfile profile;
        profile.m_strConnection = c.stored;
        CDlgMain dlg(nullptr, &m_doc, &profile);
        RunModal(dlg, [&] {
            EXPECT_EQ(Chosen(dlg), c.shown) << c.stored;
            EXPECT_FALSE(IsOkEnabled(&dlg));
            SetCheck(&dlg, CDlgMain::kIdEnabled, false);
            Click(&dlg, wxID_OK);
        });
        // Tied to the entry as the list shows it.
        EXPECT_EQ(profile.m_strConnection, c.shown.ToStdString());
        EXPECT_FALSE(profile.m_bEnabled);
    }
}

TEST_F(DlgMainTest, WithoutConnectionsTheNoticeShowsAndOkIsRefused) {
    m_doc.m_arrConnections.clear();
    CFolderProfile profile;
    const CFolderProfile before = profile;
    CDlgMain dlg(nullptr, &m_doc, &profile);
    EXPECT_EQ(RunModal(dlg,
                       [&] {
                           wxString notice = Ctrl<wxStaticText>(&dlg, CDlgMain::kIdNotice)->GetLabel();
                           notice.Replace("\n", " ");
                           EXPECT_EQ(notice, CDlgMain::kNoConnectionNotice);
                           EXPECT_FALSE(Connections(dlg)->IsEnabled());
                           EXPECT_FALSE(dlg.FindWindow(CDlgMain::kIdEditConnection)->IsEnabled());
                           SetCheck(&dlg, CDlgMain::kIdUpload, true);
                           EXPECT_FALSE(IsOkEnabled(&dlg));
                           // Enter on the default button would still try it.
                           wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
                           wxTEST_DIALOG(dlg.ProcessWindowEvent(ok),
                                         CExpectMessage(wxID_OK, CDlgMain::kNoConnectionError, "Error",
                                                        wxICON_INFORMATION));
                           EXPECT_TRUE(dlg.IsModal());
                           Click(&dlg, wxID_CANCEL);
                       }),
              wxID_CANCEL);
    EXPECT_EQ(profile.m_bUpload, before.m_bUpload);
    EXPECT_FALSE(m_doc.IsModified());
}

TEST_F(DlgMainTest, MasksConfirmedInTheirDialogStayWhenTheProfileIsCancelled) {
    CFolderProfile existing;
    existing.m_bUseMasks = true;
    existing.m_arrMasks = {{"*.tmp", true, true}};
    m_doc.m_arrProfiles.push_back(existing);
    CFolderProfile& profile = m_doc.m_arrProfiles.back();

    CDlgMain dlg(nullptr, &m_doc, &profile);
    CDriveNested<CDlgMasks> masks([](CDlgMasks* m) {
        Type(m, CDlgMasks::kIdMask, "*.bak");
        Click(m, CDlgMasks::kIdAdd);
        Click(m, wxID_OK);
    });
    RunModal(dlg, [&] {
        EXPECT_TRUE(dlg.FindWindow(CDlgMain::kIdEditMasks)->IsEnabled());
        Click(&dlg, CDlgMain::kIdEditMasks);
        EXPECT_EQ(masks.m_nRuns, 1);
        EXPECT_TRUE(IsOkEnabled(&dlg));
        // Clearing the box disables the button but keeps the masks.
        SetCheck(&dlg, CDlgMain::kIdUseMasks, false);
        EXPECT_FALSE(dlg.FindWindow(CDlgMain::kIdEditMasks)->IsEnabled());
        Click(&dlg, wxID_CANCEL);
    });
    EXPECT_TRUE(m_doc.IsModified());
    EXPECT_TRUE(profile.m_bUseMasks);
    ASSERT_EQ(profile.m_arrMasks.size(), 2u);
    EXPECT_EQ(profile.m_arrMasks[1].m_strMask, "*.bak");
}

// The pickers and the connection's editor work on the chosen entry; the FTP folder is
// stored as the server's bytes, not as the field shows them.
TEST_F(DlgMainTest, FolderPickersAndConnectionEditWorkOnTheChosenEntry) {
    CFolderProfile profile;
    profile.m_strConnection = "ftp.example.com";
    profile.m_strFtpFolder = "/pub";
    CConnectionInfo* chosen = &m_doc.m_arrConnections[1];
    const std::string serverBytes = "/pub/\xD0\x94\xD0\xBE\xD0\xBA"; // a UTF-8 server's bytes

    CDlgMain dlg(nullptr, &m_doc, &profile);
    RunModal(dlg, [&] {
        // Cancelled pickers change nothing, not even OK.
        wxTEST_DIALOG(Click(&dlg, CDlgMain::kIdBrowseLocal), PickFolder("/", wxID_CANCEL));
        wxTEST_DIALOG(Click(&dlg, CDlgMain::kIdBrowseFtp),
                      CExpectDialog<CDlgFTPFolder>([&](CDlgFTPFolder* f) {
                          EXPECT_EQ(f->m_pConnection, chosen);
                          EXPECT_EQ(f->m_strPath, "/pub");
                          f->m_strPath = "/elsewhere";
                          return wxID_CANCEL;
                      }));
        EXPECT_EQ(Text(dlg, CDlgMain::kIdFtpFolder), "/pub");
        EXPECT_FALSE(IsOkEnabled(&dlg));

        wxTEST_DIALOG(Click(&dlg, CDlgMain::kIdBrowseFtp),
                      CExpectDialog<CDlgFTPFolder>([&](CDlgFTPFolder* f) {
                          f->m_strPath = serverBytes;
                          return wxID_OK;
                      }));
        EXPECT_EQ(Text(dlg, CDlgMain::kIdFtpFolder), wxString::FromUTF8(serverBytes));
        EXPECT_TRUE(IsOkEnabled(&dlg));
        wxTEST_DIALOG(testpump::RealClick(dlg.FindWindow(CDlgMain::kIdBrowseLocal), wxPoint(3, 3)),
                      PickFolder(wxFileName::GetTempDir(), wxID_OK));

        // The connection is the document's own record, edited with its host locked.
        wxTEST_DIALOG(Click(&dlg, CDlgMain::kIdEditConnection), CExpectDialog<CDlgFTP>([&](CDlgFTP* ftp) {
                          EXPECT_EQ(ftp->m_pConnection, chosen);
                          ftp->m_pConnection->m_bPassive = true;
                          return wxID_OK;
                      }));
        EXPECT_TRUE(m_doc.IsModified());
        Click(&dlg, wxID_OK);
    });
    EXPECT_TRUE(chosen->m_bPassive);
    EXPECT_EQ(profile.m_strFtpFolder, serverBytes);
    EXPECT_EQ(profile.m_strLocalFolder, wxFileName::GetTempDir().ToStdString());
}

TEST_F(DlgMainTest, BrowseButtonsAreNamedForTheOperatorAndAssistiveTechnology) {
    // Asked of the toolkit's accessible object, as a screen reader asks it.
    using Fn = void* (*)(void*);
    static const auto accessible = corvane::ToolkitSymbol<Fn>("gtk_widget_get_accessible");
    static const auto atkName = corvane::ToolkitSymbol<const char* (*)(void*)>("atk_object_get_name");
    CFolderProfile profile;
    CDlgMain dlg(nullptr, &m_doc, &profile);
    for (const auto& [id, name] : {std::pair{int(CDlgMain::kIdBrowseLocal), "Browse local folder"},
                                   std::pair{int(CDlgMain::kIdBrowseFtp), "Browse FTP folder"}}) {
        wxWindow* button = dlg.FindWindow(id);
        EXPECT_EQ(button->GetToolTipText(), name);
        EXPECT_EQ(button->GetName(), name);
        EXPECT_STREQ(atkName(accessible(button->GetHandle())), name);
    }
}

} // namespace

namespace {

// Whether a tooltip window of the toolkit is on screen.
bool ToolTipOnScreen() {
    struct Node {
        void* data;
        Node* next;
        Node* prev;
    };
    const auto list = corvane::ToolkitSymbol<Node* (*)()>("gtk_window_list_toplevels");
    const auto visible = corvane::ToolkitSymbol<int (*)(void*)>("gtk_widget_get_visible");
    const auto typeName = corvane::ToolkitSymbol<const char* (*)(void*)>("g_type_name_from_instance");
    const auto freeList = corvane::ToolkitSymbol<void (*)(Node*)>("g_list_free");
    bool shown = false;
    Node* all = list();
    for (Node* n = all; n; n = n->next)
        shown = shown || (visible(n->data) && std::string(typeName(n->data)) == "GtkTooltipWindow");
    freeList(all);
    return shown;
}

// The "Browse FTP folder" tip goes when the browser opens over it.
TEST_F(DlgMainTest, TheBrowseButtonsTipClosesWhenTheBrowserOpens) {
    CFolderProfile profile;
    CDlgMain dlg(nullptr, &m_doc, &profile);
    bool tipAtStart = false, tipOverBrowser = true;
    // The browser's own attempt to connect may end in a box meanwhile.
    remotetest::CMessageRecorder boxes;
    CDriveNested<CDlgFTPFolder> browser([&](CDlgFTPFolder* opened) {
        // Seen at any moment of a second and a half: the toolkit shows a tip again after a pause.
        tipOverBrowser = testpump::PumpUntil(ToolTipOnScreen, std::chrono::milliseconds(1500));
        opened->EndModal(wxID_CANCEL);
    });
    RunModal(dlg, [&] {
        wxWindow* browse = dlg.FindWindow(CDlgMain::kIdBrowseFtp);
        testpump::PointAt(browse, wxPoint(browse->GetSize().x / 2, browse->GetSize().y / 2));
        tipAtStart = testpump::PumpUntil(ToolTipOnScreen, std::chrono::seconds(3));
        wxUIActionSimulator().MouseClick();
        testpump::PumpUntil([&] { return browser.m_nRuns > 0; }, std::chrono::seconds(3));
        Click(&dlg, wxID_CANCEL);
    });
    if (!tipAtStart)
        GTEST_SKIP() << "the display shows no tooltips";
    EXPECT_FALSE(tipOverBrowser);
}

// The chooser opens at an existing start folder, else at home (a new profile's folder
// names a drive letter); what it returns is the operator's choice, and a choice
// without a path is not OK.
TEST_F(DlgMainTest, TheFolderChooserOpensAtTheStartFolderOrHomeAndReturnsTheChoice) {
    const wxString tmp = wxFileName::GetTempDir();
    struct Case {
        wxString start, opensAt, chosen;
        int answer, rc;
    };
    for (const Case& c :
         {Case{tmp, tmp, "/", wxID_OK, wxID_OK}, Case{"C:\\", wxGetHomeDir(), tmp, wxID_CANCEL, wxID_CANCEL},
          Case{"", "", "", wxID_OK, CFolderDialog::kNoPath}}) {
        CFolderDialog picker("Select folder", c.start, nullptr);
        int rc = 0;
        wxTEST_DIALOG(rc = picker.DoModal(), CExpectDialog<wxDirDialog>([&](wxDirDialog* d) {
                          EXPECT_EQ(d->GetMessage(), "Select folder");
                          if (!c.opensAt.empty()) {
                              EXPECT_EQ(d->GetPath(), c.opensAt);
                          }
                          d->SetPath(c.chosen);
                          return c.answer;
                      }));
        EXPECT_EQ(rc, c.rc) << c.start;
        EXPECT_EQ(picker.GetFolderPath(), c.rc == wxID_OK ? c.chosen : "") << c.start;
    }
}

} // namespace
