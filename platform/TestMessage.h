#pragma once
// The test message of a mail account, the one path by which both the mail account
// dialog and corvane-dix sendtest check an account.
#include <string>

class CMailAccount;

namespace corvane {

// What SendTestMessage returns when the login went over a connection that was not encrypted.
inline constexpr const char* kPlainLoginNotice =
    "The test message was sent, but the password went to the mail server unencrypted: the server offers no "
    "encrypted connection (STARTTLS). Anyone on the network path could read it.";

// Sends the test message through a fresh mail component ("Pelican.CoMailer"). The
// account's texts go out trimmed: server, user name, password, sender and subject, then
// encryption not required, the port, each recipient and Send. Returns when the server
// took the message: a notice for the operator (the password went unencrypted), or
// nothing. Throws COleException when the component cannot be created and
// COleDispatchException with the component's UTF-8 text when it reports a failure.
std::string SendTestMessage(const CMailAccount& account);

} // namespace corvane
