#include "../common/MemoryStore.h"
#include "../common/SampleProject.h"
#include "../common/TempDir.h"

#include "model/CCorvaneDoc.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

TEST(Document, NewProjectResetsProxyAndIntervalButKeepsMailAndReports) {
    CMemoryStore store;
    CCorvaneDoc doc(&store);
    doc = MakeSampleProject();
    doc.SetProfileStore(&store);
    doc.m_mail.m_strServer = "smtp.example.net";
    doc.m_reports.m_bLogEnabled = false;
    doc.SetModifiedFlag();

    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_TRUE(doc.m_arrProfiles.empty());
    EXPECT_TRUE(doc.m_arrConnections.empty());
    EXPECT_EQ(doc.m_proxy, CProxySettings());
    EXPECT_EQ(doc.m_nInterval, 10);
    EXPECT_TRUE(doc.m_bIntervalConfirmed);
    EXPECT_EQ(doc.m_arrReserved, std::vector<std::uint32_t>(5, 0));
    EXPECT_EQ(doc.m_mail.m_strServer, "smtp.example.net");
    EXPECT_EQ(doc.m_mail.m_arrRecipients.size(), 2u);
    EXPECT_FALSE(doc.m_reports.m_bLogEnabled);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetTitle(), "Untitled");
    EXPECT_EQ(store.values["Project/CfgPath"], std::filesystem::current_path().string());
}

TEST(Document, OpeningReplacesEveryListAndNeitherOpenNorSaveWritesCfgPath) {
    TempDir dir;
    CCorvaneDoc a = MakeSampleProject();
    std::string err;
    ASSERT_TRUE(a.OnSaveDocument(dir.File("a.dix"), err)) << err;
    CCorvaneDoc b;
    b.OnNewDocument();
    b.m_arrProfiles.emplace_back().m_strLocalFolder = "/srv/b";
    b.m_mail.m_arrRecipients = {"b@example.com"};
    ASSERT_TRUE(b.OnSaveDocument(dir.File("b.dix"), err)) << err;

    CMemoryStore store;
    CCorvaneDoc doc(&store);
    ASSERT_EQ(doc.OnOpenDocument(dir.File("a.dix"), err), CCorvaneDoc::OpenResult::ok) << err;
    ASSERT_EQ(doc.OnOpenDocument(dir.File("b.dix"), err), CCorvaneDoc::OpenResult::ok) << err;
    ASSERT_EQ(doc.m_arrProfiles.size(), 1u);
    EXPECT_EQ(doc.m_arrProfiles[0].m_strLocalFolder, "/srv/b");
    EXPECT_TRUE(doc.m_arrConnections.empty());
    EXPECT_EQ(doc.m_mail.m_arrRecipients, std::vector<std::string>{"b@example.com"});
    EXPECT_EQ(doc.GetTitle(), "b.dix");
    EXPECT_FALSE(doc.IsModified());
    ASSERT_TRUE(doc.OnSaveDocument(dir.File("c.dix"), err));
    EXPECT_EQ(store.writes, 0);
}

TEST(Document, ZeroLengthFileEmptiesTheListsAndKeepsEverythingElse) {
    TempDir dir;
    WriteBytes(dir.File("empty.dix"), "");
    CCorvaneDoc doc = MakeSampleProject();
    std::string err;
    ASSERT_EQ(doc.OnOpenDocument(dir.File("empty.dix"), err), CCorvaneDoc::OpenResult::ok);
    EXPECT_TRUE(doc.m_arrProfiles.empty());
    EXPECT_TRUE(doc.m_arrConnections.empty());
    EXPECT_TRUE(doc.m_arrReserved.empty());
    EXPECT_EQ(doc.m_nInterval, 45);
    EXPECT_EQ(doc.m_proxy.m_strHost, "proxy.local");
    // Saving writes what is held: the first eight bytes are the two zero counts.
    ASSERT_TRUE(doc.OnSaveDocument(dir.File("empty.dix"), err));
    EXPECT_EQ(ReadBytes(dir.File("empty.dix")).substr(0, 8), std::string(8, '\0'));
}

TEST(Document, FileThatCannotBeOpenedLeavesTheProjectAsItWas) {
    TempDir dir;
    CCorvaneDoc doc = MakeSampleProject();
    doc.SetModifiedFlag();
    std::string err;
    EXPECT_EQ(doc.OnOpenDocument(dir.File("missing.dix"), err), CCorvaneDoc::OpenResult::cannotOpen);
    EXPECT_NE(err.find("missing.dix"), std::string::npos);
    EXPECT_EQ(doc.OnOpenDocument(dir.Path().string(), err), CCorvaneDoc::OpenResult::cannotOpen);
    EXPECT_EQ(doc.m_arrProfiles.size(), 3u);
    EXPECT_TRUE(doc.IsModified());
}

