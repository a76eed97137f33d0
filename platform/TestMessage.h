#pragma once
// The test message of a mail account, the one path by which both the mail account
// dialog and corvane-dix sendtest check an account.
class CMailAccount;

namespace corvane {

// Sends the test message through a fresh mail component ("Pelican.CoMailer"). The
// account's texts go out trimmed: server, user name, password, sender and subject, then
// encryption not required, the port, each recipient and Send. Returns when the server
// took the message; throws COleException when the component cannot be created and
// COleDispatchException with the component's UTF-8 text when it reports a failure.
void SendTestMessage(const CMailAccount& account);

} // namespace corvane
