// One program per user session: the request a later start sends, and real later
// starts of the program handing their command line to the window under test.
#include "../common/ShellTestSupport.h"
#include "app/CCorvaneShell.h"
#include "app/CInstanceChannel.h"

#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

using namespace shelltest;
using namespace std::string_literals;
using Request = CInstanceChannel::Request;

namespace {

// Starts the program in `cwd` with `args` and lets the toolkit run, as the running
// program's loop would, until the start has ended and `done` holds. The start's
// exit status, or -1 when it is still running after a generous while.
int RunLaterStart(
    const std::string& cwd, const std::vector<std::string>& args,
    const std::function<bool()>& done = [] { return true; }) {
    std::vector<std::string> argv = {CORVANE_PROGRAM};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> cargv;
    for (std::string& a : argv)
        cargv.push_back(a.data());
    cargv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, CORVANE_PROGRAM, &actions, nullptr, cargv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    int status = -1;
    const bool ended = testpump::PumpUntil(
        [&] {
            if (pid != 0 && ::waitpid(pid, &status, WNOHANG) == pid)
                pid = 0;
            return pid == 0 && done();
        },
        std::chrono::seconds(30));
    if (!ended && pid != 0) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
    }
    return ended && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST(InstanceRequest, CarriesFileAndTokenAndRefusesAnythingElse) {
    for (const Request& request : {Request{"", ""}, Request{"/srv/a b/\"x\"\n.dix", "host-1_TIME42"},
                                   Request{"/caf\xC3\xA9.dix", ""}}) {
        const std::string bytes = CInstanceChannel::Encode(request);
        EXPECT_EQ(CInstanceChannel::Decode(bytes.data(), bytes.size()), request);
    }
    const std::string good = CInstanceChannel::Encode({"/a.dix", "t"});
    const std::string header = good.substr(0, good.find('\0') + 1);
    for (const std::string& bad :
         {""s, "/a.dix"s, good.substr(0, 5), header + "no separator", good + '\0' + "x", "x" + good})
        EXPECT_FALSE(CInstanceChannel::Decode(bad.data(), bad.size()).has_value()) << bad;
    EXPECT_FALSE(CInstanceChannel::Decode(nullptr, 4).has_value());
}

TEST(ShellInstance, LaterStartsHandTheirFileToTheRunningWindowAndEnd) {
    dlgtest::CNoStrayDialogs noStray;
    TempDir dir, run;
    CEnvOverride runtime("XDG_RUNTIME_DIR", run.Path());
    WriteProject(dir / "handed.dix", 3);
    CCorvaneShell shell(dir / "Corvane.conf");
    ASSERT_TRUE(shell.InitInstance({"corvane"}));
    shell.GetDocument().SetModifiedFlag();
    CInstanceChannel channel;
    ASSERT_FALSE(channel.HandOff({}));
    ASSERT_TRUE(channel.Listen([&shell](const Request& request) {
        shell.OnOtherStart(wxString::FromUTF8(request.file), request.startupId);
    }));

    // Without a file the window only comes up; the project stays as it was.
    EXPECT_EQ(RunLaterStart(dir.Path(), {}), 0);
    EXPECT_TRUE(shell.GetDocument().IsModified());

    // A file named relative to the later start's own folder opens here, after the
    // usual save prompt.
    int status = -1;
    wxTEST_DIALOG(status = RunLaterStart(dir.Path(), {"handed.dix"},
                                         [&shell] { return !shell.GetDocument().GetPathName().empty(); }),
                  wxExpectModal<wxMessageDialog>(wxID_NO).Describe("save prompt"));
    EXPECT_EQ(status, 0);
    EXPECT_EQ(shell.GetDocument().GetPathName(), dir / "handed.dix");
    EXPECT_EQ(shell.GetMainFrame()->GetTitle(), "handed.dix - Corvane");

    // Under the C locale a UTF-8 file name still names the file: it is taken as bytes.
    const std::string cyrillic = "\xD0\xBF\xD1\x80\xD0\xBE\xD0\xB5\xD0\xBA\xD1\x82.dix";
    WriteProject(dir / cyrillic, 2);
    CEnvOverride plainLocale("LC_ALL", "C");
    EXPECT_EQ(RunLaterStart(dir.Path(), {cyrillic},
                            [&shell] { return shell.GetDocument().m_arrProfiles.size() == 2; }),
              0);
    EXPECT_EQ(shell.GetDocument().GetPathName(), dir / cyrillic);
}
