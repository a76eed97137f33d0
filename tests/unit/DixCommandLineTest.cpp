// The command line's conventions and the commands for many hosts (`diff`,
// `build --if-changed`), run through the real program as scripts run it.
#include "../common/RunDix.h"
#include "../common/SampleProject.h"
#include "../common/TempDir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <string>
#include <sys/stat.h>

namespace {

const std::string kTool = std::string("'") + CORVANE_DIX_TOOL + "'";

void SaveSample(const std::string& path) {
    CCorvaneDoc doc = MakeSampleProject();
    doc.m_proxy.m_strPassword = "proxy-secret";
    doc.m_mail.m_strPassword = "mail-secret";
    SaveProject(path, doc);
}

struct UsageCase {
    const char* args;
    const char* firstLine;
};

const UsageCase kUsageErrors[] = {
    {"", "corvane-dix: missing command"},
    {"frob", "corvane-dix: unknown command \"frob\""},
    {"--frob", "corvane-dix: unknown option \"--frob\""},
    {"dump --frob p.dix", "corvane-dix: dump: unknown option \"--frob\""},
    {"probe p.dix --host", "corvane-dix: probe: option \"--host\" needs a value"},
    {"build p.json", "corvane-dix: build: missing OUT"},
    {"check a.dix b.dix", "corvane-dix: check: unexpected argument \"b.dix\""},
    {"import - sites.xml", "corvane-dix: import: PROJECT cannot be \"-\": the command writes it back"},
    {"diff - -", "corvane-dix: diff: only one argument can be \"-\" (standard input)"},
};

} // namespace

// One line naming what is wrong, one pointing to the help, exit 2; never the whole usage.
TEST(DixCommandLine, UsageErrorsNameTheBadArgumentInOneLine) {
    for (const auto& c : kUsageErrors) {
        SCOPED_TRACE(c.args);
        const DixRun r = RunDix(c.args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.out, std::string(c.firstLine) + "\nTry 'corvane-dix --help'\n");
    }
}

// "-" is standard input or output wherever a file is read or written once.
TEST(DixCommandLine, DashIsStandardInputAndOutput) {
    TempDir dir;
    SaveSample(dir.File("-odd.dix"));
    EXPECT_EQ(RunDix("new - | " + kTool + " check -").out, "/dev/stdin: OK (0 profiles, 0 connections)\n");
    const std::string odd = "'" + dir.File("-odd.dix") + "'";
    const DixRun piped =
        RunDix("redact - - < " + odd + " | " + kTool + " dump - > " + dir.File("p.json") + " && " + kTool +
               " build - " + dir.File("out.dix") + " < " + dir.File("p.json"));
    ASSERT_EQ(piped.exitCode, 0) << piped.out;
    EXPECT_EQ(RunDix("diff " + odd + " " + dir.File("out.dix")).out,
              "connection \"ftp.example.org\": password changed\nconnection \"127.0.0.1\": password changed\n"
              "proxy: password changed\nmail: password changed\n");
    // After "--", a name that starts with "-" is a file, here one in the current folder.
    EXPECT_EQ(RunDixIn(dir.Path().string(), "check -- -odd.dix").out,
              "./-odd.dix: OK (3 profiles, 2 connections)\n");
}

TEST(DixDiff, ComparesProjectFilesAndJsonByContent) {
    TempDir dir;
    SaveSample(dir.File("a.dix"));
    ASSERT_EQ(RunDix("dump --show-passwords " + dir.File("a.dix") + " > " + dir.File("a.conf")).exitCode, 0);
    // The same project, once as a file and once as JSON under a name that says neither.
    EXPECT_EQ(RunDix("diff " + dir.File("a.dix") + " " + dir.File("a.conf")).exitCode, 0);

    auto json = nlohmann::json::parse(ReadBytes(dir.File("a.conf")));
    json["interval"] = 20;
    json["connections"][0]["password"] = "changed-secret";
    WriteBytes(dir.File("b.json"), json.dump());
    const DixRun lines = RunDix("diff " + dir.File("a.dix") + " " + dir.File("b.json"));
    EXPECT_EQ(lines.exitCode, 1);
    EXPECT_EQ(lines.out, "connection \"ftp.example.org\": password changed\ninterval: 45 -> 20\n");

    const DixRun asJson = RunDix("diff --json " + dir.File("a.dix") + " - < " + dir.File("b.json"));
    EXPECT_EQ(asJson.exitCode, 1);
    EXPECT_EQ(asJson.out.find("secret"), std::string::npos);
    const auto list = nlohmann::json::parse(asJson.out);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0]["change"], "changed");
    EXPECT_FALSE(list[0].contains("from"));
    EXPECT_EQ(list[1]["from"], 45);
    EXPECT_EQ(list[1]["text"], "interval: 45 -> 20");

    // Build names a state file the JSON leaves out at random: no difference by itself.
    WriteBytes(dir.File("p.json"), R"({"profiles": [{"localFolder": "/srv/out"}]})");
    EXPECT_EQ(RunDix("diff " + dir.File("p.json") + " " + dir.File("p.json")).out, "");

    // A side that cannot be read is exit 2, which a script cannot take for "differ".
    WriteBytes(dir.File("bad.json"), "{\"interval\": \"x\"}");
    const DixRun bad = RunDix("diff " + dir.File("a.dix") + " " + dir.File("bad.json"));
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_NE(bad.out.find("interval: expected an integer"), std::string::npos) << bad.out;
    EXPECT_EQ(RunDix("diff " + dir.File("a.dix") + " " + dir.File("none.dix")).exitCode, 2);
}

TEST(DixBuild, IfChangedLeavesAnIdenticalFileUntouched) {
    TempDir dir;
    SaveSample(dir.File("a.dix"));
    ASSERT_EQ(RunDix("dump --show-passwords " + dir.File("a.dix") + " > " + dir.File("a.json")).exitCode, 0);
    const std::string build = "build " + dir.File("a.json") + " " + dir.File("out.dix") + " --if-changed";
    const DixRun first = RunDix(build);
    ASSERT_EQ(first.exitCode, 0) << first.out;
    EXPECT_EQ(first.out, "");
    EXPECT_EQ(ReadBytes(dir.File("out.dix")), ReadBytes(dir.File("a.dix")))
        << "dump and build keep every byte";
    ::chmod(dir.File("out.dix").c_str(), 0640);
    namespace fs = std::filesystem;
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
    fs::last_write_time(dir.File("out.dix"), old);

    const DixRun second = RunDix(build);
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_EQ(second.out, "unchanged\n");
    EXPECT_EQ(fs::last_write_time(dir.File("out.dix")), old);

    auto json = nlohmann::json::parse(ReadBytes(dir.File("a.json")));
    json["interval"] = 20;
    WriteBytes(dir.File("a.json"), json.dump());
    EXPECT_EQ(RunDix(build).out, "");
    EXPECT_NE(fs::last_write_time(dir.File("out.dix")), old);
    EXPECT_EQ(fs::status(dir.File("out.dix")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}
