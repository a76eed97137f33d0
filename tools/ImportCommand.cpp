#include "ImportCommand.h"

#include "ProjectFiles.h"
#include "SiteList.h"
#include "Usage.h"
#include "model/CCorvaneDoc.h"
#include "model/CodePage.h"

#include <iostream>

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

// Site names and hosts come from someone else's file: one report line stays one line.
std::string OneLine(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    return text;
}

void Merge(CCorvaneDoc& doc, const std::vector<corvane::SiteEntry>& entries, Tally& tally) {
    const std::size_t before = doc.m_arrConnections.size();
    for (const auto& e : entries) {
        const std::string label = OneLine((e.host.empty() ? std::string("(no host)") : e.host) +
                                          (e.name.empty() ? std::string() : " (" + e.name + ")"));
        CConnectionInfo c;
        std::string reason = e.skipReason;
        if (reason.empty() && e.host.find_first_of(" \t\r\n") != std::string::npos)
            reason = "its host has blanks in it";
        if (reason.empty())
            reason = ToCodePage(e, c);
        if (!reason.empty()) {
            std::cout << "skipped " << label << ": " << reason << "\n";
            ++tally.skipped;
            continue;
        }
        std::size_t same = 0;
        while (same < doc.m_arrConnections.size() &&
               !corvane::EqualIgnoringCase(doc.m_arrConnections[same].m_strHost, c.m_strHost))
            ++same;
        if (same < before) {
            std::cout << "kept " << label << ": the project has this host already; left as it is\n";
            ++tally.kept;
            continue;
        }
        if (same < doc.m_arrConnections.size()) {
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
    if (!corvane::LoadProjectOrReport(files[0], doc))
        return 1;
    std::string error, source;
    if (!corvane::ReadWholeFile(files[1], source, error)) {
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
