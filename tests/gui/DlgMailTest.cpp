#include "DlgTestSupport.h"

#include "controls/CIconListBox.h"
#include "dialogs/CDlgMail.h"
#include "model/CCorvaneDoc.h"
#include "platform/CAutomationRegistry.h"
#include "platform/COleException.h"

#include <memory>
#include <mutex>
#include <wx/gauge.h>

using namespace dlgtest;

namespace {

struct CCall {
    DISPID id;
    InvokeKind kind;
    std::vector<CVariant> args;
    bool operator==(const CCall&) const = default;
};

// Stands in for the mail component: records every call, may fail the send.
class CRecordingMailer : public IDispatch {
public:
    CRecordingMailer(std::vector<CCall>* log, std::string failure)
        : m_log(log), m_failure(std::move(failure)) {}
    CVariant Invoke(DISPID id, InvokeKind kind, const std::vector<CVariant>& args) override {
        m_log->push_back({id, kind, args});
        if (id == 8 && !m_failure.empty())
            throw COleDispatchException(m_failure);
        return {};
    }

private:
    std::vector<CCall>* m_log;
    std::string m_failure;
};

class DlgMailTest : public DialogTest {
protected:
    void SetUp() override { Install(""); }
    void TearDown() override {
        if (m_previous)
            CAutomationRegistry::Register(CDlgMail::kProgId, m_previous);
        else
            CAutomationRegistry::Unregister(CDlgMail::kProgId);
    }
    void Install(std::string failure) {
        auto prev = CAutomationRegistry::Register(CDlgMail::kProgId, [this, failure] {
            ++m_created;
            return std::make_shared<CRecordingMailer>(&m_calls, failure);
        });
        if (!m_installed)
            m_previous = prev;
        m_installed = true;
    }
    static CIconListBox* List(wxDialog& dlg) { return Ctrl<CIconListBox>(&dlg, CDlgMail::kIdRecipients); }
    static int Bar(wxDialog& dlg) { return Ctrl<wxGauge>(&dlg, CDlgMail::kIdProgress)->GetValue(); }

