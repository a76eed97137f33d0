#include "platform/CCoFtp.h"

#include "platform/CAutomationRegistry.h"
#include "platform/CInternetException.h"
#include "platform/COleException.h"
#include "platform/CoFtpDispIds.h"
#include "platform/ProxyTypes.h"

namespace {

// The system texts of the dispatch failures a late-bound caller can cause.
[[noreturn]] void MemberNotFound() {
    throw COleException("Member not found.");
}
[[noreturn]] void TypeMismatch() {
    throw COleException("Type mismatch.");
}
[[noreturn]] void BadParamCount() {
    throw COleException("Invalid number of parameters.");
}

template <typename T> T Arg(const std::vector<CVariant>& args) {
    if (args.size() != 1)
        BadParamCount();
    const T* value = std::get_if<T>(&args[0]);
    if (!value)
        TypeMismatch();
    return *value;
}

void NoArgs(const std::vector<CVariant>& args) {
    if (!args.empty())
        BadParamCount();
}

std::string Lines(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines)
        out += line + "\n";
    return out;
}

class CCoFtpItem : public IDispatch {
public:
    explicit CCoFtpItem(CFtpFileInfo info) : m_info(std::move(info)) {}

    CVariant Invoke(DISPID id, InvokeKind kind, const std::vector<CVariant>& args) override {
        if (kind != InvokeKind::propertyGet)
            MemberNotFound();
        NoArgs(args);
        switch (id) {
        case coftp::dispidName:
            return m_info.strName;
        case coftp::dispidKind:
            switch (m_info.type) {
            case corvane::FtpListEntry::Type::file:
                return std::int32_t{coftp::kindFile};
            case corvane::FtpListEntry::Type::folder:
                return std::int32_t{coftp::kindFolder};
            case corvane::FtpListEntry::Type::link:
                return std::int32_t{coftp::kindLink};
            default:
                return std::int32_t{coftp::kindOther};
            }
        default:
            MemberNotFound();
        }
    }

private:
    CFtpFileInfo m_info;
};

class CCoFtpListing : public IDispatch {
public:
    explicit CCoFtpListing(std::vector<CFtpFileInfo> entries) : m_arrEntries(std::move(entries)) {}

    CVariant Invoke(DISPID id, InvokeKind kind, const std::vector<CVariant>& args) override {
        if (id == coftp::dispidCount && kind == InvokeKind::propertyGet) {
            NoArgs(args);
            return static_cast<std::int32_t>(m_arrEntries.size());
        }
        if (id == coftp::dispidItem && kind == InvokeKind::method) {
            const std::int16_t index = Arg<std::int16_t>(args);
            if (index < 0 || static_cast<std::size_t>(index) >= m_arrEntries.size())
                throw COleDispatchException("The listing has no entry " + std::to_string(index) + ".");
            return std::shared_ptr<IDispatch>(std::make_shared<CCoFtpItem>(m_arrEntries[index]));
        }
        MemberNotFound();
    }

private:
    std::vector<CFtpFileInfo> m_arrEntries;
};

} // namespace

void CCoFtp::Register() {
    CAutomationRegistry::Register(coftp::kProgId, [] { return std::make_shared<CCoFtp>(); });
}

CVariant CCoFtp::Invoke(DISPID id, InvokeKind kind, const std::vector<CVariant>& args) {
    switch (kind) {
    case InvokeKind::propertyPut:
        PutProperty(id, args);
        return {};
    case InvokeKind::propertyGet:
        NoArgs(args);
        return GetProperty(id);
    case InvokeKind::method:
        return CallMethod(id, args);
    }
    MemberNotFound();
}

