#include "LintCommand.h"

#include "ProjectFiles.h"
#include "Usage.h"
#include "model/CCorvaneDoc.h"
#include "model/CodePage.h"

#include <iostream>

namespace {

struct Finding {
    const char* code;
    std::string record;
    std::string advice;
};

std::string Quoted(const std::string& cp1252) {
    return "\"" + corvane::Cp1252ToUtf8(cp1252) + "\"";
}

std::string ProfileName(const CCorvaneDoc& doc, std::size_t i) {
    const CFolderProfile& p = doc.m_arrProfiles[i];
    return "profile " + std::to_string(i + 1) + " (" + corvane::Cp1252ToUtf8(p.m_strLocalFolder) + " <-> " +
           corvane::Cp1252ToUtf8(p.m_strConnection) + ":" + corvane::Cp1252ToUtf8(p.m_strFtpFolder) + ")";
}

bool IsBlank(const std::string& s) {
    return s.find_first_not_of(" \t") == std::string::npos;
}

void LintProfiles(const CCorvaneDoc& doc, std::vector<Finding>& out) {
    for (std::size_t i = 0; i < doc.m_arrProfiles.size(); ++i) {
        const CFolderProfile& p = doc.m_arrProfiles[i];
        const std::string name = ProfileName(doc, i);
        const CConnectionInfo* exact = nullptr;
        const CConnectionInfo* folded = nullptr;
        for (const auto& c : doc.m_arrConnections) {
            if (c.m_strHost == p.m_strConnection)
                exact = &c;
            else if (corvane::EqualIgnoringCase(c.m_strHost, p.m_strConnection))
                folded = &c;
        }
        if (!exact && folded)
            out.push_back({"host-case", name,
                           "its host differs from connection " + Quoted(folded->m_strHost) +
                               " only in letter case; open the profile and confirm it"});
        else if (!exact)
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
        if (p.m_bUseMasks && p.m_arrMasks.empty())
            out.push_back(
                {"no-masks", name, "excluding masks is on but there are no masks; add one or switch it off"});
        for (std::size_t j = 0; j < i; ++j) {
            const CFolderProfile& q = doc.m_arrProfiles[j];
            if (corvane::EqualIgnoringCase(q.m_strConnection, p.m_strConnection) &&
                q.m_strLocalFolder == p.m_strLocalFolder && q.m_strFtpFolder == p.m_strFtpFolder) {
                out.push_back(
                    {"duplicate-profile", name,
                     "syncs the same folders as profile " + std::to_string(j + 1) + "; delete one of them"});
                break;
            }
        }
    }
}

void LintConnections(const CCorvaneDoc& doc, std::vector<Finding>& out) {
    for (std::size_t i = 0; i < doc.m_arrConnections.size(); ++i) {
        const CConnectionInfo& c = doc.m_arrConnections[i];
        const std::string name = "connection " + Quoted(c.m_strHost);
        for (std::size_t j = 0; j < i; ++j) {
            if (corvane::EqualIgnoringCase(doc.m_arrConnections[j].m_strHost, c.m_strHost)) {
                out.push_back({"duplicate-host", name,
                               "connection " + std::to_string(j + 1) +
                                   " has the same host (letter case ignored); "
                                   "profiles cannot tell them apart, remove one"});
                break;
            }
        }
        if (c.m_bUseProxy && doc.m_proxy.m_nType == CProxySettings::typeNone)
            out.push_back(
                {"proxy-none", name,
                 "uses the proxy but the proxy type is NONE; choose a type or switch off \"Use proxy\""});
    }
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
    LintSettings(doc, findings);
    for (const auto& f : findings)
        std::cout << f.code << " " << f.record << ": " << f.advice << "\n";
    return findings.empty() ? 0 : 1;
}
