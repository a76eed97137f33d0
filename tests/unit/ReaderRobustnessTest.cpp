// The reader never trusts the file: what a length or count promises is checked
// against the bytes that are really there before any memory is set aside for it.
#include "../common/RunDix.h"
#include "../common/TempDir.h"
#include "model/CArchive.h"
#include "model/CCorvaneDoc.h"
#include "model/CappedFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <sys/stat.h>

namespace {
std::atomic<bool> g_tracking{false};
std::atomic<std::size_t> g_largest{0};
} // namespace

// GCC cannot see that these replacements pair malloc with free.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

// Replaced for this test binary so a test can see the largest single allocation.
void* operator new(std::size_t size) {
    if (g_tracking.load(std::memory_order_relaxed)) {
        std::size_t prev = g_largest.load();
        while (size > prev && !g_largest.compare_exchange_weak(prev, size)) {
        }
    }
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

// Impossible inputs fail as end of file at the offset of the field that promised too
// much, without setting memory aside for the promise.
TEST(ReaderRobustness, ImpossibleLengthsAndCountsFailAtTheirOffsetAllocatingNothingForThem) {
    const std::string counts(8, '\0'); // no profiles, no connections; the proxy host follows
    struct Case {
        const char* what;
        std::string bytes;
        std::uint64_t offset;
    } const cases[] = {
        {"2 GiB string", counts + "\xFF\xFF\xFF\xFF\xFF\xFF\x7F" + "abc", 8},
        {"8 GiB wide string", counts + "\xFF\xFE\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF" + "abc", 8},
        {"five characters, none there", counts + "\x05", 8},
        {"2^31-1 profiles", std::string("\xFF\xFF\xFF\x7F", 4) + std::string(64, '\0'), 0},
        {"2^31-1 connections",
         std::string(4, '\0') + std::string("\xFF\xFF\xFF\x7F", 4) + std::string(64, '\0'), 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CCorvaneDoc doc;
        g_largest = 0;
        g_tracking = true;
        try {
            CCorvaneDoc::LoadFromMemory(doc, c.bytes.data(), c.bytes.size());
            ADD_FAILURE() << "loaded";
        } catch (const CArchiveException& e) {
            EXPECT_EQ(e.GetCause(), CArchiveException::Cause::endOfFile);
            EXPECT_EQ(e.GetOffset(), c.offset);
        }
        g_tracking = false;
        EXPECT_LT(g_largest.load(), 4096u);
    }
}

// Whatever a command is given to read, it ends with one line saying why it will not,
// never with a signal, an abort or gigabytes of memory: devices, pipes, files over the
// cap, files that change while they are read, and counts that would take far more memory
// than their file's size.
TEST(ReaderRobustness, EveryReaderRefusesWhatIsNoFileOrTooLargeWithAMessage) {
    TempDir dir;
    ASSERT_EQ(RunDix("new " + dir.File("p.dix")).exitCode, 0);
    ASSERT_EQ(::mkfifo(dir.File("fifo").c_str(), 0600), 0);
    for (const char* name : {"big.dix", "big.json", "big.xml"}) {
        WriteBytes(dir.File(name), "");
        std::filesystem::resize_file(dir.File(name), corvane::kMaxProjectBytes + 1);
    }
    // Five million empty recipients: 5 MB on disk, 160 MB as strings.
    CCorvaneDoc marked;
    marked.OnNewDocument();
    marked.m_mail.m_arrRecipients = {"MARKER"};
    std::string bomb = marked.SaveToMemory();
    const std::size_t at = bomb.find("MARKER") - 5;
    const std::uint32_t n = 5'000'000;
    bomb.replace(at, 11, std::string(reinterpret_cast<const char*>(&n), 4) + std::string(n, '\0'));
    WriteBytes(dir.File("bomb.dix"), bomb);
    const std::string p = dir.File("p.dix"), out = dir.File("out.dix");
    const std::pair<std::string, std::string> cases[] = {
        {"check /dev/zero", "not a regular file"},
        {"build /dev/zero " + out, "not a regular file"},
        {"import " + p + " /dev/zero", "not a regular file"},
        {"lint " + dir.File("fifo"), "not a regular file"},
        {"redact " + dir.Path().string() + " " + out, "Is a directory"},
        {"check " + dir.File("big.dix"), "larger than 64 MB"},
        {"build " + dir.File("big.json") + " " + out, "larger than 64 MB"},
        {"import " + p + " " + dir.File("big.xml"), "larger than 64 MB"},
        {"build - " + out + " < " + dir.File("big.json"), "more than 64 MB"},
        // Reports a size of 0 and then has bytes: a file that changed while it was read.
        {"dump /proc/self/status", "changed size while it was read"},
        {"check " + dir.File("bomb.dix"), "more than a file of this size can hold"},
    };
    for (const auto& [args, reason] : cases) {
        SCOPED_TRACE(args);
        const DixRun r = RunDix(args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_NE(r.out.find(reason), std::string::npos) << r.out;
        EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1) << r.out;
        EXPECT_FALSE(std::filesystem::exists(out));
    }
}
