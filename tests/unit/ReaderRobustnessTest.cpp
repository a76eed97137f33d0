// The reader never trusts the file: what a length or count promises is checked
// against the bytes that are really there before any memory is set aside for it.
#include "model/CArchive.h"
#include "model/CCorvaneDoc.h"

#include <gtest/gtest.h>

#include <atomic>
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

TEST(ReaderRobustness, GiantLengthsAndCountsAllocateNothingForWhatTheyPromise) {
    const std::string cases[] = {
        std::string(8, '\0') + "\xFF\xFF\xFF\xFF\xFF\xFF\x7F" + "abc",             // 2 GiB string
        std::string(8, '\0') + "\xFF\xFE\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF" + "abc", // 8 GiB wide string
        std::string("\xFF\xFF\xFF\x7F", 4) + std::string(64, '\0'),                // 2^31-1 profiles
        std::string(4, '\0') + std::string("\xFF\xFF\xFF\x7F", 4) + std::string(64, '\0'), // connections
    };
    for (const auto& bytes : cases) {
        CCorvaneDoc doc;
        g_largest = 0;
        g_tracking = true;
        EXPECT_THROW(CCorvaneDoc::LoadFromMemory(doc, bytes.data(), bytes.size()), CArchiveException);
        g_tracking = false;
        EXPECT_LT(g_largest.load(), 4096u);
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
