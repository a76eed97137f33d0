// The mail account dialog's Send with the real mail component against a real SMTP
// server on loopback: what the operator sees, and what the server received.
#include "../net/SmtpPeer.h"
#include "DlgTestSupport.h"

#include "controls/CIconListBox.h"
#include "dialogs/CDlgMail.h"
#include "model/CCorvaneDoc.h"
#include "platform/CAutomationRegistry.h"
#include "platform/CMailComponent.h"

#include <wx/gauge.h>

using namespace dlgtest;

namespace {

class MailSendTest : public DialogTest {
protected:
    void SetUp() override {
        m_previous = CAutomationRegistry::Register(CMailComponent::kProgId,
                                                   [] { return std::make_shared<CMailComponent>(); });
        m_doc.m_mail.m_strServer = "127.0.0.1";
        m_doc.m_mail.m_strFrom = "Corvane <reports@example.com>";
        m_doc.m_mail.m_strSubject = "Test message";
    }
    void TearDown() override {
        if (m_previous)
            CAutomationRegistry::Register(CMailComponent::kProgId, m_previous);
        else
            CAutomationRegistry::Unregister(CMailComponent::kProgId);
    }

    static int Bar(wxDialog& dlg) { return Ctrl<wxGauge>(&dlg, CDlgMail::kIdProgress)->GetValue(); }

    // Everything the operator can see in the dialog's fields and list.
    static std::vector<wxString> Contents(wxDialog& dlg) {
        std::vector<wxString> out;
        for (const int id : {CDlgMail::kIdServer, CDlgMail::kIdUser, CDlgMail::kIdPassword, CDlgMail::kIdFrom,
                             CDlgMail::kIdPort, CDlgMail::kIdSubject, CDlgMail::kIdRecipient})
            out.push_back(Ctrl<wxTextCtrl>(&dlg, id)->GetValue());
        auto* list = Ctrl<CIconListBox>(&dlg, CDlgMail::kIdRecipients);
        for (int i = 0; i < list->GetCount(); ++i)
            out.push_back(list->GetText(i));
        return out;
    }

    CCorvaneDoc m_doc;
    CAutomationRegistry::Factory m_previous;
};

} // namespace

TEST_F(MailSendTest, SuccessReachesTheServerAndShowsAFullBarForAMoment) {
    mailtest::CSmtpPeer peer({"--auth", "reporter:s3cret"});
    ASSERT_TRUE(peer.Running());
    m_doc.m_mail.m_nPort = peer.Port();
    m_doc.m_mail.m_strUser = "reporter";
    m_doc.m_mail.m_strPassword = "stored-password";
    m_doc.m_mail.m_arrRecipients = {"ops@example.com", " boss@example.org "};
    const CMailAccount before = m_doc.m_mail;
    CDlgMail dlg(nullptr, &m_doc);
    RunModal(dlg, [&] {
        // The values as typed now go out, trimmed; the stored password is not used.
        Type(&dlg, CDlgMail::kIdPassword, " s3cret ");
        Type(&dlg, CDlgMail::kIdSubject, wxString::FromUTF8(" Caf\xC3\xA9 \xE2\x82\xAC report "));
        Click(&dlg, CDlgMail::kIdSend);
        EXPECT_EQ(Bar(dlg), 100);
        Pump(CDlgMail::kResultMs - 700);
        EXPECT_EQ(Bar(dlg), 100) << "the result stays up for 1.5 s";
        Pump(1200);
        EXPECT_EQ(Bar(dlg), 0);
        Click(&dlg, wxID_CANCEL);
    });
    const auto data = peer.Events("DATA");
    ASSERT_EQ(data.size(), 1u);
    EXPECT_EQ(data[0]["mail_from"], "reports@example.com");
    EXPECT_EQ(data[0]["rcpt_tos"], nlohmann::json({"ops@example.com", "boss@example.org"}));
    EXPECT_EQ(data[0]["headers"]["Subject"], "Caf\xC3\xA9 \xE2\x82\xAC report");
    EXPECT_TRUE(data[0]["authenticated"].get<bool>());
    EXPECT_EQ(m_doc.m_mail, before);
}

TEST_F(MailSendTest, EmptyRecipientListStillSendsAndReportsThatNobodyGotIt) {
    mailtest::CSmtpPeer peer;
    ASSERT_TRUE(peer.Running());
    m_doc.m_mail.m_nPort = peer.Port();
    CDlgMail dlg(nullptr, &m_doc);
    RunModal(dlg, [&] {
        const auto contents = Contents(dlg);
        wxTEST_DIALOG(
            Click(&dlg, CDlgMail::kIdSend),
            CExpectMessage(wxID_OK,
                           "No recipients were given, so no message was sent. The connection to the "
                           "mail server \"127.0.0.1\" worked.",
                           "Error", wxICON_ERROR));
        EXPECT_EQ(Bar(dlg), 0);
        EXPECT_FALSE(dlg.IsShowingResult());
        EXPECT_EQ(Contents(dlg), contents);
        EXPECT_FALSE(IsOkEnabled(&dlg));
        Click(&dlg, wxID_CANCEL);
    });
    // The server was reached, and saw no envelope at all.
    EXPECT_FALSE(peer.Events("EHLO").empty());
    EXPECT_TRUE(peer.Events("MAIL").empty());
    EXPECT_TRUE(peer.Events("RCPT").empty());
}

TEST_F(MailSendTest, FailureShowsTheComponentsTextAndLeavesTheDialogAsItWas) {
    mailtest::CSmtpPeer peer({"--auth", "reporter:s3cret", "--refuse-rcpt", "gone@example.com"});
    ASSERT_TRUE(peer.Running());
    m_doc.m_mail.m_nPort = peer.Port();
    m_doc.m_mail.m_strUser = "reporter";
    m_doc.m_mail.m_strPassword = "wrong";
    m_doc.m_mail.m_arrRecipients = {"ops@example.com", "gone@example.com"};
    const CMailAccount before = m_doc.m_mail;
    CDlgMail dlg(nullptr, &m_doc);
    RunModal(dlg, [&] {
        const auto contents = Contents(dlg);
        wxTEST_DIALOG(
            Click(&dlg, CDlgMail::kIdSend),
            CExpectMessage(wxID_OK,
                           "The mail server rejected the user name \"reporter\" or its password. The "
                           "server said: 535 5.7.8 Authentication credentials invalid",
                           "Error", wxICON_ERROR));
        EXPECT_EQ(Bar(dlg), 0);
        EXPECT_EQ(Contents(dlg), contents);

        Type(&dlg, CDlgMail::kIdPassword, "s3cret");
        const auto typed = Contents(dlg);
        wxTEST_DIALOG(
            Click(&dlg, CDlgMail::kIdSend),
            CExpectMessage(wxID_OK,
                           "The mail server refused the recipient \"gone@example.com\". Nothing was "
                           "sent. The server said: 550 5.1.1 <gone@example.com>: Recipient address "
                           "rejected: User unknown",
                           "Error", wxICON_ERROR));
        EXPECT_EQ(Bar(dlg), 0);
        EXPECT_EQ(Contents(dlg), typed);
        Click(&dlg, wxID_CANCEL);
    });
    EXPECT_TRUE(peer.Events("DATA").empty());
    EXPECT_EQ(m_doc.m_mail, before);
}
