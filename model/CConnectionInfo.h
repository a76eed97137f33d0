#pragma once
#include "model/RecordField.h"

#include <cstdint>
#include <string>
#include <vector>

class CArchive;

// One FTP connection. Profiles refer to it by its host text only.
class CConnectionInfo {
public:
    static constexpr const char* kDefaultPassword = "guest@example.com";

    std::string m_strHost = "127.0.0.1";
    std::int32_t m_nPort = 21;
    std::string m_strUser = "anonymous";
    std::string m_strPassword = kDefaultPassword;
    bool m_bUseProxy = false;
    bool m_bShowPassword = false;
    bool m_bTestPassed = false;
    bool m_bPassive = false;
    bool m_bUseWinInet = false;
    bool m_bSpare = true;
    std::vector<std::uint32_t> m_arrReserved = corvane::NewReservedList();

    CConnectionInfo() = default;
    CConnectionInfo(const CConnectionInfo&) = default;
    CConnectionInfo(CConnectionInfo&&) noexcept = default;
    // Copies every member but the reserved list, which keeps the target's own entries.
    CConnectionInfo& operator=(const CConnectionInfo& other);
    CConnectionInfo& operator=(CConnectionInfo&& other) noexcept;

    // Every member once, by its JSON name.
    static constexpr auto Fields() {
        using corvane::FieldKind;
        using F = CConnectionInfo;
        return std::tuple{
            corvane::RecordField{"host", &F::m_strHost, FieldKind::serverText},
            corvane::RecordField{"port", &F::m_nPort},
            corvane::RecordField{"user", &F::m_strUser, FieldKind::serverText},
            corvane::RecordField{"password", &F::m_strPassword, FieldKind::password},
            corvane::RecordField{"useProxy", &F::m_bUseProxy},
            corvane::RecordField{"passive", &F::m_bPassive},
            corvane::RecordField{"showPassword", &F::m_bShowPassword},
            corvane::RecordField{"testPassed", &F::m_bTestPassed},
            corvane::RecordField{"useWinInet", &F::m_bUseWinInet},
            corvane::RecordField{"spare", &F::m_bSpare},
            corvane::RecordField{"reserved", &F::m_arrReserved, FieldKind::reserved},
        };
    }

    void Serialize(CArchive& ar);
    // Three empty strings, an int, six flags and an empty reserved count.
    static constexpr std::size_t kMinFileSize = 1 + 4 + 1 + 1 + 6 + 4;
};
