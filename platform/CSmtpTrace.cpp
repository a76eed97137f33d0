#include "platform/CSmtpTrace.h"

#include "platform/CurlSetup.h"

#include <algorithm>
#include <cctype>

namespace {

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
    return text;
}

// Splits `buffer` plus `bytes` into lines ended by LF (a CR before it is dropped) and
// hands each to `take`; an open line stays in `buffer`. False when that open line passed
// `cap` bytes.
template <class Take>
bool SplitLines(std::string& buffer, std::string_view bytes, std::size_t cap, Take take) {
    buffer.append(bytes);
    std::size_t start = 0;
    for (std::size_t eol; (eol = buffer.find('\n', start)) != std::string::npos; start = eol + 1) {
        std::string line = buffer.substr(start, eol - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        take(std::move(line));
    }
    buffer.erase(0, start);
    return buffer.size() <= cap;
}

} // namespace

void CSmtpTrace::Sent(std::string_view bytes) {
    if (!SplitLines(m_outBuffer, bytes, kMaxReplyBytes, [&](std::string line) { OnSent(line); }))
        m_outBuffer.clear(); // our own commands are short; a body line is of no interest
}

void CSmtpTrace::Received(std::string_view bytes) {
    if (tooLong)
        return;
    const bool fits = SplitLines(m_inBuffer, bytes, kMaxReplyBytes, [&](std::string line) {
        if (!tooLong)
            OnReceived(line);
    });
    if (!fits) {
        tooLong = true;
        m_inBuffer.clear();
    }
}

void CSmtpTrace::OnSent(const std::string& line) {
    if (m_bInAuthExchange || m_bQuitting)
        return; // SASL data is never kept
    const std::string verb = Upper(line.substr(0, line.find(' ')));
    if (verb == "QUIT") {
        m_bQuitting = true;
        return;
    }
    lastVerb = verb;
    if (verb == "EHLO" || verb == "HELO") {
        authOffered = false;
    } else if (verb == "AUTH") {
        authSent = true;
        m_bInAuthExchange = true;
    } else if (verb == "RCPT") {
        ++rcptCount;
    }
}

void CSmtpTrace::OnReceived(const std::string& line) {
    if (!m_bAnyLine && !line.empty()) {
        m_bAnyLine = true;
        if (!corvane::StartsWithReplyCode(line))
            otherGreeting = line.substr(0, 200);
    }
    if (line.size() < 3 || m_bQuitting)
        return;
    m_nPendingBytes += line.size();
    if (m_nPendingBytes > kMaxReplyBytes) {
        tooLong = true;
        return;
    }
    const bool more = line.size() > 3 && line[3] == '-';
    if (lastVerb == "EHLO" && line.size() > 4) {
        const std::string keyword = Upper(line.substr(4, 5));
        if (keyword == "AUTH " || keyword == "AUTH=")
            authOffered = true;
    }
    m_pendingReply.push_back(line);
    if (more)
        return;
    lastReply = std::move(m_pendingReply);
    m_pendingReply.clear();
    m_nPendingBytes = 0;
    const std::string code = line.substr(0, 3);
    lastCode = std::all_of(code.begin(), code.end(), [](unsigned char c) { return std::isdigit(c); })
                   ? std::stoi(code)
                   : 0;
    if (m_bInAuthExchange && lastCode != 334)
        m_bInAuthExchange = false;
    if (lastVerb == "STARTTLS" && lastCode == 220)
        tlsStarted = true;
    if (lastVerb == "DATA" && lastCode == 354)
        dataStarted = true;
    else if (lastVerb == "DATA" && dataStarted && lastCode / 100 == 2)
        messageAccepted = true;
}
