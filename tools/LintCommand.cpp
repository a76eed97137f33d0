#include "LintCommand.h"

#include "ProjectFiles.h"
#include "Usage.h"
#include "model/CCorvaneDoc.h"
#include "model/CodePage.h"
#include "model/VisibleText.h"

#include <iostream>
#include <unordered_map>

namespace {

struct Finding {
    const char* code;
    std::string record;
    std::string advice;
};

// Project text on a terminal: control characters shown as escapes, one line per problem.
std::string Shown(const std::string& cp1252) {
    return corvane::VisibleText(corvane::Cp1252ToUtf8(cp1252));
}

std::string Quoted(const std::string& cp1252) {
    return "\"" + Shown(cp1252) + "\"";
}

std::string ProfileName(const CCorvaneDoc& doc, std::size_t i) {
    const CFolderProfile& p = doc.m_arrProfiles[i];
    return "profile " + std::to_string(i + 1) + " (" + Shown(p.m_strLocalFolder) + " <-> " +
           Shown(p.m_strConnection) + ":" + Shown(p.m_strFtpFolder) + ")";
}

// Text that reaches a server: a control character in it would end the command early and
// send the rest as commands of their own.
void LintControlCharacters(const std::string& record,
                           std::initializer_list<std::pair<const char*, const std::string*>> fields,
                           std::vector<Finding>& out) {
    for (const auto& [field, text] : fields)
        if (corvane::HasControlCharacter(*text))
            out.push_back({"control-character", record,
                           std::string("its ") + field +
                               " has a control character, which is never sent to a server; retype it"});
}

// Lists are checked through hash maps over the folded hosts, so a project of many
// thousand connections takes no longer than reading it.
struct HostIndex {
    std::unordered_map<std::string, std::size_t> exact, folded;