// Every prefix of a real project is refused with a message naming the file, and the
// document is a fresh new project afterwards (never half-loaded).
TEST(Document, TruncatedAtEveryOffsetIsRefusedAndResetsToANewProject) {
    TempDir dir;
    CCorvaneDoc sample = MakeSampleProject();
    const std::string bytes = sample.SaveToMemory();
    const std::string path = dir.File("cut.dix");
    CMemoryStore store;
    CCorvaneDoc doc(&store);
    std::string err;
    for (std::size_t n = 1; n < bytes.size(); ++n) {
        WriteBytes(path, bytes.substr(0, n));
        doc.m_arrProfiles.emplace_back();
        doc.m_mail.m_arrRecipients = {"keep@example.com"};
        ASSERT_EQ(doc.OnOpenDocument(path, err), CCorvaneDoc::OpenResult::badFormat) << "at " << n;
        ASSERT_TRUE(doc.m_arrProfiles.empty()) << "at " << n;
        ASSERT_TRUE(doc.m_arrConnections.empty()) << "at " << n;
        ASSERT_EQ(doc.m_arrReserved, std::vector<std::uint32_t>(5, 0)) << "at " << n;
        ASSERT_EQ(doc.GetTitle(), "Untitled");
        ASSERT_FALSE(doc.IsModified());
        ASSERT_NE(err.find("cut.dix"), std::string::npos);
    }
    // The fallback new project publishes CfgPath again each time.
    EXPECT_EQ(store.writes, static_cast<int>(bytes.size() - 1));
    WriteBytes(path, bytes);
    EXPECT_EQ(doc.OnOpenDocument(path, err), CCorvaneDoc::OpenResult::ok);
}

TEST(Document, FailedSaveLeavesTheOldFileByteIdenticalAndTheProjectModified) {
    TempDir dir;
    const std::string path = dir.File("p.dix");
    CCorvaneDoc doc = MakeSampleProject();
    std::string err;
    ASSERT_TRUE(doc.OnSaveDocument(path, err));
    const std::string before = ReadBytes(path);

    // Grow the project past a file size limit so that writing fails midway, both
    // over the project's own file and to a new one.
    for (int i = 0; i < 2000; ++i)
        doc.m_arrProfiles.emplace_back();
    doc.SetModifiedFlag();
    struct rlimit old {};
    ::getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 4096;
    ::setrlimit(RLIMIT_FSIZE, &small);
    const bool savedOver = doc.OnSaveDocument(path, err);
    const bool savedNew = doc.OnSaveDocument(dir.File("other.dix"), err);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(savedOver);
    EXPECT_FALSE(savedNew);
    EXPECT_NE(err.find("other.dix"), std::string::npos) << err;
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.GetPathName(), path);
    EXPECT_EQ(ReadBytes(path), before);
    // Neither a temporary file nor a part of the new one is left.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

// What another program does to the file meanwhile is noticed until this project reads or
// writes the file again; a file that is gone, or no file at all, is nothing to lose.
TEST(Document, NoticesAFileChangedByAnotherProgramSinceItWasOpenedOrSaved) {
    TempDir dir;
    const std::string path = dir.File("p.dix");
    CCorvaneDoc doc = MakeSampleProject();
    std::string err;
    EXPECT_FALSE(doc.ChangedOnDisk());
    ASSERT_TRUE(doc.OnSaveDocument(path, err));
    EXPECT_FALSE(doc.ChangedOnDisk());

    // A second window's save replaces the file.
    CCorvaneDoc other;
    ASSERT_EQ(other.OnOpenDocument(path, err), CCorvaneDoc::OpenResult::ok);
    ASSERT_TRUE(other.OnSaveDocument(path, err));
    EXPECT_TRUE(doc.ChangedOnDisk());
    EXPECT_FALSE(other.ChangedOnDisk());
    ASSERT_TRUE(doc.OnSaveDocument(path, err));
    EXPECT_FALSE(doc.ChangedOnDisk());
    EXPECT_TRUE(other.ChangedOnDisk());
    ASSERT_EQ(other.OnOpenDocument(path, err), CCorvaneDoc::OpenResult::ok);
    EXPECT_FALSE(other.ChangedOnDisk());

    // A write in place keeps the file but not its size and time.
    WriteBytes(path, ReadBytes(path) + "more");
    EXPECT_TRUE(doc.ChangedOnDisk());

    std::filesystem::remove(path);
    EXPECT_FALSE(doc.ChangedOnDisk());
    ASSERT_TRUE(doc.OnSaveDocument(path, err));
    WriteBytes(path, "changed");
    doc.OnNewDocument();
    EXPECT_FALSE(doc.ChangedOnDisk());
}
