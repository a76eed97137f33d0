// The command-line companion, run as operators run it.
#include "../common/EnvOverride.h"
#include "../common/RunDix.h"
#include "../common/SampleProject.h"
#include "../common/TempDir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <functional>
#include <string>

namespace {

// The sample project with every kind of password set, saved as `path`.
void SaveSampleWithSecrets(const std::string& path, const std::string& mailPassword = "mail-secret") {
    CCorvaneDoc doc = MakeSampleProject();
    doc.m_mail.m_strPassword = mailPassword;
    doc.m_proxy.m_strPassword = "proxy-secret";
    SaveProject(path, doc);
}

} // namespace

TEST(DixTool, DumpHidesPasswordsUnlessAsked) {
    TempDir dir;
    SaveSampleWithSecrets(dir.File("in.dix"), "");
    const DixRun hidden = RunDix("dump " + dir.File("in.dix"));
    ASSERT_EQ(hidden.exitCode, 0);
    EXPECT_EQ(hidden.out.find("cret"), std::string::npos);
    // Every set password shows as the same mask whatever its length; an empty one stays empty.
    const auto dumped = nlohmann::json::parse(hidden.out);
    EXPECT_EQ(dumped["proxy"]["password"], "********");
    EXPECT_EQ(dumped["connections"][0]["password"], "********");
    EXPECT_EQ(dumped["mail"]["password"], "");
    // Text comes out as UTF-8: é and € from the code page.
    EXPECT_NE(hidden.out.find("Caf\u00E9 \u20AC"), std::string::npos);
    const DixRun shown = RunDix("dump --show-passwords " + dir.File("in.dix"));
    EXPECT_NE(shown.out.find("proxy-secret"), std::string::npos);
}

// Every password may come from the environment or a file; a reference that cannot be
// read stops the build before anything is written.
TEST(DixTool, BuildReadsPasswordReferencesOrWritesNothing) {
    TempDir dir;
    WriteBytes(dir.File("proxy.secret"), "proxy-secret\n");
    const std::string json = R"({"connections": [{"password": {"env": "CORVANE_DIX_TEST_PW"}}],
        "proxy": {"password": {"file": ")" +
                             dir.File("proxy.secret") + R"("}},
        "mail": {"password": {"env": "CORVANE_DIX_TEST_MAIL"}}})";
    WriteBytes(dir.File("p.json"), json);
    WriteBytes(dir.File("out.dix"), "old");
    ::unsetenv("CORVANE_DIX_TEST_MAIL");
    const CEnvOverride connection("CORVANE_DIX_TEST_PW", "conn-secret");
    const DixRun refused = RunDix("build " + dir.File("p.json") + " " + dir.File("out.dix"));
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(
        refused.out.find("mail.password: the environment variable \"CORVANE_DIX_TEST_MAIL\" is not set"),
        std::string::npos)
        << refused.out;
    EXPECT_EQ(ReadBytes(dir.File("out.dix")), "old");

    const CEnvOverride mail("CORVANE_DIX_TEST_MAIL", "mail-secret");
    const DixRun built = RunDix("build " + dir.File("p.json") + " " + dir.File("out.dix"));
    ASSERT_EQ(built.exitCode, 0) << built.out;
    const auto dumped = nlohmann::json::parse(RunDix("dump --show-passwords " + dir.File("out.dix")).out);
    EXPECT_EQ(dumped["connections"][0]["password"], "conn-secret");
    EXPECT_EQ(dumped["proxy"]["password"], "proxy-secret");
    EXPECT_EQ(dumped["mail"]["password"], "mail-secret");
}

TEST(DixTool, BuildFillsMissingKeysFromANewProject) {
    TempDir dir;
    WriteBytes(dir.File("p.json"), R"({"interval": 30, "profiles": [{"localFolder": "/srv/caf\u00e9"}]})");
    ASSERT_EQ(RunDix("build " + dir.File("p.json") + " " + dir.File("p.dix")).exitCode, 0);
    CCorvaneDoc doc;
    std::string err;
    ASSERT_EQ(doc.OnOpenDocument(dir.File("p.dix"), err), CCorvaneDoc::OpenResult::ok) << err;
    EXPECT_EQ(doc.m_nInterval, 30);
    ASSERT_EQ(doc.m_arrProfiles.size(), 1u);
    EXPECT_EQ(doc.m_arrProfiles[0].m_strLocalFolder, "/srv/caf\xE9");
    EXPECT_EQ(doc.m_arrProfiles[0].m_strStateFile.size(), 11u);
    EXPECT_EQ(doc.m_proxy.m_nPort, 8190);
}

