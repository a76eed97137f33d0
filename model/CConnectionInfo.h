#pragma once
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
    std::vector<std::uint32_t> m_arrReserved = std::vector<std::uint32_t>(5, 0);

    CConnectionInfo() = default;
    CConnectionInfo(const CConnectionInfo&) = default;
    CConnectionInfo(CConnectionInfo&&) noexcept = default;
    // Copies every member but the reserved list, which keeps the target's own entries.
    CConnectionInfo& operator=(const CConnectionInfo& other);
    CConnectionInfo& operator=(CConnectionInfo&& other) noexcept;

    void Serialize(CArchive& ar);
    // Two empty strings, an int, six flags and an empty reserved count.
    static constexpr std::size_t kMinFileSize = 1 + 4 + 1 + 1 + 6 + 4;
};
