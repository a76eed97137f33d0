#include "SampleProject.h"

#include "model/CArchive.h"
#include "model/CCorvaneDoc.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Hex(const std::string& bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        if (!out.empty())
            out += ' ';
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::string Unhex(const std::string& hex) {
    std::string out;
    for (std::size_t i = 0; i + 1 < hex.size();) {
        if (hex[i] == ' ') {
            ++i;
            continue;
        }
        out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
        i += 2;
    }
    return out;
}

std::string Store(CFolderProfile& p) {
    std::string bytes;
    CArchive ar(bytes);
    p.Serialize(ar);
    return bytes;
}

std::string StoreString(const std::string& s) {
    std::string bytes;
    CArchive ar(bytes);
    ar.WriteString(s);
    return bytes;
}

std::string LoadString(const std::string& bytes) {
    CArchive ar(bytes.data(), bytes.size());
    return ar.ReadString();
}

} // namespace

TEST(FileFormat, DefaultProfileIsTheDocumentedNinetyTwoBytes) {
    CFolderProfile p;
    p.m_strStateFile = "X0A1B2C.dbx";
    const std::string expected =
        Unhex("FF FF FF FF"
              "09 31 32 37 2E 30 2E 30 2E 31 09 31 32 37 2E 30 2E 30 2E 31"
              "03 43 3A 5C 01 2F"
              "0B 58 30 41 31 42 32 43 2E 64 62 78"
              "00 00 01 00 00 01"
              "02 00 00 00"
              "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
              "05 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");
    ASSERT_EQ(expected.size(), 92u);
    EXPECT_EQ(Hex(Store(p)), Hex(expected));
}

TEST(FileFormat, NewProjectBeginsWithTwoZeroCountsThenTheProxy) {
    CCorvaneDoc doc;
    doc.OnNewDocument();
    const std::string bytes = doc.SaveToMemory();
    ASSERT_GT(bytes.size(), 9u);
    EXPECT_EQ(bytes.substr(0, 8), std::string(8, '\0'));
    // The proxy host follows with its one-byte length.
    EXPECT_EQ(static_cast<unsigned char>(bytes[8]), std::string(CProxySettings::kDefaultHost).size());
}

