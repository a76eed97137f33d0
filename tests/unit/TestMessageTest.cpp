// The test message path against a recording mail component: the account arrives trimmed
// and typed as the component binds it, the component's failure text is kept, and a login
// in plain text comes back as a notice only when the component can tell.
#include "../common/RecordingMailer.h"

#include "model/CMailAccount.h"
#include "platform/MailerDispIds.h"
#include "platform/TestMessage.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

// The arguments of every call to member `id`, in order.
std::vector<CVariant> ArgumentsOf(const mailtest::CRecordingMailer& mailer, DISPID id) {
    std::vector<CVariant> out;
    for (const auto& call : mailer.calls)
        if (call.id == id && !call.args.empty())
            out.push_back(call.args[0]);
    return out;
}

struct NoticeCase {
    const char* name;
    std::optional<bool> plainLogin; // unset: the component has no such member
    const char* notice;
};

class TestMessage : public ::testing::TestWithParam<NoticeCase> {};

INSTANTIATE_TEST_SUITE_P(, TestMessage,
                         ::testing::Values(NoticeCase{"PlainLogin", true, corvane::kPlainLoginNotice},
                                           NoticeCase{"Encrypted", false, ""},
                                           NoticeCase{"ComponentCannotTell", std::nullopt, ""}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_P(TestMessage, SendsTheAccountTrimmedAndReportsAPlainLogin) {
    mailtest::CRecordingMailer mailer;
    if (GetParam().plainLogin)
        mailer.answers[comailer::dispidPlainLogin] = *GetParam().plainLogin;
    CMailAccount account;
    account.m_strServer = "  smtp.local ";
    account.m_strPassword = "p w \t";
    account.m_nPort = 2525;
    account.m_arrRecipients = {" one@x ", "two@x"};
    EXPECT_EQ(corvane::SendTestMessage(account), GetParam().notice);
    using S = std::string;
    EXPECT_EQ(ArgumentsOf(mailer, comailer::dispidServer), std::vector<CVariant>{S("smtp.local")});
    EXPECT_EQ(ArgumentsOf(mailer, comailer::dispidPassword), std::vector<CVariant>{S("p w")});
    EXPECT_EQ(ArgumentsOf(mailer, comailer::dispidPort), std::vector<CVariant>{std::int32_t{2525}});
    EXPECT_EQ(ArgumentsOf(mailer, comailer::dispidAddRecipient),
              (std::vector<CVariant>{S("one@x"), S("two@x")}));
    EXPECT_EQ(mailer.created, 1);
}

TEST(TestMessageFailure, CarriesTheComponentsTextAndAMissingComponentIsNamed) {
    mailtest::CRecordingMailer mailer;
    mailer.failure = "550 refused";
    try {
        corvane::SendTestMessage(CMailAccount());
        ADD_FAILURE() << "no failure";
    } catch (const COleDispatchException& e) {
        EXPECT_EQ(e.m_strDescription, "550 refused");
    }
    CAutomationRegistry::Unregister(comailer::kProgId);
    EXPECT_THROW(corvane::SendTestMessage(CMailAccount()), COleException);
}

} // namespace
