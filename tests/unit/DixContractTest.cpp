// What every corvane-dix command owes the operator whatever it is given: nothing is
// changed or dropped without a word, and results that do not reach standard output are
// failures. Hostile site lists and damaged projects are made here, as an attacker would.
#include "../common/RunDix.h"
#include "../common/SampleProject.h"
#include "../common/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

// Bytes after the end of a project, and site text with control characters in it: `check`
// fails naming them, `redact` says it leaves them out, `import` refuses to drop them and
// skips each site whose text would carry commands to a server, giving the reason.
TEST(DixContract, NothingIsDroppedOrChangedWithoutAWord) {
    TempDir dir;
    CCorvaneDoc doc = MakeSampleProject();
    const std::string clean = doc.SaveToMemory();
    WriteBytes(dir.File("p.dix"), clean);
    WriteBytes(dir.File("tail.dix"), clean + "xyz");
    const std::string tail =
        "3 bytes after the end of the project (from byte " + std::to_string(clean.size()) + ")";
    WriteBytes(dir.File("WinSCP.ini"), "[Sessions\\inject]\nHostName=win.example\nFSProtocol=5\n"
                                       "UserName=bob%0D%0ASITE CHMOD 777 /etc\nPasswordPlain=pw\n"
                                       "[Sessions\\pass]\nHostName=pass.example\nFSProtocol=5\nUserName=al\n"
                                       "PasswordPlain=pw%0D%0ADELE /important.txt\n"
                                       "[Sessions\\esc]\nHostName=esc%1B[2J.example\nFSProtocol=5\n");
    WriteBytes(dir.File("sites.xml"),
               "<FileZilla3><Servers>"
               "<Server><Host>fz.example</Host><User>bob&#13;&#10;RNFR /a</User><Name>U</Name></Server>"
               "<Server><Host>cr&#13;&#10;QUIT.example</Host><Name>E</Name></Server>"
               "<Folder>bad&#9;folder<Server><Host>ok.example</Host><Name>F</Name></Server></Folder>"
               "</Servers></FileZilla3>");
    const std::string p = dir.File("p.dix"), t = dir.File("tail.dix");
    struct Case {
        std::string args;
        int exitCode;
        std::string out, err; // parts expected in each; "" expects the stream empty
    } const cases[] = {
        {"check " + t, 1, "", tail + "; the program ignores them"},
        {"redact " + t + " " + dir.File("r.dix"), 0, "", tail + " are not part of it and are left out"},
        {"import " + t + " " + dir.File("WinSCP.ini"), 1, "",
         tail + "; writing the project back would drop them"},
        {"import " + p + " " + dir.File("WinSCP.ini"), 0,
         "skipped win.example (inject): its user name has a control character, which may never reach a "
         "server\n"
         "skipped pass.example (pass): its password has a control character, which may never reach a server\n"
         "skipped esc\\x1b[2J.example (esc): its host has a control character, which may never reach a "
         "server\n"
         "0 added, 0 kept, 3 skipped\n",
         ""},
        {"import " + p + " " + dir.File("sites.xml"), 0,
         "skipped fz.example (U): its user name has a control character, which may never reach a server\n"
         "skipped cr\\r\\nQUIT.example (E): its host has a control character, which may never reach a "
         "server\n"
         "skipped ok.example (bad\\tfolder/F): its name or folder has a control character, which may never "
         "reach a server\n"
         "0 added, 0 kept, 3 skipped\n",
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        const DixSplitRun r = RunDixApart(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
        EXPECT_TRUE(c.out.empty() ? r.out.empty() : r.out == c.out) << r.out;
        EXPECT_TRUE(c.err.empty() ? r.err.empty() : r.err.find(c.err) != std::string::npos) << r.err;
    }
    EXPECT_EQ(ReadBytes(t), clean + "xyz");
    EXPECT_EQ(ReadBytes(p), clean);
}

// Results go to standard output and failures to standard error; a result that cannot be
// written (a full disk) is a failure with a message, whatever the command.
TEST(DixContract, ResultsOnStandardOutputFailuresOnStandardErrorAndAFullDiskFails) {
    TempDir dir;
    WriteBytes(dir.File("p.dix"), MakeSampleProject().SaveToMemory());
    WriteBytes(dir.File("cut.dix"), MakeSampleProject().SaveToMemory().substr(0, 20));
    WriteBytes(dir.File("sites.xml"),
               "<FileZilla3><Servers><Server><Host>new.example</Host></Server></Servers></FileZilla3>");
    const std::string p = dir.File("p.dix");
    const std::string full[] = {
        "dump " + p, "check " + p, "lint " + p,  "import --dry-run " + p + " " + dir.File("sites.xml"),
        "--help",    "--version",  "dump --help"};
    for (const std::string& args : full) {
        SCOPED_TRACE(args);
        const DixSplitRun r = RunDixApart(args + " > /dev/full");
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err.rfind("corvane-dix: cannot write to standard output", 0), 0u) << r.err;
    }
    // A damaged project is named with the offset of the field that promised too much (the
    // profile count).
    for (const std::string command : {"check", "dump", "lint", "redact"}) {
        SCOPED_TRACE(command);
        const DixSplitRun r =
            RunDixApart(command + " " + dir.File("cut.dix") + (command == "redact" ? " x.dix" : ""));
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("cut.dix"), std::string::npos);
        EXPECT_NE(r.err.find("at byte 0 exceeds"), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
}
