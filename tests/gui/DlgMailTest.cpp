#include "../common/DlgTestSupport.h"
#include "../common/SmtpPeer.h"
#include "standins/RecordingMailer.h"

#include "controls/CIconListBox.h"
#include "dialogs/CDlgMail.h"
#include "model/CCorvaneDoc.h"
#include "platform/TestMessage.h"

#include <wx/gauge.h>

using namespace dlgtest;

namespace {

class DlgMailTest : public DialogTest {
protected:
    static CIconListBox* List(wxDialog& dlg) { return Ctrl<CIconListBox>(&dlg, CDlgMail::kIdRecipients); }
    static int Bar(wxDialog& dlg) { return Ctrl<wxGauge>(&dlg, CDlgMail::kIdProgress)->GetValue(); }
    static wxString Result(wxDialog& dlg) { return dlg.FindWindow(CDlgMail::kIdResult)->GetLabel(); }

    CCorvaneDoc m_doc;
    mailtest::CRecordingMailer m_mailer;
};

TEST_F(DlgMailTest, DefaultsAndRecipientEditingWithOkStoringUntrimmedTexts) {
    CDlgMail dlg(nullptr, &m_doc);
    RunModal(dlg, [&] {
        EXPECT_EQ(List(dlg)->GetCount(), 0);
        EXPECT_FALSE(IsOkEnabled(&dlg));
        // Typing a recipient, blank Add, Edit and Delete without a selection change nothing.
        Type(&dlg, CDlgMail::kIdRecipient, "   ");
        Click(&dlg, CDlgMail::kIdAdd);
        Click(&dlg, CDlgMail::kIdEdit);
        Click(&dlg, CDlgMail::kIdDelete);
        EXPECT_EQ(List(dlg)->GetCount(), 0);
        EXPECT_FALSE(IsOkEnabled(&dlg));
        // A test says how it went in words, also when nothing could be sent.
        testpump::RealClick(dlg.FindWindow(CDlgMail::kIdSend));
        EXPECT_EQ(Result(dlg), "No recipient given: the server took the login, and no message was sent.");

        Type(&dlg, CDlgMail::kIdRecipient, "  ann@example.com ");
        Click(&dlg, CDlgMail::kIdAdd);
        ASSERT_EQ(List(dlg)->GetCount(), 1);
        EXPECT_EQ(List(dlg)->GetText(0), "ann@example.com");
        EXPECT_EQ(List(dlg)->GetItemImage(0), 1);
        EXPECT_TRUE(IsOkEnabled(&dlg));
        Click(&dlg, CDlgMail::kIdSend);
        EXPECT_EQ(Result(dlg), "Test message sent to 1 recipient.");
        Type(&dlg, CDlgMail::kIdServer, " smtp.example.com ");
        Type(&dlg, CDlgMail::kIdFrom, "me@example.com  ");
        Click(&dlg, wxID_OK);
    });
    EXPECT_EQ(m_doc.m_mail.m_strServer, " smtp.example.com ");
    EXPECT_EQ(m_doc.m_mail.m_strFrom, "me@example.com  ");
    EXPECT_EQ(m_doc.m_mail.m_nPort, 25);
    EXPECT_EQ(m_doc.m_mail.m_arrRecipients, std::vector<std::string>{"ann@example.com"});
    EXPECT_FALSE(m_doc.IsModified()); // the caller marks it
}

// Input through the display: Enter adds the typed address, and still does once OK is
// enabled; a double click puts an entry back into the box for changing, as Edit does;
// Delete in the list removes the selected entry.
TEST_F(DlgMailTest, EnterAddsDoubleClickEditsAndDeleteKeyRemoves) {
    m_doc.m_mail.m_arrRecipients = {"a.example", "b.example"};
    CDlgMail dlg(nullptr, &m_doc);
    RunModal(dlg, [&] {
        wxUIActionSimulator sim;
        auto* box = Ctrl<wxTextCtrl>(&dlg, CDlgMail::kIdRecipient);
        auto entries = [&](int n) { return testpump::PumpUntil([&] { return List(dlg)->GetCount() == n; }); };
        Type(&dlg, CDlgMail::kIdRecipient, "ann.example");
        sim.Char(WXK_RETURN);
        EXPECT_TRUE(entries(3));
        testpump::PointAt(List(dlg), testpump::MiddleOf(List(dlg), List(dlg)->GetItemRect(0)));
        sim.MouseDblClick();
        EXPECT_TRUE(testpump::PumpUntil([&] { return box->GetValue() == "a.example" && box->HasFocus(); }));
        sim.Text("x");
        sim.Char(WXK_RETURN);
        EXPECT_TRUE(entries(4));
        ASSERT_TRUE(dlg.IsModal());
        sim.MouseClick();
        sim.Char(WXK_DELETE);
        EXPECT_TRUE(entries(3));
        Click(&dlg, wxID_OK);
    });
    EXPECT_EQ(m_doc.m_mail.m_arrRecipients,
              (std::vector<std::string>{"b.example", "ann.example", "a.examplex"}));
}

// With the real component against an SMTP server on loopback: the values as typed go
// out trimmed (the stored password is not used), and the bar stays full for 1.5 s.
TEST_F(DlgMailTest, SendReachesTheServerWithTheTypedValuesAndShowsAFullBarForAMoment) {
    CMailComponent::Register();
    mailtest::CSmtpPeer peer({"--auth", "reporter:s3cret"});
    ASSERT_TRUE(peer.Running());
    m_doc.m_mail.m_strServer = "127.0.0.1";
    m_doc.m_mail.m_nPort = peer.Port();
    m_doc.m_mail.m_strUser = "reporter";
    m_doc.m_mail.m_strPassword = "stored-password";
    m_doc.m_mail.m_arrRecipients = {"ops@example.com", " boss@example.org "};
    const CMailAccount before = m_doc.m_mail;
    CDlgMail dlg(nullptr, &m_doc);
    RunModal(dlg, [&] {
        Type(&dlg, CDlgMail::kIdPassword, " s3cret ");
        Type(&dlg, CDlgMail::kIdFrom, "Corvane <reports@example.com> ");
        // The peer offers no STARTTLS: the password went in plain text, and the dialog says so.
        wxTEST_DIALOG(Click(&dlg, CDlgMail::kIdSend),
                      CExpectMessage(wxID_OK, corvane::kPlainLoginNotice, "Information", wxICON_INFORMATION));
        EXPECT_EQ(Bar(dlg), 100);
        testpump::Pump(std::chrono::milliseconds(CDlgMail::kResultMs - 700));
        EXPECT_EQ(Bar(dlg), 100);
        testpump::Pump(std::chrono::milliseconds(1200));
        EXPECT_EQ(Bar(dlg), 0);
        // The words stay after the bar has emptied again.
        EXPECT_EQ(Result(dlg), "Test message sent to 2 recipients.");
        Click(&dlg, wxID_CANCEL);
    });
    const auto data = peer.Events("DATA");
    ASSERT_EQ(data.size(), 1u);
    EXPECT_EQ(data[0]["mail_from"], "reports@example.com");
    EXPECT_EQ(data[0]["rcpt_tos"], nlohmann::json({"ops@example.com", "boss@example.org"}));
    EXPECT_TRUE(data[0]["authenticated"].get<bool>());
    EXPECT_EQ(m_doc.m_mail, before);
}

// The port is typed like any field: digits only, the first change enables OK, and a
// number outside 1 to 65535 is refused with the dialog still open.
TEST_F(DlgMailTest, ThePortIsTypedInDigitsAndRefusedOutsideItsRange) {
    CDlgMail dlg(nullptr, &m_doc);
    RunModal(dlg, [&] {
        auto* port = Ctrl<wxTextCtrl>(&dlg, CDlgMail::kIdPort);
        testpump::RealClick(port, wxPoint(port->GetSize().x / 2, port->GetSize().y / 2));
        wxUIActionSimulator sim;
        sim.Char('a', wxMOD_CONTROL);
        sim.Text("5x87");
        EXPECT_TRUE(testpump::PumpUntil([&] { return port->GetValue() == "587"; }, std::chrono::seconds(3)))
            << port->GetValue();
        EXPECT_TRUE(IsOkEnabled(&dlg));
        for (const char* wrong : {"0", "65536"}) {
            Type(&dlg, CDlgMail::kIdPort, wrong);
            wxTEST_DIALOG(testpump::RealClick(dlg.FindWindow(wxID_OK)),
                          CExpectMessage(wxID_OK, "Port number: enter a number from 1 to 65535.",
                                         "Information", wxICON_INFORMATION));
            EXPECT_TRUE(dlg.IsModal()) << wrong;
        }
        Type(&dlg, CDlgMail::kIdPort, "465");
        testpump::RealClick(dlg.FindWindow(wxID_OK));
    });
    EXPECT_EQ(m_doc.m_mail.m_nPort, 465);
}

TEST_F(DlgMailTest, FailuresAreShownUnderErrorAndLeaveTheBarEmpty) {
    // The component's text is UTF-8 and quotes the server in its language; the box shows
    // 255 characters of it, not 255 bytes.
    const std::string reply = "550 \xd0\x9e\xd1\x82\xd0\xba\xd0\xb0\xd0\xb7\xd0\xb0\xd0\xbd\xd0\xbe ";
    m_mailer.failure = reply + std::string(300, 'x');
    const wxString shown = wxString::FromUTF8(reply) + wxString(255 - 13, 'x');
    CDlgMail dlg(nullptr, &m_doc);
    RunModal(dlg, [&] {
        wxTEST_DIALOG(Click(&dlg, CDlgMail::kIdSend), CExpectMessage(wxID_OK, shown, "Error", wxICON_ERROR));
        EXPECT_EQ(Bar(dlg), 0);
        EXPECT_FALSE(dlg.IsShowingResult());
        EXPECT_FALSE(IsOkEnabled(&dlg));
        Click(&dlg, wxID_CANCEL);
    });
}

} // namespace
