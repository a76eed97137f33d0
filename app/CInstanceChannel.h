#pragma once
// One running program per user session. The first start holds a lock in
// $XDG_RUNTIME_DIR and listens on a socket beside it; a later start hands its
// project file (or only its wish to see the window) to that program and ends.
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class CFileLock;
class wxServerBase;

class CInstanceChannel {
public:
    // What a later start asks of the running program.
    struct Request {
        // Absolute path of the project to open; empty: only bring the window up.
        std::string file;
        // The launcher's start-up token, which lets the window take the focus.
        std::string startupId;
        bool operator==(const Request&) const = default;
    };
    using Handler = std::function<void(const Request&)>;

    // The bytes that travel; Decode gives nullopt for anything that is not a request.
    static std::string Encode(const Request& request);
    static std::optional<Request> Decode(const void* data, std::size_t size);

    // $XDG_RUNTIME_DIR; empty when the session has none (then every start runs alone).
    static std::string DefaultRuntimeDir();
    explicit CInstanceChannel(std::string runtimeDir = DefaultRuntimeDir());
    ~CInstanceChannel();
    CInstanceChannel(const CInstanceChannel&) = delete;
    CInstanceChannel& operator=(const CInstanceChannel&) = delete;

    // True when `request` went to the program already running in the session.
    // Otherwise this process now holds the session, or runs alone when the one
    // that holds it has not answered for a few seconds.
    bool HandOff(const Request& request);
    // Takes the requests of later starts; `handler` runs on the user-interface
    // thread. False when this process does not hold the session.
    bool Listen(Handler handler);

private:
    std::string m_strDir;
    // Held while this process is the session's program.
    std::unique_ptr<CFileLock> m_pLock;
    std::unique_ptr<wxServerBase> m_pServer;
};
