// The reader never trusts the file: what a length or count promises is checked
// against the bytes that are really there before any memory is set aside for it.
#include "../common/TempDir.h"
#include "SampleProject.h"
#include "model/CArchive.h"
#include "model/CCorvaneDoc.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>

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

// A file that cannot be mapped (a pipe) is read through the buffer, over many refills,
// with the same result; when it ends early the reading fails as end of file there.
TEST(ReaderRobustness, UnmappableFilesReadThroughTheBufferAlike) {
    CCorvaneDoc big = MakeSampleProject();
    big.m_arrProfiles.resize(2000, big.m_arrProfiles[0]);
    const std::string bytes = big.SaveToMemory();
    ASSERT_GT(bytes.size(), 4 * 64 * 1024u); // several buffer refills
    TempDir dir;
    for (const std::size_t size : {bytes.size(), bytes.size() - 3}) {
        SCOPED_TRACE(size);
        WriteBytes(dir.File("p.dix"), bytes.substr(0, size));
        std::FILE* pipe = ::popen(("cat '" + dir.File("p.dix") + "'").c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        CCorvaneDoc doc;
        try {
            CArchive ar(pipe, CArchive::Mode::load, bytes.size());
            doc.Serialize(ar);
            EXPECT_EQ(size, bytes.size());
            EXPECT_EQ(doc.SaveToMemory(), bytes);
        } catch (const CArchiveException& e) {
            EXPECT_LT(size, bytes.size());
            EXPECT_EQ(e.GetCause(), CArchiveException::Cause::endOfFile);
            EXPECT_EQ(e.GetOffset(), size);
        }
        ::pclose(pipe);
    }
}

// Every seed of the fuzz corpus either loads or fails with the archive's error, and
// what loads writes and reads back identically.
TEST(ReaderRobustness, FuzzCorpusReplays) {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(CORVANE_FUZZ_CORPUS_DIR)) {
        SCOPED_TRACE(entry.path().string());
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        CCorvaneDoc doc;
        try {
            CCorvaneDoc::LoadFromMemory(doc, bytes.data(), bytes.size());
        } catch (const CArchiveException&) {
            ++files;
            continue;
        }
        const std::string saved = doc.SaveToMemory();
        CCorvaneDoc again;
        CCorvaneDoc::LoadFromMemory(again, saved.data(), saved.size());
        EXPECT_EQ(again.SaveToMemory(), saved);
        ++files;
    }
    EXPECT_GE(files, 5);
}
