// Load and save of large projects against plain reads and writes of the same bytes, and
// the corvane-dix commands on the largest inputs they take.
// Targets: load and save within 4x the plain I/O time; peak heap during a load within
// 4x the file size + 10 MB (the bytes are read whole, never mapped, so that a file cut
// short meanwhile is an error and not a signal); `dump` of a 5 MB project under 100 MB
// of heap; `import` of 80,000 sites under 2 s; `lint` of 2,000 connections and profiles
// under 0.1 s. Counters: MB/s, ratio to plain I/O, peak heap.
#include "model/CCorvaneDoc.h"
#include "model/ProjectJsonStream.h"
#include "tools/ImportCommand.h"
#include "tools/LintCommand.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <new>
#include <sstream>
#include <string>
#include <unistd.h>

#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

namespace {
std::atomic<long long> g_live{0};
std::atomic<long long> g_peak{0};
} // namespace

// Live heap accounting: every block carries its size in a 16-byte header.
void* operator new(std::size_t size) {
    auto* p = static_cast<char*>(std::malloc(size + 16));
    if (!p)
        throw std::bad_alloc();
    *reinterpret_cast<std::size_t*>(p) = size;
    const long long live = g_live += static_cast<long long>(size);
    long long peak = g_peak.load();
    while (live > peak && !g_peak.compare_exchange_weak(peak, live)) {
    }
    return p + 16;
}
void operator delete(void* p) noexcept {
    if (!p)
        return;
    auto* base = static_cast<char*>(p) - 16;
    g_live -= static_cast<long long>(*reinterpret_cast<std::size_t*>(base));
    std::free(base);
}
void operator delete(void* p, std::size_t) noexcept {
    operator delete(p);
}

