#pragma once
#include <cstdint>
#include <string>
#include <vector>

class CArchive;

// The account through which reports and the test message are mailed.
class CMailAccount {
public:
    static constexpr const char* kDefaultServer = "mail.example.com";
    static constexpr const char* kDefaultFrom = "corvane@example.com";

    std::string m_strServer = kDefaultServer;
    std::string m_strUser;
    std::string m_strPassword;
    std::int32_t m_nPort = 25;
    std::string m_strFrom = kDefaultFrom;
    std::string m_strSubject = "Test message";
    std::vector<std::string> m_arrRecipients;

    void Serialize(CArchive& ar);

    friend bool operator==(const CMailAccount&, const CMailAccount&) = default;
};
