#include "ProbeCommand.h"

#include "model/CCorvaneDoc.h"
#include "model/CodePage.h"
#include "platform/CRemoteFolderSession.h"
#include "platform/StandardComponents.h"

#include <algorithm>
#include <cctype>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr const char* kProbeUsage = "usage: corvane-dix probe FILE [--host HOST] [--path PATH]\n";

bool SameHost(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// One terminal line with the connection's passwords masked, should a server echo them.
std::string Masked(std::string text, const CConnectionInfo& c, const CProxySettings& proxy) {
    for (const std::string* secret : {&c.m_strPassword, &proxy.m_strPassword}) {
        if (secret->size() < 3)
            continue;
        for (auto pos = text.find(*secret); pos != std::string::npos; pos = text.find(*secret, pos))
            text.replace(pos, secret->size(), "********");
    }
    std::replace_if(
        text.begin(), text.end(), [](char ch) { return ch == '\r' || ch == '\n'; }, ' ');
    return text;
}

} // namespace

int RunProbeCommand(int argc, char** argv) {
    std::string file, host, path = "/";
    bool hostGiven = false;
    for (int i = 0; i < argc; ++i) {
        const std::string a = argv[i];
        if ((a == "--host" || a == "--path") && i + 1 < argc) {
            const std::string value = argv[++i];
            if (a == "--host") {
                // Arguments arrive as UTF-8; the project's text is Windows-1252.
                host = corvane::Utf8ToCp1252(value);
                hostGiven = true;
            } else {
                // Goes to the server as the bytes given, as a stored FTP folder does.
                path = value;
            }
        } else if (file.empty() && a.rfind("--", 0) != 0) {
            file = a;
        } else {
            std::cerr << kProbeUsage;
            return 2;
        }
    }
    if (file.empty()) {
        std::cerr << kProbeUsage;
        return 2;
    }
    CCorvaneDoc doc;
    std::string error;
    if (doc.OnOpenDocument(file, error) != CCorvaneDoc::OpenResult::ok) {
        std::cerr << "corvane-dix: " << error << "\n";
        return 1;
    }
    corvane::RegisterStandardComponents();
    int probed = 0;
    bool allOk = true;
    for (const CConnectionInfo& c : doc.m_arrConnections) {
        if (hostGiven && !SameHost(c.m_strHost, host))
            continue;
        ++probed;
        // As the connection test opens and the folder browser lists; closing is a courtesy.
        CRemoteFolderSession session;
        std::vector<CRemoteItem> items;
        CRemoteFolderSession::Result result =
            session.Open(c, doc.m_proxy, CRemoteFolderSession::ProxyRule::connectionTest);
        if (result)
            result = session.List(path.empty() ? std::string("/") : path, items);
        session.Close();
        std::cout << corvane::Cp1252ToUtf8(c.m_strHost) << ": "
                  << (result ? std::string("OK")
                             : corvane::Cp1252ToUtf8(Masked(result.strError, c, doc.m_proxy)))
                  << "\n";
        // The folders the browser shows, under the names it shows.
        for (const CRemoteItem& item : items)
            if (item.IsBrowsable())
                std::cout << "  " << corvane::RemoteNameToUtf8(Masked(item.strName, c, doc.m_proxy)) << "\n";
        std::cout.flush();
        allOk = allOk && result;
    }
    if (probed == 0) {
        std::cerr << "corvane-dix: "
                  << (hostGiven ? "no connection of the project has the host " + corvane::Cp1252ToUtf8(host)
                                : std::string("the project has no FTP connections"))
                  << "\n";
        return 1;
    }
    return allOk ? 0 : 1;
}
