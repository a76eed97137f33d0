#include "app/CInstanceChannel.h"

#include "controls/WxText.h"

#include "platform/CFileLock.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <wx/ipc.h>
#include <wx/log.h>

namespace {

constexpr const char* kLockName = "corvane.lock";
constexpr const char* kSocketName = "corvane.socket";
constexpr const char* kTopic = "corvane";
// Leads every request, so that stray bytes are never taken for a file name.
constexpr std::string_view kMagic{"corvane-request-1\0", 18};
// How long a start waits for a program that holds the session but is still
// starting (or showing its start-up error).
constexpr std::chrono::seconds kAnswerWait{3};

class CRequestConnection : public wxConnection {
public:
    explicit CRequestConnection(std::shared_ptr<CInstanceChannel::Handler> handler)
        : m_pHandler(std::move(handler)) {}

    bool OnExecute(const wxString&, const void* data, size_t size, wxIPCFormat) override {
        const auto request = CInstanceChannel::Decode(data, size);
        if (request)
            (*m_pHandler)(*request);
        return request.has_value();
    }

private:
    std::shared_ptr<CInstanceChannel::Handler> m_pHandler;
};

class CRequestServer : public wxServer {
public:
    explicit CRequestServer(CInstanceChannel::Handler handler)
        : m_pHandler(std::make_shared<CInstanceChannel::Handler>(std::move(handler))) {}

    wxConnectionBase* OnAcceptConnection(const wxString& topic) override {
        return topic == kTopic ? new CRequestConnection(m_pHandler) : nullptr;
    }

private:
    std::shared_ptr<CInstanceChannel::Handler> m_pHandler;
};

bool Send(const std::string& socketPath, const CInstanceChannel::Request& request) {
    // A program that is still starting has no socket yet: not worth a message.
    wxLogNull quiet;
    wxClient client;
    std::unique_ptr<wxConnectionBase> connection(
        client.MakeConnection("localhost", PathToWx(socketPath), kTopic));
    if (!connection)
        return false;
    const std::string data = CInstanceChannel::Encode(request);
    const bool sent = connection->Execute(data.data(), data.size(), wxIPC_PRIVATE);
    connection->Disconnect();
    return sent;
}

} // namespace

std::string CInstanceChannel::Encode(const Request& request) {
    return std::string(kMagic) + request.startupId + '\0' + request.file;
}

std::optional<CInstanceChannel::Request> CInstanceChannel::Decode(const void* data, std::size_t size) {
    const std::string_view bytes(static_cast<const char*>(data), data ? size : 0);
    if (!bytes.starts_with(kMagic))
        return std::nullopt;
    const std::string_view rest = bytes.substr(kMagic.size());
    const auto nul = rest.find('\0');
    if (nul == std::string_view::npos || rest.find('\0', nul + 1) != std::string_view::npos)
        return std::nullopt;
    return Request{std::string(rest.substr(nul + 1)), std::string(rest.substr(0, nul))};
}

std::string CInstanceChannel::DefaultRuntimeDir() {
    const char* dir = std::getenv("XDG_RUNTIME_DIR");
    return dir && *dir == '/' ? dir : "";
}

CInstanceChannel::CInstanceChannel(std::string runtimeDir) : m_strDir(std::move(runtimeDir)) {}

CInstanceChannel::~CInstanceChannel() = default;

bool CInstanceChannel::HandOff(const Request& request) {
    if (m_strDir.empty())
        return false;
    // The lock goes with its process, however that ends: no stale lock to clear.
    const auto deadline = std::chrono::steady_clock::now() + kAnswerWait;
    for (;;) {
        auto lock = std::make_unique<CFileLock>(m_strDir + "/" + kLockName);
        if (lock->IsLocked()) {
            m_pLock = std::move(lock);
            return false;
        }
        if (!lock->IsHeldElsewhere())
            return false;
        if (Send(m_strDir + "/" + kSocketName, request))
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

bool CInstanceChannel::Listen(Handler handler) {
    if (!m_pLock)
        return false;
    wxLogNull quiet;
    auto server = std::make_unique<CRequestServer>(std::move(handler));
    if (!server->Create(PathToWx(m_strDir + "/" + kSocketName)))
        return false;
    m_pServer = std::move(server);
    return true;
}
