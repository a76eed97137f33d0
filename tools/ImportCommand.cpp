#include "ImportCommand.h"

#include "ProjectFiles.h"
#include "SiteList.h"
#include "Usage.h"
#include "model/CCorvaneDoc.h"
#include "model/CappedFile.h"
#include "model/CodePage.h"
#include "model/VisibleText.h"

#include <iostream>
#include <unordered_set>

namespace {

struct Tally {
    int added = 0, kept = 0, skipped = 0;
};

// Why the entry's text cannot go into the project unchanged, or empty.
std::string ToCodePage(const corvane::SiteEntry& e, CConnectionInfo& c) {
    const std::pair<const std::string*, std::string*> fields[] = {
        {&e.host, &c.m_strHost}, {&e.user, &c.m_strUser}, {&e.password, &c.m_strPassword}};
    const char* names[] = {"host", "user name", "password"};
    for (std::size_t i = 0; i < std::size(fields); ++i) {
        if (e.anonymous && i > 0)
            break;
        if (!corvane::Utf8ToCp1252Exact(*fields[i].first, *fields[i].second))
            return std::string("its ") + names[i] +
                   " has characters the project's code page (Windows-1252) cannot hold";
    }
    return {};
}

// Text bound for a server never carries a control character: a CR or LF in a user name or
// password would send the rest of it to the server as commands of its own. An anonymous
// site sends neither.
std::string ControlCharacterReason(const corvane::SiteEntry& e) {
    const std::pair<const std::string*, const char*> fields[] = {
        {&e.host, "host"}, {&e.user, "user name"}, {&e.password, "password"}, {&e.name, "name or folder"}};
    for (const auto& [text, field] : fields)
        if (corvane::HasControlCharacter(*text) && !(e.anonymous && (text == &e.user || text == &e.password)))
            return std::string("its ") + field + " has a control character, which may never reach a server";
    return {};
}

// Why the entry cannot become a connection as it is, or empty.
std::string SkipReason(const corvane::SiteEntry& e, CConnectionInfo& c) {
    if (!e.skipReason.empty())
        return e.skipReason;
    if (std::string reason = ControlCharacterReason(e); !reason.empty())
        return reason;
    if (e.host.find(' ') != std::string::npos)
        return "its host has blanks in it";
    return ToCodePage(e, c);
}

// Hosts compare with letter case ignored, as the connections list compares them; the
// sets keep the work linear in the size of the list.
void Merge(CCorvaneDoc& doc, const std::vector<corvane::SiteEntry>& entries, Tally& tally) {
    std::unordered_set<std::string> inProject, inList;
    inProject.reserve(doc.m_arrConnections.size());
    for (const auto& c : doc.m_arrConnections)
        inProject.insert(corvane::FoldCase(c.m_strHost));
    for (const auto& e : entries) {
        // Site names and hosts come from someone else's file: shown, never obeyed by the terminal.
        const std::string label =
            corvane::VisibleText((e.host.empty() ? std::string("(no host)") : e.host) +
                                 (e.name.empty() ? std::string() : " (" + e.name + ")"));
        CConnectionInfo c;
        if (const std::string reason = SkipReason(e, c); !reason.empty()) {
            std::cout << "skipped " << label << ": " << reason << "\n";
            ++tally.skipped;
            continue;
        }
        const std::string key = corvane::FoldCase(c.m_strHost);
        if (inProject.count(key)) {
            std::cout << "kept " << label << ": the project has this host already; left as it is\n";
            ++tally.kept;
            continue;
        }
        if (!inList.insert(key).second) {
            std::cout << "skipped " << label << ": an earlier entry of the list has this host\n";
            ++tally.skipped;
            continue;
        }
        c.m_nPort = e.port;
        c.m_bPassive = e.passive;
        doc.m_arrConnections.push_back(c);
        ++tally.added;
        std::cout << "added " << label
                  << (!e.anonymous && c.m_strPassword.empty() ? ": no password stored; set it in the program"
                                                              : "")
                  << "\n";
    }
}

} // namespace

int RunImportCommand(const std::vector<std::string>& args) {
    std::vector<std::string> files;
    bool dryRun = false;
    for (const auto& a : args) {
        if (a == "--dry-run")
            dryRun = true;
        else if (a.rfind("--", 0) == 0)
            return corvane::UsageError("import");
        else
            files.push_back(a);
    }
    if (files.size() != 2)
        return corvane::UsageError("import");
    CCorvaneDoc doc;
    if (!corvane::LoadProjectOrReport(files[0], doc,
                                      dryRun ? corvane::TrailingBytes::note : corvane::TrailingBytes::refuse))
        return 1;
    std::string error, source;
    if (!corvane::ReadWholeFile(files[1], corvane::kMaxSiteListBytes, source, error)) {
        std::cerr << "corvane-dix: " << error << "\n";
        return 1;
    }
    std::vector<corvane::SiteEntry> entries;
    try {
        entries = corvane::ReadSiteList(source);
    } catch (const corvane::SiteListError& e) {
        std::cerr << "corvane-dix: " << files[1] << ": " << e.what() << "; the project is unchanged\n";
        return 1;
    }
    Tally tally;
    Merge(doc, entries, tally);
    std::cout << tally.added << " added, " << tally.kept << " kept, " << tally.skipped << " skipped"
              << (dryRun ? " (dry run: the project is unchanged)" : "") << "\n";
    return dryRun || tally.added == 0 ? 0 : corvane::SaveProject(doc, files[0]);
}
