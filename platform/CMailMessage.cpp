#include "platform/CMailMessage.h"

#include "model/CodePage.h"

#include <cstdint>
#include <cstdio>
#include <random>

namespace {

// RFC 5322 asks for lines of at most 78 characters; longer ones are legal but get mangled.
constexpr std::size_t kLineLimit = 78;
// UTF-8 bytes per encoded-word: 39 bytes become 52 base64 characters, 64 with the frame.
constexpr std::size_t kBytesPerWord = 39;

bool IsAscii(std::string_view s) {
    for (const unsigned char c : s)
        if (c >= 0x80)
            return false;
    return true;
}

using corvane::Trim;

// A header value must never break the header block open.
std::string Blank(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7f)
            c = ' ';
    }
    return out;
}

std::string Base64(std::string_view bytes) {
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const std::uint32_t v = (static_cast<unsigned char>(bytes[i]) << 16) |
                                (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                                static_cast<unsigned char>(bytes[i + 2]);
        out += kAlphabet[(v >> 18) & 63];
        out += kAlphabet[(v >> 12) & 63];
        out += kAlphabet[(v >> 6) & 63];
        out += kAlphabet[v & 63];
    }
    if (i + 1 == bytes.size()) {
        const std::uint32_t v = static_cast<unsigned char>(bytes[i]) << 16;
        out += kAlphabet[(v >> 18) & 63];
        out += kAlphabet[(v >> 12) & 63];
        out += "==";
    } else if (i + 2 == bytes.size()) {
        const std::uint32_t v =
            (static_cast<unsigned char>(bytes[i]) << 16) | (static_cast<unsigned char>(bytes[i + 1]) << 8);
        out += kAlphabet[(v >> 18) & 63];
        out += kAlphabet[(v >> 12) & 63];
        out += kAlphabet[(v >> 6) & 63];
        out += '=';
    }
    return out;
}

// UTF-8 encoded-words, each cut at a character boundary, separated by folding white space
// (which readers drop between adjacent encoded-words).
std::string EncodedWords(std::string_view cp1252) {
    const std::string utf8 = corvane::Cp1252ToUtf8(cp1252);
    std::string out;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        std::size_t end = std::min(pos + kBytesPerWord, utf8.size());
        while (end < utf8.size() && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80)
            --end;
        if (!out.empty())
            out += "\r\n ";
        out += "=?UTF-8?B?" + Base64(std::string_view(utf8).substr(pos, end - pos)) + "?=";
        pos = end;
    }
    return out;
}

// Folds ASCII text at blanks so that no line passes the limit where a blank allows it.
std::string Fold(std::string_view text, std::size_t used) {
    std::string out;
    std::size_t column = used;
    std::size_t pos = 0;
    bool first = true;
    while (pos <= text.size()) {
        auto blank = text.find(' ', pos);
        if (blank == std::string_view::npos)
            blank = text.size();
        const std::string_view word = text.substr(pos, blank - pos);
        if (first) {
            out += word;
            column += word.size();
            first = false;
        } else if (column + 1 + word.size() > kLineLimit && column > 1) {
            out += "\r\n ";
            out += word;
            column = 1 + word.size();
        } else {
            out += ' ';
            out += word;
            column += 1 + word.size();
        }
        pos = blank + 1;
    }
    return out;
}

// "Name <addr>" with the name quoted or encoded as it needs; a bare address as it is.
std::string FormatMailbox(std::string_view mailbox) {
    const std::string_view text = Trim(mailbox);
    const std::string address = corvane::Cp1252ToUtf8(CMailMessage::AddressOf(text));
    const auto open = text.find('<');
    if (open == std::string_view::npos)
        return Blank(address);
    std::string_view name = Trim(text.substr(0, open));
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"')
        name = name.substr(1, name.size() - 2);
    if (name.empty())
        return "<" + Blank(address) + ">";
    std::string shown;
    if (!IsAscii(name)) {
        shown = EncodedWords(name);
    } else if (name.find_first_of("()<>[]:;@\\,.\"") != std::string_view::npos) {
        shown = "\"";
        for (const char c : Blank(name)) {
            if (c == '"' || c == '\\')
                shown += '\\';
            shown += c;
        }
        shown += '"';
    } else {
        shown = Blank(name);
    }
    return shown + " <" + Blank(address) + ">";
}