    CCorvaneDoc m_doc;
    std::vector<CCall> m_calls;
    int m_created = 0;
    bool m_installed = false;
    CAutomationRegistry::Factory m_previous;
};

TEST_F(DlgMailTest, DefaultsAndRecipientEditingWithOkStoringUntrimmedTexts) {
    CDlgMail dlg(nullptr, &m_doc);
    RunModal(dlg, [&] {
        EXPECT_EQ(Ctrl<wxTextCtrl>(&dlg, CDlgMail::kIdPort)->GetValue(), "25");
        EXPECT_FALSE(Ctrl<wxTextCtrl>(&dlg, CDlgMail::kIdPort)->IsEditable());
        EXPECT_EQ(Ctrl<wxTextCtrl>(&dlg, CDlgMail::kIdSubject)->GetValue(), "Test message");
        EXPECT_EQ(List(dlg)->GetCount(), 0);
        EXPECT_FALSE(IsOkEnabled(&dlg));
        // Typing a recipient, blank Add, Edit and Delete without a selection change nothing.
        Type(&dlg, CDlgMail::kIdRecipient, "   ");
        Click(&dlg, CDlgMail::kIdAdd);
        Click(&dlg, CDlgMail::kIdEdit);
        Click(&dlg, CDlgMail::kIdDelete);
        EXPECT_EQ(List(dlg)->GetCount(), 0);
        EXPECT_FALSE(IsOkEnabled(&dlg));

        Type(&dlg, CDlgMail::kIdRecipient, "  ann@example.com ");
        Click(&dlg, CDlgMail::kIdAdd);
        ASSERT_EQ(List(dlg)->GetCount(), 1);
        EXPECT_EQ(List(dlg)->GetText(0), "ann@example.com");
        EXPECT_EQ(List(dlg)->GetItemImage(0), 1);
        EXPECT_TRUE(IsOkEnabled(&dlg));
        // Edit copies the entry out; Add then appends the new form beside the old one.
        List(dlg)->SetCurSel(0);
        Click(&dlg, CDlgMail::kIdEdit);
        EXPECT_EQ(Ctrl<wxTextCtrl>(&dlg, CDlgMail::kIdRecipient)->GetValue(), "ann@example.com");
        Type(&dlg, CDlgMail::kIdRecipient, "bob@example.com");
        Click(&dlg, CDlgMail::kIdAdd);
        ASSERT_EQ(List(dlg)->GetCount(), 2);
        Type(&dlg, CDlgMail::kIdServer, " smtp.example.com ");
        Type(&dlg, CDlgMail::kIdFrom, "me@example.com  ");
        Click(&dlg, wxID_OK);
    });
    EXPECT_EQ(m_doc.m_mail.m_strServer, " smtp.example.com ");
    EXPECT_EQ(m_doc.m_mail.m_strFrom, "me@example.com  ");
    EXPECT_EQ(m_doc.m_mail.m_nPort, 25);
    EXPECT_EQ(m_doc.m_mail.m_arrRecipients, (std::vector<std::string>{"ann@example.com", "bob@example.com"}));
    EXPECT_FALSE(m_doc.IsModified()); // the caller marks it
}

TEST_F(DlgMailTest, CancelAfterAddAndDeleteKeepsTheRecord) {
    m_doc.m_mail.m_arrRecipients = {"a@x", "b@x"};
    const CMailAccount before = m_doc.m_mail;
    CDlgMail dlg(nullptr, &m_doc);
    RunModal(dlg, [&] {
        EXPECT_EQ(List(dlg)->GetCurSel(), 0);
        Click(&dlg, CDlgMail::kIdDelete);
        EXPECT_EQ(List(dlg)->GetCount(), 1);
        EXPECT_TRUE(IsOkEnabled(&dlg));
        Click(&dlg, CDlgMail::kIdAdd);
        Click(&dlg, wxID_CANCEL);
    });
    EXPECT_EQ(m_doc.m_mail, before);
}

TEST_F(DlgMailTest, SendPassesTypedTrimmedValuesInOrderAndShowsTheResultForAWhile) {
    m_doc.m_mail.m_arrRecipients = {" one@x ", "two@x"};
    m_doc.m_mail.m_strPassword = "stored";
    const CMailAccount before = m_doc.m_mail;
    CDlgMail dlg(nullptr, &m_doc);
    RunModal(dlg, [&] {
        Type(&dlg, CDlgMail::kIdServer, "  smtp.local ");
        Type(&dlg, CDlgMail::kIdUser, " u ");
        Type(&dlg, CDlgMail::kIdPassword, "p w ");
        Type(&dlg, CDlgMail::kIdSubject, " Hi\t");
        Click(&dlg, CDlgMail::kIdSend);
        EXPECT_EQ(Bar(dlg), 100);
        EXPECT_TRUE(dlg.IsShowingResult());
        Pump(CDlgMail::kResultMs + 400);
        EXPECT_EQ(Bar(dlg), 0);
        EXPECT_FALSE(dlg.IsShowingResult());
        Click(&dlg, wxID_CANCEL);
    });
    using S = std::string;
    const std::vector<CCall> expected{
        {1, InvokeKind::propertyPut, {S("smtp.local")}},
        {3, InvokeKind::propertyPut, {S("u")}},
        {2, InvokeKind::propertyPut, {S("p w")}},
        {5, InvokeKind::propertyPut, {S("corvane@example.com")}},
        {15, InvokeKind::propertyPut, {S("Hi")}},
        {10, InvokeKind::propertyPut, {false}},
        {20, InvokeKind::propertyPut, {std::int32_t{25}}},
        {13, InvokeKind::method, {S("one@x")}},
        {13, InvokeKind::method, {S("two@x")}},
        {8, InvokeKind::method, {}},
    };
    EXPECT_EQ(m_calls, expected);
    EXPECT_EQ(m_created, 1);
    // A test is not an edit.
    EXPECT_EQ(m_doc.m_mail, before);
}

TEST_F(DlgMailTest, FailuresAreShownUnderErrorAndLeaveTheBarEmpty) {
    const std::string longText(300, 'x');
    Install("550 " + longText);
    CDlgMail dlg(nullptr, &m_doc);
    RunModal(dlg, [&] {
        wxTEST_DIALOG(Click(&dlg, CDlgMail::kIdSend),
                      CExpectMessage(wxID_OK, wxString("550 ") + wxString(longText.substr(0, 251)), "Error",
                                     wxICON_ERROR));
        EXPECT_EQ(Bar(dlg), 0);
        EXPECT_FALSE(dlg.IsShowingResult());
        // With no recipient the send is still asked for.
        ASSERT_FALSE(m_calls.empty());
        EXPECT_EQ(m_calls.back().id, 8);

        CAutomationRegistry::Unregister(CDlgMail::kProgId);
        m_calls.clear();
        wxTEST_DIALOG(Click(&dlg, CDlgMail::kIdSend),
                      CExpectMessage(wxID_OK, wxString(), "Error", wxICON_ERROR));
        EXPECT_TRUE(m_calls.empty());
        EXPECT_EQ(Bar(dlg), 0);
        Click(&dlg, wxID_CANCEL);
    });
}

} // namespace
