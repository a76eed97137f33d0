// The test message path against a recording mail component: the component's failure text is
// kept, and a login in plain text comes back as a notice only when the component can tell.
// What reaches a real server (the account trimmed): MailSendTestCommandTest.
#include "standins/RecordingMailer.h"

#include "model/CMailAccount.h"
#include "platform/MailerDispIds.h"
#include "platform/TestMessage.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

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

TEST_P(TestMessage, ReportsAPlainLoginOnlyWhenTheComponentSaysSo) {
    mailtest::CRecordingMailer mailer;
    if (GetParam().plainLogin)
        mailer.answers[comailer::dispidPlainLogin] = *GetParam().plainLogin;
    CMailAccount account;
    account.m_arrRecipients = {"one@x"};
    EXPECT_EQ(corvane::SendTestMessage(account), GetParam().notice);
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