std::string MessageId(std::time_t now, const std::string& domain) {
    std::random_device rd;
    const std::uint64_t r = (static_cast<std::uint64_t>(rd()) << 32) | rd();
    char buf[64];
    std::snprintf(buf, sizeof buf, "%016llx.%lld", static_cast<unsigned long long>(r),
                  static_cast<long long>(now));
    return std::string("<") + buf + "@" + (domain.empty() ? "localhost" : domain) + ">";
}

} // namespace

std::string CMailMessage::AddressOf(std::string_view mailbox) {
    const std::string_view text = Trim(mailbox);
    const auto open = text.rfind('<');
    if (open != std::string_view::npos) {
        const auto close = text.find('>', open);
        if (close != std::string_view::npos)
            return std::string(Trim(text.substr(open + 1, close - open - 1)));
    }
    return std::string(text);
}

std::string CMailMessage::DomainOf(std::string_view address) {
    const auto at = address.rfind('@');
    return at == std::string_view::npos ? std::string() : std::string(address.substr(at + 1));
}

std::string CMailMessage::EncodeHeaderText(std::string_view cp1252, std::size_t used) {
    const std::string text = Blank(cp1252);
    // Plain text that merely looks like an encoded-word must be encoded too, or readers decode it.
    if (IsAscii(text) && text.find("=?") == std::string::npos)
        return Fold(text, used);
    return EncodedWords(text);
}

std::string CMailMessage::FormatDate(std::time_t t) {
    static constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::tm tm{};
    localtime_r(&t, &tm);
    const long offset = tm.tm_gmtoff / 60;
    const long absOffset = offset < 0 ? -offset : offset;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%s, %02d %s %04d %02d:%02d:%02d %c%02ld%02ld", kDays[tm.tm_wday % 7],
                  tm.tm_mday, kMonths[tm.tm_mon % 12], tm.tm_year + 1900, tm.tm_hour, tm.tm_min, tm.tm_sec,
                  offset < 0 ? '-' : '+', absOffset / 60, absOffset % 60);
    return buf;
}

std::string CMailMessage::Format(std::time_t now, const std::string& idDomain) const {
    std::string m;
    m += "Date: " + FormatDate(now) + "\r\n";
    m += "From: " + FormatMailbox(m_strFrom) + "\r\n";
    std::string to = "To: ";
    std::size_t column = to.size();
    if (m_arrTo.empty())
        to += "undisclosed-recipients:;";
    for (std::size_t i = 0; i < m_arrTo.size(); ++i) {
        const std::string box = FormatMailbox(m_arrTo[i]);
        if (i > 0) {
            if (column + 2 + box.size() > kLineLimit) {
                to += ",\r\n ";
                column = 1;
            } else {
                to += ", ";
                column += 2;
            }
        }
        to += box;
        column += box.size();
    }
    m += to + "\r\n";
    m += "Subject: " + EncodeHeaderText(m_strSubject, 9) + "\r\n";
    m += "Message-ID: " + MessageId(now, idDomain) + "\r\n";
    m += "MIME-Version: 1.0\r\n";
    const bool ascii = IsAscii(m_strBody);
    m += std::string("Content-Type: text/plain; charset=") + (ascii ? "us-ascii" : "UTF-8") + "\r\n";
    m += std::string("Content-Transfer-Encoding: ") + (ascii ? "7bit" : "8bit") + "\r\n";
    m += "\r\n";
    const std::string body = corvane::Cp1252ToUtf8(m_strBody);
    for (const char c : body) {
        if (c == '\n')
            m += "\r\n";
        else if (c != '\r')
            m += c;
    }
    if (m.size() < 2 || m.compare(m.size() - 2, 2, "\r\n") != 0)
        m += "\r\n";
    return m;
}
