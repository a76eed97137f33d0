#include "../common/DlgTestSupport.h"

#include "controls/CIconListBox.h"
#include "dialogs/CDlgConnections.h"
#include "dialogs/CDlgProxy.h"
#include "model/CCorvaneDoc.h"
#include "remote/CDlgFTP.h"

using namespace dlgtest;

namespace {

const wxString kInUse = wxString::FromUTF8(
    "Can\xE2\x80\x99t delete the connection 'ftp.example.com': it is assigned to an existing "
    "profile.");

CConnectionInfo Connection(const std::string& host) {
    CConnectionInfo c;
    c.m_strHost = host;
    return c;
}

class DlgConnectionsTest : public DialogTest {
protected:
    void SetUp() override {
        m_doc.m_arrConnections = {Connection("ftp.example.com"), Connection("alpha.org")};
        // Reserved entries do not survive the copy into fresh records.
        m_doc.m_arrConnections[0].m_arrReserved = {7, 7, 7, 7, 7};
    }
    static CIconListBox* List(wxDialog& dlg) { return Ctrl<CIconListBox>(&dlg, CDlgConnections::kIdList); }
    static int Find(wxDialog& dlg, const wxString& host) {
        for (int i = 0; i < List(dlg)->GetCount(); ++i)
            if (List(dlg)->GetText(i) == host)
                return i;
        return -1;
    }
    static void Select(wxDialog& dlg, const wxString& host) {
        ClickAt(List(dlg), List(dlg)->GetItemRect(Find(dlg, host)));
        ASSERT_EQ(List(dlg)->GetCurSel(), Find(dlg, host));
    }
    // "Add" with the connection dialog answering OK with this host.
    static CExpectDialog<CDlgFTP> Typed(const std::string& host, int answer = wxID_OK) {
        return CExpectDialog<CDlgFTP>([host, answer](CDlgFTP* ftp) {
            EXPECT_NE(ftp->m_pConnection, nullptr);
            EXPECT_EQ(ftp->m_pConnection->m_strHost, "127.0.0.1"); // a fresh record
            ftp->m_pConnection->m_strHost = host;
            return answer;
        });
    }
    static CExpectMessage Duplicate() {
        return CExpectMessage(wxID_OK, "An FTP connection with this host name already exists.", "Information",
                              wxICON_INFORMATION);
    }
    static CExpectMessage Sure(const wxString& host, int answer) {
        return CExpectMessage(answer, "Are you sure you want to delete the FTP connection '" + host + "'?",
                              "Question", wxICON_QUESTION);
    }
    CCorvaneDoc m_doc;
};

// The editor refuses the host at its OK and stays open with everything typed, for
// hosts that differ only in case and for hosts removed before this list is confirmed.
TEST_F(DlgConnectionsTest, ADuplicateHostIsRefusedInTheOpenEditorKeepingWhatWasTyped) {
    CDlgConnections dlg(nullptr, &m_doc);
    RunModal(dlg, [&] {
        Select(dlg, "alpha.org");
        wxTEST_DIALOG(Click(&dlg, CDlgConnections::kIdRemove), Sure("alpha.org", wxID_YES));
        CDriveNested<CDlgFTP> editor([&](CDlgFTP* ftp) {
            Type(ftp, CDlgFTP::IDC_PORT, "2121");
            Type(ftp, CDlgFTP::IDC_USER, "anna");
            for (const char* taken : {"FTP.Example.COM", "ALPHA.org"}) {
                Type(ftp, CDlgFTP::IDC_HOST, taken);
                wxTEST_DIALOG(testpump::RealClick(ftp->FindWindow(wxID_OK)), Duplicate());
                EXPECT_TRUE(ftp->IsModal()) << taken;
                EXPECT_EQ(Ctrl<wxTextCtrl>(ftp, CDlgFTP::IDC_HOST)->GetValue(), taken);
                EXPECT_EQ(Ctrl<wxTextCtrl>(ftp, CDlgFTP::IDC_PORT)->GetValue(), "2121");
                EXPECT_EQ(Ctrl<wxTextCtrl>(ftp, CDlgFTP::IDC_USER)->GetValue(), "anna");
            }
            Type(ftp, CDlgFTP::IDC_HOST, "beta.org");
            testpump::RealClick(ftp->FindWindow(wxID_OK));
        });
        Click(&dlg, CDlgConnections::kIdAdd);
        EXPECT_EQ(editor.m_nRuns, 1);
        EXPECT_EQ(List(dlg)->GetText(List(dlg)->GetCurSel()), "beta.org");
        Click(&dlg, wxID_OK);
    });
    ASSERT_EQ(m_doc.m_arrConnections.size(), 2u);
    EXPECT_EQ(m_doc.m_arrConnections[1].m_strHost, "beta.org");
    EXPECT_EQ(m_doc.m_arrConnections[1].m_nPort, 2121);
    EXPECT_EQ(m_doc.m_arrConnections[1].m_strUser, "anna");
}

// Remove refuses a host a profile names (naming it in other letter case does not hold
// it) and asks before removing another one.
TEST_F(DlgConnectionsTest, AddSelectsTheNewEntryAndRemoveAsksFirst) {
    m_doc.m_arrProfiles.resize(2);
    m_doc.m_arrProfiles[0].m_strConnection = "ftp.example.com";
    m_doc.m_arrProfiles[1].m_strConnection = "ALPHA.org";
    CDlgConnections dlg(nullptr, &m_doc);
    RunModal(dlg, [&] {
        ASSERT_EQ(List(dlg)->GetCount(), 2);
        EXPECT_EQ(List(dlg)->GetCurSel(), 0);
        EXPECT_EQ(List(dlg)->GetText(0), "alpha.org");
        EXPECT_EQ(List(dlg)->GetItemImage(0), 3);

        wxTEST_DIALOG(Click(&dlg, CDlgConnections::kIdAdd), Typed("new.host", wxID_CANCEL));
        EXPECT_EQ(List(dlg)->GetCount(), 2);

        // A prefix of an existing host is another host; its own entry gets selected.
        wxTEST_DIALOG(Click(&dlg, CDlgConnections::kIdAdd), Typed("ftp.example"));
        ASSERT_EQ(List(dlg)->GetCount(), 3);
        EXPECT_EQ(List(dlg)->GetText(List(dlg)->GetCurSel()), "ftp.example");

        Select(dlg, "ftp.example.com");
        wxTEST_DIALOG(Click(&dlg, CDlgConnections::kIdRemove),
                      CExpectMessage(wxID_OK, kInUse, "Information", wxICON_INFORMATION));
        Select(dlg, "alpha.org");
        wxTEST_DIALOG(Click(&dlg, CDlgConnections::kIdRemove), Sure("alpha.org", wxID_NO));
        EXPECT_EQ(List(dlg)->GetCount(), 3);
        wxTEST_DIALOG(Click(&dlg, CDlgConnections::kIdRemove), Sure("alpha.org", wxID_YES));
        EXPECT_EQ(List(dlg)->GetCount(), 2);
        EXPECT_EQ(List(dlg)->GetCurSel(), -1);
        // Without a selection Edit and Remove do nothing (a dialog or box would fail).
        Click(&dlg, CDlgConnections::kIdEdit);
        Click(&dlg, CDlgConnections::kIdRemove);
        Click(&dlg, wxID_OK);
    });
    ASSERT_EQ(m_doc.m_arrConnections.size(), 2u);
    EXPECT_EQ(m_doc.m_arrConnections[0].m_strHost, "ftp.example.com");
    EXPECT_EQ(m_doc.m_arrConnections[1].m_strHost, "ftp.example");
    EXPECT_TRUE(m_doc.IsModified());

    // Confirmed and reopened, the removed host can come back; the document gets
    // fresh records filled by the record's copy, as the file expects.
    CDlgConnections again(nullptr, &m_doc);
    RunModal(again, [&] {
        wxTEST_DIALOG(Click(&again, CDlgConnections::kIdAdd), Typed("alpha.org"));
        Click(&again, wxID_OK);
    });
    ASSERT_EQ(m_doc.m_arrConnections.size(), 3u);
    CCorvaneDoc expected;
    expected.m_arrProfiles = m_doc.m_arrProfiles;
    expected.m_arrConnections = {Connection("ftp.example.com"), Connection("ftp.example"),
                                 Connection("alpha.org")};
    EXPECT_EQ(m_doc.SaveToMemory(), expected.SaveToMemory());
}

TEST_F(DlgConnectionsTest, EscOrCloseLeaveTheProject) {
    const std::string before = m_doc.SaveToMemory();
    for (const bool useEsc : {true, false}) {
        CDlgConnections dlg(nullptr, &m_doc);
        EXPECT_EQ(RunModal(dlg,
                           [&] {
                               wxTEST_DIALOG(Click(&dlg, CDlgConnections::kIdAdd), Typed("more.org"));
                               Select(dlg, "ftp.example.com");
                               wxTEST_DIALOG(Click(&dlg, CDlgConnections::kIdRemove),
                                             Sure("ftp.example.com", wxID_YES));
                               if (useEsc) {
                                   testpump::PointAt(&dlg, wxPoint(20, 20));
                                   wxUIActionSimulator().Char(WXK_ESCAPE);
                                   EXPECT_TRUE(testpump::PumpUntil([&] { return !dlg.IsModal(); }));
                               } else {
                                   dlg.Close();
                               }
                           }),
                  wxID_CANCEL);
    }
    EXPECT_EQ(m_doc.SaveToMemory(), before);
    EXPECT_FALSE(m_doc.IsModified());
    // OK marks the project, changed or not.
    CDlgConnections dlg(nullptr, &m_doc);
    EXPECT_EQ(RunModal(dlg, [&] { Click(&dlg, wxID_OK); }), wxID_OK);
    EXPECT_TRUE(m_doc.IsModified());
}

TEST_F(DlgConnectionsTest, RealConnectionDialogLocksTheHostOnEditAndNotOnAdd) {
    CDriveNested<CDlgFTP> ftp([this](CDlgFTP* f) {
        auto* host = Ctrl<wxTextCtrl>(f, CDlgFTP::IDC_HOST);
        if (host->IsEnabled()) {
            Type(f, CDlgFTP::IDC_HOST, "added.example.net");
        } else {
            EXPECT_EQ(host->GetValue(), "alpha.org");
            Type(f, CDlgFTP::IDC_USER, "bob");
            Type(f, CDlgFTP::IDC_PORT, "2121");
            // The Proxy button reaches the project's proxy editor; only its OK marks the project.
            SetCheck(f, CDlgFTP::IDC_USE_PROXY, true);
            for (const int answer : {wxID_CANCEL, wxID_OK}) {
                wxTEST_DIALOG(Click(f, CDlgFTP::IDC_PROXY), CExpectDialog<CDlgProxy>([=](CDlgProxy* proxy) {
                                  EXPECT_EQ(proxy->GetParent(), f);
                                  return answer;
                              }));
                EXPECT_EQ(m_doc.IsModified(), answer == wxID_OK);
            }
        }
        Click(f, wxID_OK);
    });
    CDlgConnections dlg(nullptr, &m_doc);
    RunModal(dlg, [&] {
        Select(dlg, "alpha.org");
        Click(&dlg, CDlgConnections::kIdEdit);
        EXPECT_TRUE(m_doc.IsModified());
        // The dialog edited the working copy; the document's record changes only at OK.
        EXPECT_EQ(m_doc.m_arrConnections[1].m_strUser, "anonymous");
        Click(&dlg, CDlgConnections::kIdAdd);
        EXPECT_EQ(ftp.m_nRuns, 2);
        EXPECT_EQ(List(dlg)->GetText(List(dlg)->GetCurSel()), "added.example.net");
        Click(&dlg, wxID_OK);
    });
    ASSERT_EQ(m_doc.m_arrConnections.size(), 3u);
    EXPECT_EQ(m_doc.m_arrConnections[1].m_strHost, "alpha.org");
    EXPECT_EQ(m_doc.m_arrConnections[1].m_strUser, "bob");
    EXPECT_EQ(m_doc.m_arrConnections[1].m_nPort, 2121);
    EXPECT_EQ(m_doc.m_arrConnections[2].m_strHost, "added.example.net");
    EXPECT_EQ(m_doc.m_arrConnections[2].m_strUser, "anonymous");
}

} // namespace
