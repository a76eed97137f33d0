// Listing a folder of 10,000 entries through the "Kestrel.CoFTP" component against curl on
// the same local server in the same run. Targets: a whole session (connect, log in, list,
// quit) at or below curl making the same MLSD request, and within 1.5x of `curl --list-only`.
// Counters: entries, commands sent per expansion (only CWD, EPSV and MLSD belong there), and
// the ratios printed at the end. BM_ParseList times the LIST parser alone.
#include "platform/CCoFtp.h"
#include "platform/CRemoteFolderSession.h"
#include "platform/CoFtpDispIds.h"
#include "platform/FtpListParser.h"
#include "platform/StandardComponents.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kEntries = 10000;
int g_port = 0;
double g_componentSession = 0, g_componentListing = 0, g_curl = 0, g_curlMlsd = 0;

// The fixture server, alive while its stdin pipe is open.
struct Server {
    pid_t pid = -1;
    int in = -1;

    bool Start() {
        const std::filesystem::path fixtures = CORVANE_FIXTURES_DIR;
        int pin[2], pout[2];
        if (pipe2(pin, O_CLOEXEC) || pipe2(pout, O_CLOEXEC))
            return false;
        pid = fork();
        if (pid == 0) {
            dup2(pin[0], 0);
            dup2(pout[1], 1);
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, 2);
            const std::string script = (fixtures / "ftp_server.py").string();
            const std::string count = std::to_string(kEntries);
            execl("/usr/bin/python3", "python3", script.c_str(), "--big", count.c_str(), "--user",
                  "alice:secret", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(pin[0]);
        close(pout[1]);
        in = pin[1];
        std::string line;
        char c;
        pollfd p{pout[0], POLLIN, 0};
        while (poll(&p, 1, 60000) > 0 && read(pout[0], &c, 1) == 1 && c != '\n')
            line += c;
        close(pout[0]);
        if (line.rfind("PORT ", 0) == 0)
            g_port = std::atoi(line.c_str() + 5);
        return g_port > 0;
    }
    ~Server() {
        if (in >= 0)
            close(in);
        if (pid > 0) {
            usleep(200000);
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }
};

CConnectionInfo Connection() {
    CConnectionInfo c;
    c.m_strHost = "127.0.0.1";
    c.m_nPort = g_port;
    c.m_strUser = "alice";
    c.m_strPassword = "secret";
    c.m_bPassive = true;
    return c;
}

double Seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// What the folder browser does per expansion, on an open session.
void BM_ComponentExpansion(benchmark::State& state) {
    CRemoteFolderSession remote;
    remote.Open(Connection(), {}, CRemoteFolderSession::ProxyRule::folderBrowser);
    CFtpSession* session = dynamic_cast<CCoFtp*>(remote.GetComponent().get())->GetSession();
    std::vector<CRemoteItem> items;
    remote.List("/", items);
    double total = 0;
    std::size_t entries = 0, commands = 0;
    int n = 0;
    for (auto _ : state) {
        // Alternate folders so that every expansion really changes folder, as in the tree.
        remote.List("/", items);
        session->ClearCommandLog();
        const auto start = std::chrono::steady_clock::now();
        remote.List("/big", items);
        const auto took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(Seconds(took));
        total += Seconds(took);
        entries = items.size();
        commands = session->GetCommandLog().size();
        ++n;
    }
    g_componentListing = total / n;
    state.counters["entries"] = static_cast<double>(entries);
    state.counters["commands"] = static_cast<double>(commands);
    std::string sent;
    for (const auto& c : session->GetCommandLog())
        sent += c + "; ";
    state.SetLabel(sent);
}
BENCHMARK(BM_ComponentExpansion)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// Connect, log in, list, quit: the same work as one curl run.
void BM_ComponentSession(benchmark::State& state) {
    double total = 0;
    int n = 0;
    std::size_t entries = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        CRemoteFolderSession remote;
        std::vector<CRemoteItem> items;
        remote.Open(Connection(), {}, CRemoteFolderSession::ProxyRule::connectionTest);
        remote.List("/big", items);
        entries = items.size();
        remote.Close();
        total += Seconds(std::chrono::steady_clock::now() - start);
        ++n;
    }
    g_componentSession = total / n;
    state.counters["entries"] = static_cast<double>(entries);
}
BENCHMARK(BM_ComponentSession)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// Mean seconds of one run of the shell command `cmd` over the benchmark's iterations.
double TimeCommand(benchmark::State& state, const std::string& cmd) {
    double total = 0;
    int n = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (std::system(cmd.c_str()) != 0)
            state.SkipWithError("curl failed");
        total += Seconds(std::chrono::steady_clock::now() - start);
        ++n;
    }
    return n ? total / n : 0;
}

void BM_CurlListOnly(benchmark::State& state) {
    g_curl =
        TimeCommand(state, "curl -s --list-only -u alice:secret ftp://127.0.0.1:" + std::to_string(g_port) +
                               "/big/ > /dev/null");
}
BENCHMARK(BM_CurlListOnly)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// The same request the component makes (MLSD, types and sizes only), for the server's share.
void BM_CurlMlsd(benchmark::State& state) {
    g_curlMlsd =
        TimeCommand(state, "curl -s -Q 'OPTS MLST type;size;' -X MLSD -u alice:secret ftp://127.0.0.1:" +
                               std::to_string(g_port) + "/big/ > /dev/null");
}
BENCHMARK(BM_CurlMlsd)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// The parser alone on a LIST reply of 10,000 lines, as a server without MLSD sends it: the
// share of a listing that is ours, whatever the network. Lines in English, in German and of
// older families, so every date form and family is on the way.
void BM_ParseList(benchmark::State& state) {
    static constexpr const char* kLines[] = {
        "drwxr-xr-x    2 ftp      ftp          4096 Mar 11 09:14 folder %05d",
        "-rw-r--r--    1 ftp      ftp      10485760 Jan 02  2019 file %05d.zip",
        "drwxr-xr-x    2 ftp      ftp          4096 M\xc3\xa4r  3 09:15 Ordner %05d",
        "drwxr-xr-x    2 ftp      ftp          4096 26. Juli, 20:10 Sommer %05d",
        "     512   FEB-09-2005  19:44:52   logs%05d   <DIR>",
    };
    std::string body;
    char line[128];
    for (int i = 0; i < kEntries; ++i) {
        std::snprintf(line, sizeof line, kLines[i % std::size(kLines)], i);
        body += line;
        body += "\r\n";
    }
    std::size_t entries = 0;
    for (auto _ : state)
        entries = corvane::ParseListing(body, false).arrEntries.size();
    state.counters["entries"] = static_cast<double>(entries);
}
BENCHMARK(BM_ParseList)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    corvane::RegisterStandardComponents();
    Server server;
    if (!server.Start()) {
        std::cerr << "bench_ftp_listing: the FTP fixture server did not start\n";
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (g_curl > 0) {
        std::printf("session ratio (component / curl --list-only): %.2f (target <= 1.5)\n",
                    g_componentSession / g_curl);
        std::printf("expansion on an open session / curl run: %.2f\n", g_componentListing / g_curl);
        if (g_curlMlsd > 0)
            std::printf("session ratio (component / curl with the same MLSD request): %.2f (target <= 1)\n",
                        g_componentSession / g_curlMlsd);
    }
    return 0;
}
