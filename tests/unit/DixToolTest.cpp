// The command-line companion, run as operators run it.
#include "SampleProject.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace {

struct Result {
    int exitCode = -1;
    std::string out;
};

Result RunDix(const std::string& args) {
    Result r;
    const std::string cmd = std::string(CORVANE_DIX_TOOL) + " " + args + " 2>&1";
    FILE* p = ::popen(cmd.c_str(), "r");
    if (!p)
        return r;
    std::array<char, 4096> buf;
    std::size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), p)) > 0)
        r.out.append(buf.data(), n);
    const int status = ::pclose(p);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

} // namespace

TEST(DixTool, DumpThenBuildReproducesEveryByte) {
    TempDir dir;
    CCorvaneDoc doc = MakeSampleProject();
    std::string err;
    ASSERT_TRUE(doc.OnSaveDocument(dir.File("in.dix"), err));
    const Result dump = RunDix("dump --show-passwords " + dir.File("in.dix") + " > " + dir.File("p.json"));
    ASSERT_EQ(dump.exitCode, 0) << dump.out;
    const Result build = RunDix("build " + dir.File("p.json") + " " + dir.File("out.dix"));
    ASSERT_EQ(build.exitCode, 0) << build.out;
    EXPECT_EQ(ReadBytes(dir.File("out.dix")), ReadBytes(dir.File("in.dix")));
}

TEST(DixTool, DumpHidesPasswordsUnlessAsked) {
    TempDir dir;
    CCorvaneDoc doc = MakeSampleProject();
    doc.m_mail.m_strPassword = "mail-secret";
    doc.m_proxy.m_strPassword = "proxy-secret";
    std::string err;
    ASSERT_TRUE(doc.OnSaveDocument(dir.File("in.dix"), err));
    const Result hidden = RunDix("dump " + dir.File("in.dix"));
    ASSERT_EQ(hidden.exitCode, 0);
    EXPECT_EQ(hidden.out.find("secret"), std::string::npos);
    EXPECT_EQ(hidden.out.find("cret"), std::string::npos);
    EXPECT_NE(hidden.out.find("\"********\""), std::string::npos);
    // Text comes out as UTF-8: é and € from the code page.
    EXPECT_NE(hidden.out.find("Caf\u00E9 \u20AC"), std::string::npos);
    const Result shown = RunDix("dump --show-passwords " + dir.File("in.dix"));
    EXPECT_NE(shown.out.find("mail-secret"), std::string::npos);
}

TEST(DixTool, BuildRefusesUnknownKeysAndWrongTypesByName) {
    TempDir dir;
    struct Case {
        std::string json;
        std::string named;
    } const cases[] = {
        {R"({"interval": 20, "colour": 1})", "colour"},
        {R"({"interval": "20"})", "interval"},
        {R"({"profiles": [{"upload": 1}]})", "profiles[0].upload"},
        {R"({"mail": {"recipients": ["a", 2]}})", "mail.recipients[1]"},
        {R"({"reports": {"log": {"sendEmpty": true}}})", "reports.log.sendEmpty"},
        {R"({"profiles": )", "not valid JSON"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.json);
        WriteBytes(dir.File("bad.json"), c.json);
        const Result r = RunDix("build " + dir.File("bad.json") + " " + dir.File("out.dix"));
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_NE(r.out.find(c.named), std::string::npos) << r.out;
        EXPECT_FALSE(std::filesystem::exists(dir.File("out.dix")));
    }
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
    EXPECT_EQ(doc.m_arrProfiles[0].m_strConnection, "127.0.0.1");
    EXPECT_EQ(doc.m_arrProfiles[0].m_strStateFile.size(), 11u);
    EXPECT_EQ(doc.m_proxy.m_nPort, 8190);
}

TEST(DixTool, CheckReportsTheOffsetOfABrokenFile) {
    TempDir dir;
    ASSERT_EQ(RunDix("new " + dir.File("new.dix")).exitCode, 0);
    EXPECT_EQ(RunDix("check " + dir.File("new.dix")).exitCode, 0);
    const std::string bytes = ReadBytes(dir.File("new.dix"));
    WriteBytes(dir.File("cut.dix"), bytes.substr(0, 20));
    const Result r = RunDix("check " + dir.File("cut.dix"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.out.find("cut.dix"), std::string::npos);
    EXPECT_NE(r.out.find("byte offset 8"), std::string::npos) << r.out; // the proxy host's string
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1);
    EXPECT_EQ(RunDix("check " + dir.File("missing.dix")).exitCode, 1);
}