TEST(DixTool, VersionAndEachCommandsHelp) {
    EXPECT_EQ(RunDix("--version").exitCode, 0);
    for (const std::string command :
         {"dump", "build", "check", "new", "diff", "probe", "sendtest", "import", "lint", "redact"}) {
        const DixRun help = RunDix(command + " --help");
        EXPECT_EQ(help.exitCode, 0);
        EXPECT_EQ(help.out.rfind("usage: corvane-dix " + command + " ", 0), 0u) << help.out;
    }
    // Every help line fits a terminal of 80 columns.
    const std::string all = RunDix("--help").out;
    for (std::size_t start = 0, end; (end = all.find('\n', start)) != std::string::npos; start = end + 1)
        EXPECT_LE(end - start, 80u) << all.substr(start, end - start);
}

TEST(DixTool, ImportAddsPlainFtpSitesOnceAndChangesNothingElse) {
    TempDir dir;
    const std::string project = dir.File("p.dix");
    const std::string sites = std::string(CORVANE_FUZZ_DIR) + "/corpus-filezilla/sitemanager.xml";
    CCorvaneDoc doc = MakeSampleProject();
    doc.m_arrConnections.emplace_back().m_strHost = "KEEP.example";
    doc.m_arrConnections.back().m_strPassword = "old";
    const std::string before = ReadBytes(SaveProject(project, doc));

    const DixRun dry = RunDix("import " + project + " " + sites + " --dry-run");
    EXPECT_EQ(dry.exitCode, 0);
    EXPECT_EQ(ReadBytes(project), before);
    const DixRun r = RunDix("import " + project + " " + sites);
    ASSERT_EQ(r.exitCode, 0) << r.out;
    EXPECT_EQ(
        r.out,
        "added ftp.north.example (North)\n"
        "added mirror.example (Customers/Mirror)\n"
        "skipped FTP.North.Example (Customers/Archive/North again): an earlier entry of the list has this "
        "host\n"
        "skipped sftp.example (Customers/Archive/Deploy): SFTP, not plain FTP\n"
        "kept keep.example (Customers/Already there): the project has this host already; left as it is\n"
        "skipped tls.example (Explicit TLS): FTPES (explicit TLS), not plain FTP\n"
        "skipped locked.example (Locked): its password is encrypted with a master password\n"
        "skipped snow\u2603.example (Snowman): its host has characters the project's code page "
        "(Windows-1252) cannot hold\n"
        "skipped badport.example (Bad port): port \"70000\" is not a port number\n"
        "added ask.example (Ask): no password stored; set it in the program\n"
        "3 added, 1 kept, 6 skipped\n");
    EXPECT_EQ(dry.out, r.out.substr(0, r.out.size() - 1) + " (dry run: the project is unchanged)\n");

    CCorvaneDoc after;
    std::string err;
    ASSERT_EQ(after.OnOpenDocument(project, err), CCorvaneDoc::OpenResult::ok) << err;
    ASSERT_EQ(after.m_arrConnections.size(), 6u);
    const auto& north = after.m_arrConnections[3];
    EXPECT_EQ(north.m_strHost + "|" + north.m_strUser + "|" + north.m_strPassword,
              "ftp.north.example|night&day|s\xE9"
              "cret");
    EXPECT_EQ(north.m_nPort, 2121);
    EXPECT_FALSE(north.m_bPassive);
    EXPECT_EQ(after.m_arrConnections[2].m_strPassword, "old");
    after.m_arrConnections.resize(3);
    EXPECT_EQ(after.SaveToMemory(), before);

    const DixRun broken =
        RunDix("import " + project + " " + std::string(CORVANE_FUZZ_DIR) + "/corpus-winscp/broken.ini");
    EXPECT_EQ(broken.exitCode, 1);
    EXPECT_NE(broken.out.find("broken.ini: line 3"), std::string::npos) << broken.out;
}

