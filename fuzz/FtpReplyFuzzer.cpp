// libFuzzer target for the FTP session's reply reader: a server on loopback answers a
// login with the input's bytes and then ends its side. Whatever it says, the session
// ends in its own error or logged in, never in a crash, a hang or a leak.
#include "platform/CFtpSession.h"
#include "platform/CInternetException.h"
#include "platform/NetTimeouts.h"

#include <arpa/inet.h>
#include <cstddef>
#include <cstdint>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

// A listening socket on 127.0.0.1 for the whole run.
struct CListener {
    CListener() {
        fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            ::listen(fd, 8) != 0 || ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            __builtin_trap();
        port = ntohs(address.sin_port);
    }
    int fd = -1;
    std::uint16_t port = 0;
};

// Sends `replies`, ends the server's side, and takes the commands until the client closes.
void Serve(int listener, std::string replies) {
    const int peer = ::accept(listener, nullptr, nullptr);
    if (peer < 0)
        return;
    for (std::size_t sent = 0; sent < replies.size();) {
        const ssize_t n = ::send(peer, replies.data() + sent, replies.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            break;
        sent += static_cast<std::size_t>(n);
    }
    ::shutdown(peer, SHUT_WR);
    char sink[4096];
    while (::recv(peer, sink, sizeof sink, 0) > 0) {
    }
    ::close(peer);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static CListener listener;
    static corvane::ScopedNetTimeouts quick(
        {std::chrono::milliseconds(2000), std::chrono::milliseconds(2000)});
    std::thread server(Serve, listener.fd, std::string(reinterpret_cast<const char*>(data), size));
    CFtpSessionOptions options;
    options.strHost = "127.0.0.1";
    options.nPort = listener.port;
    options.strUser = "user";
    options.strPassword = "S3cretPw12";
    {
        CFtpSession session;
        try {
            session.Open(options);
        } catch (const CInternetException&) {
        }
        session.Close();
    }
    server.join();
    return 0;
}
