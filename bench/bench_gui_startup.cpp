// Start-up of the program to its first idle moment with an empty project, against a
// minimal wx program that shows one frame, both started as fresh processes from
// this same executable (so both are built and linked the same way). The ratio of
// the two times is the figure; each child reports its first idle moment through a
// pipe and leaves at once, so shutdown is not counted.
#include "GuiBenchSupport.h"

#include "app/CCorvaneApp.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include <wx/frame.h>

extern char** environ;

namespace {

constexpr const char* kChildFlag = "--startup-child=";
int g_nReportFd = -1;

// Both children end the same way: one byte at the first idle event, then exit.
void ReportIdleAndExit(wxIdleEvent&) {
    const char byte = 1;
    if (::write(g_nReportFd, &byte, 1) != 1)
        ::_exit(3);
    ::_exit(0);
}

class CMinimalApp : public wxApp {
public:
    bool OnInit() override {
        auto* frame = new wxFrame(nullptr, wxID_ANY, "Untitled - Corvane");
        frame->Show();
        Bind(wxEVT_IDLE, &ReportIdleAndExit);
        return true;
    }
};

class CTimedCorvaneApp : public CCorvaneApp {
public:
    bool OnInit() override {
        if (!CCorvaneApp::OnInit())
            return false;
        Bind(wxEVT_IDLE, &ReportIdleAndExit);
        return true;
    }
};

int RunChild(const std::string& kind, int fd) {
    g_nReportFd = fd;
    if (kind == "minimal")
        wxApp::SetInstance(new CMinimalApp);
    else
        wxApp::SetInstance(new CTimedCorvaneApp);
    char name[] = "corvane";
    char* argv[] = {name, nullptr};
    int argc = 1;
    return wxEntry(argc, argv);
}

std::string g_strSelf;

// Starts a child of the given kind; milliseconds to its first idle moment, or a
// negative number when it never got there.
double TimeChild(const char* kind) {
    int fds[2];
    if (::pipe(fds) != 0)
        return -1;
    const std::string flag = std::string(kChildFlag) + kind + ":" + std::to_string(fds[1]);
    char* argv[] = {g_strSelf.data(), const_cast<char*>(flag.c_str()), nullptr};
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (::posix_spawn(&pid, g_strSelf.c_str(), nullptr, nullptr, argv, environ) != 0)
        return -1;
    ::close(fds[1]);
    char byte = 0;
    const bool reported = ::read(fds[0], &byte, 1) == 1;
    const auto end = std::chrono::steady_clock::now();
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return reported ? std::chrono::duration<double, std::milli>(end - start).count() : -1;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// The two programs start in turn, so that a busy machine slows both alike; the
// figures are the medians.
void BM_StartupToFirstIdle(benchmark::State& state) {
    std::vector<double> minimal, corvane;
    for (auto _ : state) {
        const double m = TimeChild("minimal");
        const double c = TimeChild("corvane");
        if (m < 0 || c < 0) {
            state.SkipWithError("a child ended before its first idle moment");
            return;
        }
        minimal.push_back(m);
        corvane.push_back(c);
    }
    state.counters["minimal_ms"] = Median(minimal);
    state.counters["corvane_ms"] = Median(corvane);
    state.counters["ratio"] = Median(corvane) / Median(minimal);
}
BENCHMARK(BM_StartupToFirstIdle)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(15);

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strncmp(argv[1], kChildFlag, std::strlen(kChildFlag)) == 0) {
        const std::string childArg = argv[1] + std::strlen(kChildFlag);
        const auto colon = childArg.find(':');
        return RunChild(childArg.substr(0, colon), std::stoi(childArg.substr(colon + 1)));
    }
    g_strSelf = argv[0];
    const std::string home = guibench::MakeTempHome();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ec;
    std::filesystem::remove_all(home, ec);
    return 0;
}
