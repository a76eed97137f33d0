#include "ProbeCommand.h"

#include "model/CCorvaneDoc.h"
#include "model/CodePage.h"
#include "model/SecretText.h"
#include "model/VisibleText.h"
#include "platform/CRemoteFolderSession.h"
#include "platform/StandardComponents.h"

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr const char* kProbeUsage = "usage: corvane-dix probe FILE [--host HOST] [--path PATH]\n";

// Server text as one terminal line, the passwords it was sent masked: UTF-8 as the
// browser shows it, never a '?' for what the code page cannot hold.
std::string ServerLine(const std::string& serverBytes, const CConnectionInfo& c,
                       const CProxySettings& proxy) {
    std::string text = corvane::MaskSecretsIn(serverBytes, {c.m_strPassword, proxy.m_strPassword});
    std::replace_if(
        text.begin(), text.end(), [](char ch) { return ch == '\r' || ch == '\n'; }, ' ');
    return corvane::RemoteNameToUtf8(text);
}

// A listing name as the browser shows it: never masked, for a folder's name is what the
// operator reads and picks, whatever a password happens to look like.
std::string NameLine(const std::string& serverBytes) {
    return corvane::VisibleText(corvane::RemoteNameToUtf8(serverBytes));
}

} // namespace

int RunProbeCommand(int argc, char** argv) {
    std::string file, host, hostTyped, path = "/";
    bool hostGiven = false;
    for (int i = 0; i < argc; ++i) {
        const std::string a = argv[i];
        if ((a == "--host" || a == "--path") && i + 1 < argc) {
            const std::string value = argv[++i];
            if (a == "--host") {
                // Arguments arrive as UTF-8; the project's text is Windows-1252. A host the
                // code page cannot hold is no host of the project (empty matches none either).
                hostTyped = value;
                if (!corvane::Utf8ToCp1252Exact(value, host))
                    host.clear();
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
        if (hostGiven && (host.empty() || !corvane::EqualIgnoringCase(c.m_strHost, host)))
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
                  << (result ? std::string("OK") : ServerLine(result.strError, c, doc.m_proxy)) << "\n";
        // The folders the browser shows, under the names it shows.
        for (const CRemoteItem& item : items)
            if (item.IsBrowsable())
                std::cout << "  " << NameLine(item.strName) << "\n";
        std::cout.flush();
        // What the listing does not show: lines it could not read, entries cut off.
        if (result && !result.strWarning.empty())
            std::cerr << "warning: " << corvane::Cp1252ToUtf8(c.m_strHost) << ": "
                      << corvane::VisibleText(ServerLine(result.strWarning, c, doc.m_proxy)) << "\n";
        allOk = allOk && result;
    }
    if (probed == 0) {
        std::cerr << "corvane-dix: "
                  << (hostGiven ? "no connection of the project has the host " + hostTyped
                                : std::string("the project has no FTP connections"))
                  << "\n";
        return 1;
    }
    return allOk ? 0 : 1;
}