TEST(DixTool, LintNamesEachProblemOnce) {
    CCorvaneDoc clean;
    clean.OnNewDocument();
    clean.m_arrConnections.emplace_back().m_strHost = "ftp.example.org";
    CFolderProfile profile;
    profile.m_strConnection = "ftp.example.org";
    profile.m_strLocalFolder = "/srv/data";
    profile.m_strFtpFolder = "/pub";
    profile.m_bUpload = true;
    clean.m_arrProfiles.push_back(profile);
    clean.m_mail.m_arrRecipients = {"ops@example.com"};
    using Change = std::function<void(CCorvaneDoc&)>;
    const std::pair<std::string, Change> cases[] = {
        {"", [](auto&) {}},
        {"unknown-host", [](auto& d) { d.m_arrProfiles[0].m_strConnection = "other.example"; }},
        {"host-case", [](auto& d) { d.m_arrProfiles[0].m_strConnection = "FTP.example.org"; }},
        {"duplicate-host", [](auto& d) { d.m_arrConnections.emplace_back().m_strHost = "FTP.EXAMPLE.ORG"; }},
        {"interval-range", [](auto& d) { d.m_nInterval = 9; }},
        {"interval-range", [](auto& d) { d.m_nInterval = 111; }},
        {"", [](auto& d) { d.m_nInterval = 110; }},
        {"interval-unconfirmed", [](auto& d) { d.m_bIntervalConfirmed = false; }},
        {"mail-no-recipients", [](auto& d) { d.m_mail.m_arrRecipients.clear(); }},
        {"mail-no-server", [](auto& d) { d.m_mail.m_strServer = " "; }},
        {"",
         [](auto& d) { d.m_mail = {}, d.m_mail.m_strServer.clear(), d.m_reports.m_bMailEnabled = false; }},
        {"socks4-password",
         [](auto& d) { d.m_proxy.m_nType = CProxySettings::typeSocks4A, d.m_proxy.m_strPassword = "x"; }},
        {"", [](auto& d) { d.m_proxy.m_nType = CProxySettings::typeSocks5, d.m_proxy.m_strPassword = "x"; }},
        {"proxy-none", [](auto& d) { d.m_arrConnections[0].m_bUseProxy = true; }},
        {"no-direction", [](auto& d) { d.m_arrProfiles[0].m_bUpload = false; }},
        {"no-local-folder", [](auto& d) { d.m_arrProfiles[0].m_strLocalFolder.clear(); }},
        {"relative-ftp-folder", [](auto& d) { d.m_arrProfiles[0].m_strFtpFolder = "pub"; }},
        {"no-masks", [](auto& d) { d.m_arrProfiles[0].m_bUseMasks = true; }},
        {"mask-no-direction",
         [](auto& d) {
             d.m_arrProfiles[0].m_arrMasks = {{"*.tmp", false, false}, {"~*", true, false}};
         }},
        {"control-character",
         [](auto& d) { d.m_arrConnections[0].m_strUser = "bob\r\nSITE CHMOD 777 /etc\x1b[2J"; }},
        {"control-character", [](auto& d) { d.m_mail.m_arrRecipients = {"ops@example.com\nRCPT TO:<x>"}; }},
        {"duplicate-profile", [](auto& d) { d.m_arrProfiles.push_back(d.m_arrProfiles[0]); }},
        {"",
         [](auto& d) {
             d.m_arrProfiles.push_back(d.m_arrProfiles[0]), d.m_arrProfiles[1].m_strFtpFolder = "/b";
         }},
    };
    TempDir dir;
    for (const auto& [code, change] : cases) {
        SCOPED_TRACE(code);
        CCorvaneDoc doc = clean;
        change(doc);
        const DixRun r = RunDix("lint " + SaveProject(dir.File("p.dix"), doc));
        EXPECT_EQ(r.exitCode, code.empty() ? 0 : 1);
        if (code.empty()) {
            EXPECT_EQ(r.out, "");
        } else {
            EXPECT_EQ(r.out.rfind(code + " ", 0), 0u) << r.out;
            EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1) << r.out;
            EXPECT_EQ(r.out.find_first_of("\r\x1b"), std::string::npos) << r.out;
        }
    }
}
