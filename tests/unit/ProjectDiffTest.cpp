// What `diff` says about two projects: the project's own words, never a secret.
#include "tools/ProjectDiff.h"
#include "../common/SampleProject.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

struct DiffCase {
    const char* name;
    std::function<void(CCorvaneDoc&)> edit;
    std::vector<std::string> lines;
};

const std::string kProfile1 = "profile 1 \"C:\\Data\\Caf\u00E9 \u20AC 0\"";

const DiffCase kCases[] = {
    {"Same", [](auto&) {}, {}},
    {"Interval", [](auto& d) { d.m_nInterval = 20; }, {"interval: 45 -> 20"}},
    {"Passwords",
     [](auto& d) {
         d.m_arrConnections[0].m_strPassword = "new-secret";
         d.m_proxy.m_strPassword = "proxy-secret";
         d.m_mail.m_strPassword = "mail-secret";
     },
     {"connection \"ftp.example.org\": password changed", "proxy: password changed",
      "mail: password changed"}},
    {"ConnectionValues",
     [](auto& d) {
         d.m_arrConnections[0].m_strUser = "admin";
         d.m_arrConnections[0].m_nPort = 21;
     },
     {"connection \"ftp.example.org\": port 2121 -> 21",
      "connection \"ftp.example.org\": user \"operator\" -> \"admin\""}},
    // Only the order: the same connections, each unchanged.
    {"ConnectionsMoved",
     [](auto& d) {
         std::vector<CConnectionInfo> moved{d.m_arrConnections[1], d.m_arrConnections[0]};
         d.m_arrConnections.swap(moved);
     },
     {"connections: order changed"}},
    // A second connection to a host is a connection of its own, not a change of the first.
    {"SameHostTwice",
     [](auto& d) {
         d.m_arrConnections[1].m_strHost = "ftp.example.org";
         d.m_arrConnections[1].m_nPort = 2121;
     },
     {"connection \"127.0.0.1\": removed", "connection \"ftp.example.org\": added"}},
    {"Masks",
     [](auto& d) {
         auto& masks = d.m_arrProfiles[0].m_arrMasks;
         masks[0].m_bDownload = true;
         masks.erase(masks.begin() + 1);
         masks.push_back({"*.bak", true, true});
     },
     {kProfile1 + ": mask \"~*\" removed", kProfile1 + ": mask \"*.bak\" added",
      kProfile1 + ": mask \"*.tmp\" download false -> true"}},
    {"ProfileValues",
     [](auto& d) {
         d.m_arrProfiles[0].m_strLocalFolder = "/srv/out";
         d.m_arrProfiles[0].m_arrTextValues1.clear();
     },
     {kProfile1 + ": localFolder \"C:\\Data\\Caf\u00E9 \u20AC 0\" -> \"/srv/out\"",
      kProfile1 + ": textValues1 changed"}},
    {"ProfileAdded",
     [](auto& d) {
         CFolderProfile copy = d.m_arrProfiles[2];
         copy.m_strLocalFolder = "/srv/out";
         d.m_arrProfiles.push_back(copy);
     },
     {"profile 4 \"/srv/out\": added"}},
    {"MailAndReports",
     [](auto& d) {
         d.m_mail.m_arrRecipients = {"night@example.com", "new@example.com"};
         d.m_reports.m_bLogErrors = !d.m_reports.m_bLogErrors;
         d.m_arrReserved.push_back(4);
     },
     {"mail: recipient \"ops@example.com\" removed", "mail: recipient \"new@example.com\" added",
      std::string("reports.log: errors ") +
          (CReportSettings().m_bLogErrors ? "true -> false" : "false -> true"),
      "reserved: changed"}},
    // Text from a file reaches a terminal as visible escapes.
    {"ControlCharacters",
     [](auto& d) { d.m_arrConnections[1].m_strHost = "evil\r\n\x1b[2J"; },
     {"connection \"127.0.0.1\": removed", "connection \"evil\\r\\n\\x1b[2J\": added"}},
};

class ProjectDiffTest : public testing::TestWithParam<DiffCase> {};

TEST_P(ProjectDiffTest, NamesEachChangeInTheProjectsWords) {
    const CCorvaneDoc before = MakeSampleProject();
    CCorvaneDoc after = MakeSampleProject();
    after.m_arrProfiles = before.m_arrProfiles; // the same state file names
    GetParam().edit(after);
    std::vector<std::string> lines;
    std::string all;
    for (const auto& change : corvane::DiffProjects(before, after)) {
        lines.push_back(change.Line());
        all += change.ToJson().dump();
    }
    EXPECT_EQ(lines, GetParam().lines);
    EXPECT_EQ(all.find("secret"), std::string::npos) << all;
    // The other way round, as many changes: each added record is a removed one.
    EXPECT_EQ(corvane::DiffProjects(after, before).size(), GetParam().lines.size());
}

INSTANTIATE_TEST_SUITE_P(Each, ProjectDiffTest, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
