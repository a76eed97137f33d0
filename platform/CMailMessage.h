#pragma once
// One plain-text Internet message as the mail component hands it to the server:
// headers folded and 8-bit header text encoded, so any server and reader takes it.
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

class CMailMessage {
public:
    // Mailboxes as the operator typed them ("addr" or "Name <addr>"), Windows-1252.
    std::string m_strFrom;
    std::vector<std::string> m_arrTo;
    // Windows-1252; line breaks and other controls are shown as blanks.
    std::string m_strSubject;
    // ASCII lines separated by "\n".
    std::string m_strBody;

    // The whole message with CRLF line ends. `idDomain` is the right side of the Message-ID.
    std::string Format(std::time_t now, const std::string& idDomain) const;

    // The address of a mailbox: the text between '<' and '>' when there is one, else the
    // whole text, trimmed.
    static std::string AddressOf(std::string_view mailbox);

    // The domain of an address, empty when it has none.
    static std::string DomainOf(std::string_view address);

    // Header text for a field whose name and ": " take `used` columns: ASCII text is
    // folded at blanks, other text becomes RFC 2047 encoded-words in UTF-8.
    static std::string EncodeHeaderText(std::string_view cp1252, std::size_t used);

    // RFC 5322 date, e.g. "Sat, 05 Dec 2026 17:30:00 +0100", in local time.
    static std::string FormatDate(std::time_t t);
};
