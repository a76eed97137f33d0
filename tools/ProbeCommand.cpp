#include "ProbeCommand.h"

#include "model/CCorvaneDoc.h"
#include "model/CodePage.h"
#include "model/SecretText.h"
#include "model/VisibleText.h"
#include "platform/CRemoteFolderSession.h"
#include "platform/StandardComponents.h"

#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr const char* kProbeUsage =
    "usage: corvane-dix probe FILE [--host HOST] [--path PATH] [--strict] [--verbose]\n";

struct ProbeArgs {
    std::string file;
    std::string host;      // the project's bytes; empty when none of the project's can match
    std::string hostTyped; // as given
    bool hostGiven = false;
    std::string path = "/";
    bool strict = false;
    bool verbose = false;
};

// False on bad usage.
bool ParseArgs(int argc, char** argv, ProbeArgs& args) {
    for (int i = 0; i < argc; ++i) {
        const std::string a = argv[i];
        if ((a == "--host" || a == "--path") && i + 1 < argc) {
            const std::string value = argv[++i];
            if (a == "--host") {
                // Arguments arrive as UTF-8; the project's text is Windows-1252. A host the
                // code page cannot hold is no host of the project (empty matches none either).
                args.hostTyped = value;
                if (!corvane::Utf8ToCp1252Exact(value, args.host))
                    args.host.clear();
                args.hostGiven = true;
            } else {
                // Goes to the server as the bytes given, as a stored FTP folder does.
                args.path = value.empty() ? std::string("/") : value;
            }
        } else if (a == "--strict") {
            args.strict = true;
        } else if (a == "--verbose") {
            args.verbose = true;
        } else if (args.file.empty() && a.rfind("--", 0) != 0) {
            args.file = a;
        } else {
            return false;
        }
    }
    return !args.file.empty();
}

// A listing name as the browser shows it: never masked, for a folder's name is what the
// operator reads and picks, whatever a password happens to look like.
std::string NameLine(const std::string& serverBytes) {
    return corvane::VisibleText(corvane::RemoteNameToUtf8(serverBytes));
}

struct Verdict {
    bool ok = false;
    bool warned = false;
};

// One connection, as the connection test opens and the folder browser lists. The verdict is
// printed before the session closes: an unanswered QUIT never holds it back.
Verdict ProbeOne(const CConnectionInfo& c, const CProxySettings& proxy, const ProbeArgs& args) {
    CRemoteFolderSession session;
    std::vector<CRemoteItem> items;
    CRemoteFolderSession::Result result =
        session.Open(c, proxy, CRemoteFolderSession::ProxyRule::connectionTest);
    if (result)
        result = session.List(args.path, items);
    const std::string host = corvane::VisibleText(corvane::Cp1252ToUtf8(c.m_strHost));
    Verdict verdict{static_cast<bool>(result), false};
    if (result) {
        std::cout << host << ": OK\n";
        // The folders the browser shows, under the names it shows.
        for (const CRemoteItem& item : items)
            if (item.IsBrowsable())
                std::cout << "  " << NameLine(item.strName) << "\n";
        std::cout.flush();
        // What the listing does not show: lines it could not read, entries cut off.
        std::vector<std::string> warnings = session.GetWarnings();
        if (!result.strWarning.empty())
            warnings.push_back(corvane::VisibleText(corvane::RemoteNameToUtf8(result.strWarning)));
        for (const std::string& warning : warnings) {
            std::cerr << "warning: " << host << ": " << warning << "\n";
            verdict.warned = true;
        }
    } else {
        std::cerr << host << ": " << result.strError << "\n";
    }
    if (args.verbose) {
        std::cerr << "transcript of " << host << ":\n";
        for (const std::string& line : session.GetTranscript())
            std::cerr << "  " << line << "\n";
    }
    std::cerr.flush();
    session.Close();
    return verdict;
}

} // namespace

int RunProbeCommand(int argc, char** argv) {
    ProbeArgs args;
    if (!ParseArgs(argc, argv, args)) {
        std::cerr << kProbeUsage;
        return 2;
    }
    CCorvaneDoc doc;
    std::string error;
    if (doc.OnOpenDocument(args.file, error) != CCorvaneDoc::OpenResult::ok) {
        std::cerr << "corvane-dix: " << error << "\n";
        return 1;
    }
    corvane::RegisterStandardComponents();
    int probed = 0;
    bool allOk = true, anyWarning = false;
    for (const CConnectionInfo& c : doc.m_arrConnections) {
        if (args.hostGiven && (args.host.empty() || !corvane::EqualIgnoringCase(c.m_strHost, args.host)))
            continue;
        ++probed;
        const Verdict verdict = ProbeOne(c, doc.m_proxy, args);
        allOk = allOk && verdict.ok;
        anyWarning = anyWarning || verdict.warned;
    }
    if (probed == 0) {
        std::cerr << "corvane-dix: "
                  << (args.hostGiven ? "no connection of the project has the host " +
                                           corvane::VisibleText(args.hostTyped)
                                     : std::string("the project has no FTP connections"))
                  << "\n";
        return 1;
    }
    return allOk && !(args.strict && anyWarning) ? 0 : 1;
}
