#pragma once
#include "model/RecordField.h"

#include <cstdint>
#include <string>

class CArchive;

// The project's proxy; every connection with m_bUseProxy set goes through it.
class CProxySettings {
public:
    // Codes as stored in the file. The proxy dialog lists them in another order, and the FTP
    // component has codes of its own: platform/ProxyTypes.h maps between them.
    enum Type : std::int32_t { typeSocks4 = 0, typeSocks4A = 1, typeSocks5 = 2, typeHttp = 3, typeNone = 4 };
    static constexpr const char* kDefaultHost = "proxy.example.com";

    std::string m_strHost = kDefaultHost;
    std::string m_strUser = "anonymous";
    std::string m_strPassword;
    std::int32_t m_nPort = 8190;
    bool m_bShowPassword = false;
    std::int32_t m_nType = typeNone;

    // What a new project does: every member back to its default.
    void Reset() { *this = CProxySettings(); }
    // Every member once, by its JSON name.
    static constexpr auto Fields() {
        using corvane::FieldKind;
        using F = CProxySettings;
        return std::tuple{
            corvane::RecordField{"host", &F::m_strHost, FieldKind::serverText},
            corvane::RecordField{"user", &F::m_strUser, FieldKind::serverText},
            corvane::RecordField{"password", &F::m_strPassword, FieldKind::password},
            corvane::RecordField{"port", &F::m_nPort},
            corvane::RecordField{"type", &F::m_nType},
            corvane::RecordField{"showPassword", &F::m_bShowPassword},
        };
    }

    void Serialize(CArchive& ar);

    friend bool operator==(const CProxySettings&, const CProxySettings&) = default;
};
