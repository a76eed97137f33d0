#pragma once
// The SMTP reply reader of the mail component: what the server said and what we last
// asked, read from the session's protocol trace (libcurl's), so that a failure can name
// the refused address, quote the server and say how far the session got.
//
// Bounded: one reply, all its lines together, is read up to kMaxReplyBytes; a longer one
// sets tooLong and nothing after it is read. Never throws but std::bad_alloc.
#include <string>
#include <string_view>
#include <vector>

class CSmtpTrace {
public:
    static constexpr std::size_t kMaxReplyBytes = 8192;

    // Bytes as the session sent or received them, in pieces of any size.
    void Sent(std::string_view bytes);
    void Received(std::string_view bytes);

    // Verb of the last command sent, upper case ("EHLO", "MAIL", ...; never QUIT).
    std::string lastVerb;
    // How many RCPT commands were sent: the last one names recipient rcptCount - 1.
    std::size_t rcptCount = 0;
    // The last complete reply, its lines as received (without line ends), and its code.
    std::vector<std::string> lastReply;
    int lastCode = 0;
    // The latest EHLO reply offered AUTH (a new EHLO after STARTTLS replaces it).
    bool authOffered = false;
    // The session sent AUTH; the SASL exchange that follows is never kept.
    bool authSent = false;
    // The server agreed to STARTTLS (220): what followed was encrypted.
    bool tlsStarted = false;
    // The server answered DATA with 354: a later refusal is of the message itself.
    bool dataStarted = false;
    // The server took the message (2xx after its end).
    bool messageAccepted = false;
    // The first line, when it is no mail server's greeting (corvane::StartsWithReplyCode).
    std::string otherGreeting;
    // A reply grew past kMaxReplyBytes, or one line of it did.
    bool tooLong = false;

private:
    void OnSent(const std::string& line);
    void OnReceived(const std::string& line);

    bool m_bInAuthExchange = false;
    // QUIT ends every session, failed or not; its "221" must not hide the reply that mattered.
    bool m_bQuitting = false;
    bool m_bAnyLine = false;
    std::vector<std::string> m_pendingReply;
    std::size_t m_nPendingBytes = 0;
    std::string m_inBuffer;
    std::string m_outBuffer;
};
