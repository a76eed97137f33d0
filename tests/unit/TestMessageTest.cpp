// The test message path against a recording mail component: which members, in which
// order, with which values and types.
#include "../common/RecordingMailer.h"

#include "model/CMailAccount.h"
#include "platform/TestMessage.h"

#include <gtest/gtest.h>

using mailtest::CCall;

TEST(TestMessage, SendsTheAccountTrimmedInTheComponentsOrder) {
    mailtest::CRecordingMailer mailer;
    CMailAccount account;
    account.m_strServer = "  smtp.local ";
    account.m_strUser = " u ";
    account.m_strPassword = "p w \t";
    account.m_strFrom = "me@x\r\n";
    account.m_strSubject = " Hi\t";
    account.m_nPort = 2525;
    account.m_arrRecipients = {" one@x ", "two@x"};
    corvane::SendTestMessage(account);
    using S = std::string;
    const std::vector<CCall> expected{
        {1, InvokeKind::propertyPut, {S("smtp.local")}},
        {3, InvokeKind::propertyPut, {S("u")}},
        {2, InvokeKind::propertyPut, {S("p w")}},
        {5, InvokeKind::propertyPut, {S("me@x")}},
        {15, InvokeKind::propertyPut, {S("Hi")}},
        {10, InvokeKind::propertyPut, {false}},
        {20, InvokeKind::propertyPut, {std::int32_t{2525}}},
        {13, InvokeKind::method, {S("one@x")}},
        {13, InvokeKind::method, {S("two@x")}},
        {8, InvokeKind::method, {}},
    };
    EXPECT_EQ(mailer.calls, expected);
    EXPECT_EQ(mailer.created, 1);
}

TEST(TestMessage, FailuresCarryTheComponentsTextAndNoRecipientStillSends) {
    mailtest::CRecordingMailer mailer;
    mailer.failure = "550 refused";
    try {
        corvane::SendTestMessage(CMailAccount());
        ADD_FAILURE() << "no failure";
    } catch (const COleDispatchException& e) {
        EXPECT_EQ(e.m_strDescription, "550 refused");
    }
    ASSERT_FALSE(mailer.calls.empty());
    EXPECT_EQ(mailer.calls.back().id, CMailComponent::dispidSend);

    CAutomationRegistry::Unregister(CMailComponent::kProgId);
    EXPECT_THROW(corvane::SendTestMessage(CMailAccount()), COleException);
}