TEST(FileFormat, StringLengthPrefixesSwitchAtTheirBoundaries) {
    struct Case {
        std::size_t length;
        std::string prefix;
    } const cases[] = {
        {0, "00"},
        {3, "03"},
        {254, "FE"},
        {255, "FF FF 00"},
        {300, "FF 2C 01"},
        {65533, "FF FD FF"},
        {65534, "FF FF FF FE FF 00 00"},
        {70000, "FF FF FF 70 11 01 00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        const std::string s(c.length, 'a');
        const std::string bytes = StoreString(s);
        const std::string prefix = Unhex(c.prefix);
        EXPECT_EQ(Hex(bytes.substr(0, prefix.size())), Hex(prefix));
        EXPECT_EQ(bytes.size(), prefix.size() + c.length);
        EXPECT_EQ(LoadString(bytes), s);
    }
}

TEST(FileFormat, WideStringsAreReadIntoTheCodePage) {
    // FF FE FF marks the wide form; then a normal prefix counting UTF-16 units.
    const std::string wide = Unhex("FF FE FF 04 43 00 E9 00 AC 20 3A 26");
    EXPECT_EQ(LoadString(wide), "C\xE9\x80?"); // U+263A has no place in the code page
    // A wide string with a two-byte length.
    std::string longWide = Unhex("FF FE FF FF 00 01");
    for (int i = 0; i < 256; ++i)
        longWide += Unhex("41 00");
    EXPECT_EQ(LoadString(longWide), std::string(256, 'A'));
}

TEST(FileFormat, WideStringInAProjectIsSavedBackInTheEightBitForm) {
    CCorvaneDoc doc;
    doc.OnNewDocument();
    std::string bytes = doc.SaveToMemory();
    // Replace the proxy host (after the two counts) with a wide "Héllo".
    const std::size_t hostLen = static_cast<unsigned char>(bytes[8]);
    bytes.replace(8, 1 + hostLen, Unhex("FF FE FF 05 48 00 E9 00 6C 00 6C 00 6F 00"));
    CCorvaneDoc loaded;
    CCorvaneDoc::LoadFromMemory(loaded, bytes.data(), bytes.size());
    EXPECT_EQ(loaded.m_proxy.m_strHost, "H\xE9llo");
    const std::string again = loaded.SaveToMemory();
    EXPECT_EQ(Hex(again.substr(8, 6)), Hex(Unhex("05 48 E9 6C 6C 6F")));
}

TEST(FileFormat, CountWithTheHighBitSetMeansNoEntries) {
    CCorvaneDoc doc;
    doc.OnNewDocument();
    doc.m_arrConnections.emplace_back();
    std::string bytes = doc.SaveToMemory();
    // Profile count 0x80000000: no profiles, and the next four bytes are the connection count.
    bytes.replace(0, 4, Unhex("00 00 00 80"));
    CCorvaneDoc loaded;
    CCorvaneDoc::LoadFromMemory(loaded, bytes.data(), bytes.size());
    EXPECT_TRUE(loaded.m_arrProfiles.empty());
    EXPECT_EQ(loaded.m_arrConnections.size(), 1u);
}

TEST(FileFormat, SecondConnectionTextWins) {
    CFolderProfile p;
    p.m_strConnection = "first";
    std::string bytes = Store(p);
    // Rewrite the second copy (after the i32 and the first "first").
    bytes.replace(4 + 6, 6, Unhex("06") + "second");
    CFolderProfile loaded(CFolderProfile::ForLoading{});
    CArchive ar(bytes.data(), bytes.size());
    loaded.Serialize(ar);
    EXPECT_EQ(loaded.m_strConnection, "second");
}

TEST(FileFormat, FieldOrderOfConnectionAndProxyFlags) {
    CConnectionInfo c;
    c.m_strHost = "h";
    c.m_strUser = "";
    c.m_strPassword = "";
    c.m_bUseProxy = true;
    c.m_bPassive = false;
    c.m_bShowPassword = true;
    c.m_bTestPassed = false;
    c.m_bUseWinInet = true;
    c.m_bSpare = false;
    std::string bytes;
    {
        CArchive ar(bytes);
        c.Serialize(ar);
    }
    // host, port, user, password, then use-proxy, passive, show-password, tested, built-in, spare.
    EXPECT_EQ(Hex(bytes.substr(0, 14)), "01 68 15 00 00 00 00 00 01 00 01 00 01 00");

    CProxySettings x;
    x.m_strHost = x.m_strUser = "";
    x.m_nType = 1;
    x.m_bShowPassword = true;
    bytes.clear();
    {
        CArchive ar(bytes);
        x.Serialize(ar);
    }
    // Three empty strings, port, type, then the flag last.
    EXPECT_EQ(Hex(bytes), "00 00 00 FE 1F 00 00 01 00 00 00 01");
}

TEST(FileFormat, WriteReadWriteGivesIdenticalBytes) {
    CCorvaneDoc doc = MakeSampleProject();
    const std::string first = doc.SaveToMemory();
    CCorvaneDoc loaded;
    CCorvaneDoc::LoadFromMemory(loaded, first.data(), first.size());
    EXPECT_EQ(loaded.SaveToMemory(), first);
    // The swapped text-value lists land in the right members.
    EXPECT_EQ(loaded.m_arrProfiles[0].m_arrTextValues1.size(), 1u);
    EXPECT_EQ(loaded.m_arrProfiles[0].m_arrTextValues2.size(), 2u);
    EXPECT_EQ(loaded.m_arrReserved, (std::vector<std::uint32_t>{1, 2, 3}));
}

TEST(FileFormat, ReservedListsOfRecordsReadBackAsFiveZeros) {
    CCorvaneDoc doc = MakeSampleProject();
    doc.m_arrProfiles[0].m_arrReserved = {9, 9};
    doc.m_arrConnections[0].m_arrReserved = {7};
    const std::string bytes = doc.SaveToMemory();
    CCorvaneDoc loaded;
    CCorvaneDoc::LoadFromMemory(loaded, bytes.data(), bytes.size());
    EXPECT_EQ(loaded.m_arrProfiles[0].m_arrReserved, std::vector<std::uint32_t>(5, 0));
    EXPECT_EQ(loaded.m_arrConnections[0].m_arrReserved, std::vector<std::uint32_t>(5, 0));
}

TEST(FileFormat, ImpossibleLengthsAndCountsFailAsEndOfFileAtTheirOffset) {
    const std::string cases[] = {
        Unhex("FF FF FF FF FF FF 7F"),          // string of 2 GiB characters
        Unhex("FF FE FF FF FF FF FF FF FF FF"), // wide string of 4 Gi units (8 GiB)
        Unhex("05"),                            // five characters promised, none there
    };
    for (const auto& bytes : cases) {
        SCOPED_TRACE(Hex(bytes));
        try {
            LoadString(bytes);
            FAIL() << "no error";
        } catch (const CArchiveException& e) {
            EXPECT_EQ(e.GetCause(), CArchiveException::Cause::endOfFile);
            EXPECT_EQ(e.GetOffset(), 0u);
        }
    }
    // A profile count far beyond what the file can hold.
    const std::string counts = Unhex("FF FF FF 7F 00 00 00 00");
    CCorvaneDoc doc;
    EXPECT_THROW(CCorvaneDoc::LoadFromMemory(doc, counts.data(), counts.size()), CArchiveException);
}

TEST(FileFormat, AnyNonZeroFlagByteIsTrue) {
    CFolderProfile p;
    std::string bytes = Store(p);
    const std::size_t flags = 4 + 10 + 10 + 4 + 2 + 12;
    bytes[flags] = '\x7F'; // Upload
    CFolderProfile loaded(CFolderProfile::ForLoading{});
    CArchive ar(bytes.data(), bytes.size());
    loaded.Serialize(ar);
    EXPECT_TRUE(loaded.m_bUpload);
    EXPECT_EQ(Store(loaded)[flags], '\x01');
}
