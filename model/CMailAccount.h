#pragma once
#include "model/RecordField.h"

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

    // Every member once, by its JSON name. The subject goes into the message's header.
    static constexpr auto Fields() {
        using corvane::FieldKind;
        using F = CMailAccount;
        return std::tuple{
            corvane::RecordField{"server", &F::m_strServer, FieldKind::serverText},
            corvane::RecordField{"user", &F::m_strUser, FieldKind::serverText},
            corvane::RecordField{"password", &F::m_strPassword, FieldKind::password},
            corvane::RecordField{"port", &F::m_nPort},
            corvane::RecordField{"from", &F::m_strFrom, FieldKind::serverText},
            corvane::RecordField{"subject", &F::m_strSubject, FieldKind::serverText},
            corvane::RecordField{"recipients", &F::m_arrRecipients, FieldKind::serverText},
        };
    }

    void Serialize(CArchive& ar);

    friend bool operator==(const CMailAccount&, const CMailAccount&) = default;
};
