#include "../common/SampleProject.h"

#include "model/CArchive.h"
#include "model/CCorvaneDoc.h"

#include <gtest/gtest.h>

#include <sstream>
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
    std::istringstream in(hex);
    std::string out;
    for (unsigned byte = 0; in >> std::hex >> byte;)
        out += static_cast<char>(byte);
    return out;
}

template <class T> T Loaded(const std::string& bytes, T record) {
    CArchive ar(bytes.data(), bytes.size());
    record.Serialize(ar);
    return record;
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

// Fields in file order; flags in their own order, which is not the records'.
TEST(FileFormat, RecordsAreStoredFieldByFieldInFileOrder) {
    CFolderProfile profile; // the defaults
    profile.m_strStateFile = "X0A1B2C.dbx";
    CConnectionInfo connection;
    connection.m_strHost = "h";
    connection.m_strUser = connection.m_strPassword = "";
    connection.m_bUseProxy = connection.m_bShowPassword = connection.m_bUseWinInet = true;
    connection.m_bPassive = connection.m_bTestPassed = connection.m_bSpare = false;
    CProxySettings proxy;
    proxy.m_strHost = proxy.m_strUser = "";
    proxy.m_nType = 1;
    proxy.m_bShowPassword = true;
    const std::pair<std::string, std::string> cases[] = {
        {Stored(profile),
         "FF FF FF FF 09 31 32 37 2E 30 2E 30 2E 31 09 31 32 37 2E 30 2E 30 2E 31 "
         "03 43 3A 5C 01 2F 0B 58 30 41 31 42 32 43 2E 64 62 78 00 00 01 00 00 01 02 00 00 00 "
         "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 05 00 00 00 00 00 00 00 00 00 00 00 "
         "00 00 00 00 00 00 00 00 00 00 00 00"},
        // host, port, user, password, then use-proxy, passive, show-password, tested, built-in, spare.
        {Stored(connection).substr(0, 14), "01 68 15 00 00 00 00 00 01 00 01 00 01 00"},
        // Three empty strings, port, type, then the flag last.
        {Stored(proxy), "00 00 00 FE 1F 00 00 01 00 00 00 01"},
    };
    for (const auto& [bytes, expected] : cases)
        EXPECT_EQ(Hex(bytes), expected);
    EXPECT_EQ(cases[0].first.size(), 92u);
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

// FF FE FF marks the wide form: a normal prefix counting UTF-16 units follows. The
// text is read into the code page and saved back in the 8-bit form.
TEST(FileFormat, WideStringsAreReadIntoTheCodePageAndSavedBackInTheEightBitForm) {
    EXPECT_EQ(LoadString(Unhex("FF FE FF 04 43 00 E9 00 AC 20 3A 26")), "C\xE9\x80?"); // no U+263A
    std::string longWide = Unhex("FF FE FF FF 00 01");                                 // a two-byte length
    for (int i = 0; i < 256; ++i)
        longWide += Unhex("41 00");
    EXPECT_EQ(LoadString(longWide), std::string(256, 'A'));

    CCorvaneDoc doc;
    doc.OnNewDocument();
    std::string bytes = doc.SaveToMemory();
    // The proxy host follows the two counts.
    bytes.replace(8, 1 + static_cast<unsigned char>(bytes[8]),
                  Unhex("FF FE FF 05 48 00 E9 00 6C 00 6C 00 6F 00"));
    CCorvaneDoc::LoadFromMemory(doc, bytes.data(), bytes.size());
    EXPECT_EQ(doc.m_proxy.m_strHost, "H\xE9llo");
    EXPECT_EQ(Hex(doc.SaveToMemory().substr(8, 6)), "05 48 E9 6C 6C 6F");
}

// What a hand-edited file may hold: two different connection texts (the second wins),
// a flag byte other than 1 (true, written back as 1), a count with the high bit set
// (no entries; the next four bytes are the following count).
TEST(FileFormat, HandEditedFilesLoadAsTheServiceReadsThem) {
    CFolderProfile p;
    p.m_strConnection = "first";
    std::string bytes = Stored(p);
    bytes.replace(4 + 6, 6, Unhex("06") + "second");
    const std::size_t upload = 4 + 6 + 7 + 4 + 2 + 12;
    bytes[upload] = '\x7F';
    const CFolderProfile loaded = Loaded(bytes, CFolderProfile(CFolderProfile::ForLoading{}));
    EXPECT_EQ(loaded.m_strConnection, "second");
    EXPECT_TRUE(loaded.m_bUpload);
    EXPECT_EQ(Stored(loaded)[upload + 1], '\x01');

    CCorvaneDoc doc;
    doc.OnNewDocument();
    doc.m_arrConnections.emplace_back();
    bytes = doc.SaveToMemory();
    bytes.replace(0, 4, Unhex("00 00 00 80"));
    CCorvaneDoc::LoadFromMemory(doc, bytes.data(), bytes.size());
    EXPECT_TRUE(doc.m_arrProfiles.empty());
    EXPECT_EQ(doc.m_arrConnections.size(), 1u);
}

// Reserved lists that profiles and connections bring from the file come back as five zeros.
TEST(FileFormat, WriteReadWriteGivesIdenticalBytesExceptTheRecordsReservedLists) {
    CCorvaneDoc doc = MakeSampleProject();
    const std::string plain = doc.SaveToMemory();
    doc.m_arrProfiles[0].m_arrReserved = {9, 9};
    doc.m_arrConnections[0].m_arrReserved = {7};
    const std::string odd = doc.SaveToMemory();
    CCorvaneDoc loaded;
    CCorvaneDoc::LoadFromMemory(loaded, odd.data(), odd.size());
    EXPECT_EQ(loaded.SaveToMemory(), plain);
    // The swapped text-value lists land in the right members.
    EXPECT_EQ(loaded.m_arrProfiles[0].m_arrTextValues1.size(), 1u);
    EXPECT_EQ(loaded.m_arrProfiles[0].m_arrTextValues2.size(), 2u);
    EXPECT_EQ(loaded.m_arrReserved, (std::vector<std::uint32_t>{1, 2, 3}));
}