namespace {

std::string Dir() {
    static const std::string dir = [] {
        std::string t = (std::filesystem::temp_directory_path() / "corvane-bench-XXXXXX").string();
        return std::string(::mkdtemp(t.data()));
    }();
    return dir;
}

// A project of n profiles with three masks each, written once and cached by size.
const std::string& ProjectFile(int n) {
    static std::map<int, std::string> files;
    auto& path = files[n];
    if (path.empty()) {
        CCorvaneDoc doc;
        doc.OnNewDocument();
        doc.m_arrProfiles.reserve(n);
        for (int i = 0; i < n; ++i) {
            auto& p = doc.m_arrProfiles.emplace_back();
            p.m_strConnection = "ftp" + std::to_string(i % 17) + ".example.com";
            p.m_strLocalFolder = "/srv/sync/customer-" + std::to_string(i);
            p.m_strFtpFolder = "/incoming/" + std::to_string(i);
            p.m_bUseMasks = true;
            p.m_arrMasks = {{"*.tmp", true, true}, {"~*", true, false}, {"Thumbs.db", false, true}};
        }
        path = Dir() + "/p" + std::to_string(n) + ".dix";
        std::string err;
        if (!doc.OnSaveDocument(path, err))
            std::abort();
    }
    return path;
}

double PlainReadSeconds(const std::string& path, int reps) {
    const auto size = std::filesystem::file_size(path);
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < reps; ++i) {
        // A fresh buffer each time, as a program reading the file into memory would have.
        std::string buf(size, '\0');
        std::FILE* f = std::fopen(path.c_str(), "rb");
        if (std::fread(buf.data(), 1, size, f) != size)
            std::abort();
        std::fclose(f);
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count() / reps;
}

double PlainWriteSeconds(const std::string& bytes, int reps) {
    const std::string path = Dir() + "/plain.bin";
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < reps; ++i) {
        // The same durability steps a save takes: a new file, flushed to disk, renamed.
        const std::string tmp = path + ".tmp";
        std::FILE* f = std::fopen(tmp.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fflush(f);
        ::fsync(::fileno(f));
        std::fclose(f);
        std::rename(tmp.c_str(), path.c_str());
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count() / reps;
}

void BM_Load(benchmark::State& state) {
    const std::string& path = ProjectFile(static_cast<int>(state.range(0)));
    const double size = static_cast<double>(std::filesystem::file_size(path));
    CCorvaneDoc doc;
    long long peak = 0;
    std::string err;
    for (auto _ : state) {
        state.PauseTiming();
        doc.DeleteContents();
        state.ResumeTiming();
        const long long base = g_live.load();
        g_peak = base;
        if (doc.OnOpenDocument(path, err) != CCorvaneDoc::OpenResult::ok)
            state.SkipWithError(err.c_str());
        peak = std::max(peak, g_peak.load() - base);
    }
    const double perLoad = PlainReadSeconds(path, 20);
    state.counters["MB/s"] = benchmark::Counter(size * state.iterations() / 1e6, benchmark::Counter::kIsRate);
    state.counters["plain_read_ms"] = perLoad * 1e3;
    state.counters["file_MB"] = size / 1e6;
    state.counters["peak_heap_MB"] = static_cast<double>(peak) / 1e6;
    state.counters["peak_limit_MB"] = (4 * size + 10e6) / 1e6;
}

void BM_Save(benchmark::State& state) {
    const std::string& path = ProjectFile(static_cast<int>(state.range(0)));
    const double size = static_cast<double>(std::filesystem::file_size(path));
    CCorvaneDoc doc;
    std::string err;
    doc.OnOpenDocument(path, err);
    const std::string out = Dir() + "/save.dix";
    for (auto _ : state) {
        if (!doc.OnSaveDocument(out, err))
            state.SkipWithError(err.c_str());
    }
    state.counters["MB/s"] = benchmark::Counter(size * state.iterations() / 1e6, benchmark::Counter::kIsRate);
    state.counters["plain_write_ms"] = PlainWriteSeconds(doc.SaveToMemory(), 10) * 1e3;
    state.counters["file_MB"] = size / 1e6;
}

// Sends a command's report lines nowhere for the time of one run.
class QuietOutput {
public:
    QuietOutput() : m_old(std::cout.rdbuf(m_sink.rdbuf())) {}
    ~QuietOutput() { std::cout.rdbuf(m_old); }
    QuietOutput(const QuietOutput&) = delete;
    QuietOutput& operator=(const QuietOutput&) = delete;

private:
    std::ostringstream m_sink;
    std::streambuf* m_old;
};

class NullBuffer : public std::streambuf {
protected:
    int_type overflow(int_type c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

// `dump` of a project of about 5 MB (profiles with masks, as ProjectFile makes them).
void BM_DumpPeakHeap(benchmark::State& state) {
    const std::string& path = ProjectFile(static_cast<int>(state.range(0)));
    long long peak = 0;
    std::string err;
    for (auto _ : state) {
        const long long base = g_live.load();
        g_peak = base;
        CCorvaneDoc doc;
        if (doc.OnOpenDocument(path, err) != CCorvaneDoc::OpenResult::ok)
            state.SkipWithError(err.c_str());
        // The text goes nowhere, as to a terminal or a pipe: only the program's memory counts.
        NullBuffer nowhere;
        std::ostream out(&nowhere);
        corvane::WriteProjectJson(out, doc, false);
        peak = std::max(peak, g_peak.load() - base);
    }
    state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
    state.counters["peak_heap_MB"] = static_cast<double>(peak) / 1e6;
    state.counters["peak_limit_MB"] = 100;
}

void BM_Import(benchmark::State& state) {
    const int sites = static_cast<int>(state.range(0));
    const std::string list = Dir() + "/sites" + std::to_string(sites) + ".ini";
    {
        std::ofstream out(list);
        for (int i = 0; i < sites; ++i)
            out << "[Sessions\\site" << i << "]\nHostName=host" << i
                << ".example.com\nFSProtocol=5\nUserName=u" << i << "\nPasswordPlain=p" << i << "\n";
    }
    const std::string& project = ProjectFile(1000);
    for (auto _ : state) {
        const QuietOutput quiet;
        if (RunImportCommand({project, list, "--dry-run"}) != 0)
            state.SkipWithError("import failed");
    }
    state.counters["limit_s"] = 2;
}

void BM_Lint(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    CCorvaneDoc doc;
    doc.OnNewDocument();
    for (int i = 0; i < n; ++i) {
        doc.m_arrConnections.emplace_back().m_strHost = "host" + std::to_string(i) + ".example.com";
        auto& p = doc.m_arrProfiles.emplace_back();
        p.m_strConnection = doc.m_arrConnections.back().m_strHost;
        p.m_strLocalFolder = "/srv/" + std::to_string(i);
        p.m_strFtpFolder = "/in";
        p.m_bUpload = true;
    }
    const std::string path = Dir() + "/lint" + std::to_string(n) + ".dix";
    std::string err;
    if (!doc.OnSaveDocument(path, err))
        std::abort();
    for (auto _ : state) {
        const QuietOutput quiet;
        RunLintCommand({path});
    }
    state.counters["limit_s"] = 0.1;
}

} // namespace

BENCHMARK(BM_DumpPeakHeap)->Arg(35000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Import)->Arg(80000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Lint)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