void CCoFtp::PutProperty(DISPID id, const std::vector<CVariant>& args) {
    switch (id) {
    case coftp::dispidHost:
        m_options.strHost = Arg<std::string>(args);
        return;
    case coftp::dispidPort:
        m_options.nPort = static_cast<std::uint16_t>(Arg<std::int16_t>(args));
        return;
    case coftp::dispidUser:
        m_options.strUser = Arg<std::string>(args);
        return;
    case coftp::dispidPassword:
        m_options.strPassword = Arg<std::string>(args);
        return;
    case coftp::dispidPassive:
        m_options.bPassive = Arg<std::int32_t>(args) != 0;
        return;
    case coftp::dispidProxyType: {
        const std::int32_t type = Arg<std::int32_t>(args);
        const corvane::ProxyTypeRow* row = corvane::ProxyTypeByComponentCode(type);
        if (!row)
            throw COleDispatchException("Unknown proxy type " + std::to_string(type) + ".");
        m_options.proxy = row->kind;
        return;
    }
    case coftp::dispidProxyUser:
        m_options.strProxyUser = Arg<std::string>(args);
        return;
    case coftp::dispidProxyPassword:
        m_options.strProxyPassword = Arg<std::string>(args);
        return;
    case coftp::dispidProxyHost:
        m_options.strProxyHost = Arg<std::string>(args);
        return;
    case coftp::dispidProxyPort:
        m_options.nProxyPort = static_cast<std::uint16_t>(Arg<std::int16_t>(args));
        return;
    case coftp::dispidTimeout:
        m_nTimeout = Arg<std::int16_t>(args);
        return;
    case coftp::dispidFlags:
        m_nFlags = Arg<std::int32_t>(args);
        return;
    default:
        MemberNotFound();
    }
}

CVariant CCoFtp::GetProperty(DISPID id) {
    switch (id) {
    case coftp::dispidListing:
        if (!m_pListing)
            m_pListing = std::make_shared<CCoFtpListing>(std::vector<CFtpFileInfo>{});
        return m_pListing;
    case coftp::dispidTimeout:
        return m_nTimeout;
    case coftp::dispidFlags:
        return m_nFlags;
    case coftp::dispidTranscript:
        return m_pSession ? Lines(m_pSession->GetTranscript()) : std::string();
    case coftp::dispidWarnings:
        return m_pSession ? Lines(m_pSession->GetWarnings()) : std::string();
    default:
        MemberNotFound();
    }
}

CVariant CCoFtp::CallMethod(DISPID id, const std::vector<CVariant>& args) {
    switch (id) {
    case coftp::dispidConnect:
        NoArgs(args);
        Connect();
        return {};
    case coftp::dispidLogin:
        NoArgs(args);
        Login();
        return {};
    case coftp::dispidDisconnect:
        NoArgs(args);
        Disconnect();
        return {};
    case coftp::dispidChangeDirectory:
        ChangeDirectory(Arg<std::string>(args));
        return {};
    case coftp::dispidList:
        List(Arg<std::string>(args));
        return {};
    default:
        MemberNotFound();
    }
}

void CCoFtp::Connect() {
    if (m_pSession && m_pSession->IsOpen())
        throw COleDispatchException("The session is already open; disconnect first.");
    if (m_options.strHost.empty())
        throw COleDispatchException("No server host name was given.");
    m_pSession = std::make_unique<CFtpSession>();
    m_bPrepared = true;
}

void CCoFtp::Login() {
    if (!m_bPrepared || !m_pSession)
        throw COleDispatchException("Connect must be called before Login.");
    try {
        m_pSession->Open(m_options);
    } catch (const CInternetException& e) {
        throw COleDispatchException(e.GetErrorMessage(), e.m_dwError);
    }
}

void CCoFtp::Disconnect() {
    m_bPrepared = false;
    if (m_pSession)
        m_pSession->Close();
}

void CCoFtp::ChangeDirectory(const std::string& path) {
    if (!m_pSession || !m_pSession->IsOpen())
        throw COleDispatchException("Not connected.");
    try {
        m_pSession->ChangeDirectory(path);
    } catch (const CInternetException& e) {
        throw COleDispatchException(e.GetErrorMessage(), e.m_dwError);
    }
}

void CCoFtp::List(const std::string& mask) {
    if (!m_pSession || !m_pSession->IsOpen())
        throw COleDispatchException("Not connected.");
    std::vector<CFtpFileInfo> entries;
    try {
        entries = m_pSession->List();
    } catch (const CInternetException& e) {
        throw COleDispatchException(e.GetErrorMessage(), e.m_dwError);
    }
    // The component keeps every entry the server sent except the folder itself and its parent.
    std::vector<CFtpFileInfo> kept;
    kept.reserve(entries.size());
    const bool all = mask.empty() || mask == "*" || mask == "*.*";
    for (CFtpFileInfo& e : entries) {
        if (e.strName == "." || e.strName == "..")
            continue;
        if (!all && !corvane::WildcardMatch(mask, e.strName))
            continue;
        kept.push_back(std::move(e));
    }
    m_pListing = std::make_shared<CCoFtpListing>(std::move(kept));
}