    explicit HostIndex(const CCorvaneDoc& doc) {
        for (std::size_t i = 0; i < doc.m_arrConnections.size(); ++i) {
            exact.emplace(doc.m_arrConnections[i].m_strHost, i);
            folded.emplace(corvane::FoldCase(doc.m_arrConnections[i].m_strHost), i);
        }
    }
};

bool IsBlank(const std::string& s) {
    return s.find_first_not_of(" \t") == std::string::npos;
}

void LintMasks(const CFolderProfile& p, const std::string& name, std::vector<Finding>& out) {
    if (p.m_bUseMasks && p.m_arrMasks.empty())
        out.push_back(
            {"no-masks", name, "excluding masks is on but there are no masks; add one or switch it off"});
    for (const auto& m : p.m_arrMasks) {
        if (!m.m_bUpload && !m.m_bDownload)
            out.push_back({"mask-no-direction", name,
                           "the mask " + Quoted(m.m_strMask) +
                               " has neither Upload nor Download ticked, so it excludes nothing; tick one or "
                               "delete it"});
        LintControlCharacters(name, {{"mask", &m.m_strMask}}, out);
    }
}

void LintProfiles(const CCorvaneDoc& doc, std::vector<Finding>& out) {
    const HostIndex hosts(doc);
    std::unordered_map<std::string, std::size_t> seen;
    for (std::size_t i = 0; i < doc.m_arrProfiles.size(); ++i) {
        const CFolderProfile& p = doc.m_arrProfiles[i];
        const std::string name = ProfileName(doc, i);
        const auto folded = hosts.folded.find(corvane::FoldCase(p.m_strConnection));
        if (!hosts.exact.count(p.m_strConnection) && folded != hosts.folded.end())
            out.push_back({"host-case", name,
                           "its host differs from connection " +
                               Quoted(doc.m_arrConnections[folded->second].m_strHost) +
                               " only in letter case; open the profile and confirm it"});
        else if (folded == hosts.folded.end())
            out.push_back({"unknown-host", name,
                           "its host " + Quoted(p.m_strConnection) +
                               " is not in the connections list; add that connection or choose another"});
        if (!p.m_bUpload && !p.m_bDownload)
            out.push_back({"no-direction", name, "neither upload nor download is on; switch one on"});
        if (IsBlank(p.m_strLocalFolder))
            out.push_back({"no-local-folder", name, "the local folder is empty; choose one"});
        if (p.m_strFtpFolder.empty() || p.m_strFtpFolder[0] != '/')
            out.push_back({"relative-ftp-folder", name,
                           "the FTP folder " + Quoted(p.m_strFtpFolder) +
                               " does not start with \"/\"; make it absolute"});
        LintControlCharacters(name, {{"host", &p.m_strConnection}, {"FTP folder", &p.m_strFtpFolder}}, out);
        LintMasks(p, name, out);
        const std::string key =
            corvane::FoldCase(p.m_strConnection) + '\0' + p.m_strLocalFolder + '\0' + p.m_strFtpFolder;
        if (const auto [first, isNew] = seen.emplace(key, i); !isNew)
            out.push_back({"duplicate-profile", name,
                           "syncs the same folders as profile " + std::to_string(first->second + 1) +
                               "; delete one of them"});
    }
}

void LintConnections(const CCorvaneDoc& doc, std::vector<Finding>& out) {
    const HostIndex hosts(doc);
    for (std::size_t i = 0; i < doc.m_arrConnections.size(); ++i) {
        const CConnectionInfo& c = doc.m_arrConnections[i];
        const std::string name = "connection " + Quoted(c.m_strHost);
        if (const std::size_t first = hosts.folded.at(corvane::FoldCase(c.m_strHost)); first != i)
            out.push_back({"duplicate-host", name,
                           "connection " + std::to_string(first + 1) +
                               " has the same host (letter case ignored); "
                               "profiles cannot tell them apart, remove one"});
        LintControlCharacters(
            name, {{"host", &c.m_strHost}, {"user name", &c.m_strUser}, {"password", &c.m_strPassword}}, out);
        if (c.m_bUseProxy && doc.m_proxy.m_nType == CProxySettings::typeNone)
            out.push_back(
                {"proxy-none", name,
                 "uses the proxy but the proxy type is NONE; choose a type or switch off \"Use proxy\""});
    }
}

void LintAccounts(const CCorvaneDoc& doc, std::vector<Finding>& out) {
    const CProxySettings& proxy = doc.m_proxy;
    LintControlCharacters(
        "proxy",
        {{"host", &proxy.m_strHost}, {"user name", &proxy.m_strUser}, {"password", &proxy.m_strPassword}},
        out);
    const CMailAccount& mail = doc.m_mail;
    LintControlCharacters("mail",
                          {{"server", &mail.m_strServer},
                           {"user name", &mail.m_strUser},
                           {"password", &mail.m_strPassword},
                           {"sender", &mail.m_strFrom},
                           {"subject", &mail.m_strSubject}},
                          out);
    for (const auto& r : mail.m_arrRecipients)
        if (corvane::HasControlCharacter(r))
            out.push_back({"control-character", "mail",
                           "the recipient " + Quoted(r) +
                               " has a control character, which is never sent to a server; retype it"});
}

void LintSettings(const CCorvaneDoc& doc, std::vector<Finding>& out) {
    if (doc.m_nInterval < 10 || doc.m_nInterval > 110)
        out.push_back({"interval-range", "interval",
                       std::to_string(doc.m_nInterval) +
                           " minutes is outside 10 to 110; set it in the interval dialog"});
    if (!doc.m_bIntervalConfirmed)
        out.push_back(
            {"interval-unconfirmed", "interval", "not confirmed; confirm it in the interval dialog"});
    if (doc.m_reports.m_bMailEnabled && doc.m_mail.m_arrRecipients.empty())
        out.push_back(
            {"mail-no-recipients", "mail",
             "mail reports are on but there are no recipients; add one or switch mail reports off"});
    if (doc.m_reports.m_bMailEnabled && IsBlank(doc.m_mail.m_strServer))
        out.push_back({"mail-no-server", "mail",
                       "mail reports are on but no mail server is set; set one or switch mail reports off"});
    const auto type = doc.m_proxy.m_nType;
    if ((type == CProxySettings::typeSocks4 || type == CProxySettings::typeSocks4A) &&
        !doc.m_proxy.m_strPassword.empty())
        out.push_back({"socks4-password", "proxy",
                       std::string(type == CProxySettings::typeSocks4 ? "SOCKS4" : "SOCKS4A") +
                           " carries no password; clear it or choose SOCKS5"});
}

} // namespace

int RunLintCommand(const std::vector<std::string>& args) {
    if (args.size() != 1 || args[0].rfind("--", 0) == 0)
        return corvane::UsageError("lint");
    CCorvaneDoc doc;
    if (!corvane::LoadProjectOrReport(args[0], doc))
        return 1;
    std::vector<Finding> findings;
    LintProfiles(doc, findings);
    LintConnections(doc, findings);
    LintAccounts(doc, findings);
    LintSettings(doc, findings);
    for (const auto& f : findings)
        std::cout << f.code << " " << f.record << ": " << f.advice << "\n";
    return findings.empty() ? 0 : 1;
}
