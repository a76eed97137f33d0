#include "../common/SampleProject.h"
#include "model/CArchive.h"
#include "model/CConnectionInfo.h"
#include "model/CCorvaneDoc.h"
#include "model/CFolderProfile.h"
#include "model/CodePage.h"
#include "model/ProjectJson.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <regex>
#include <set>

// The other defaults are pinned by the stored bytes of a default profile (FileFormatTest).
TEST(Records, EveryNewProfileGetsItsOwnStateFileName) {
    EXPECT_TRUE(std::regex_match(CFolderProfile().m_strStateFile, std::regex("X[0-9A-F]{6}\\.dbx")));
    std::set<std::string> names;
    for (int i = 0; i < 200; ++i)
        names.insert(CFolderProfile().m_strStateFile);
    EXPECT_GT(names.size(), 195u);
}

namespace {

// Every member differs from its default and from its neighbours of the same type. Written
// out by hand, not from the records' field tables, so that a member the tables miss shows.
CFolderProfile FullProfile() {
    CFolderProfile p;
    p.m_strConnection = "c.example";
    p.m_nConnection = 3;
    p.m_strLocalFolder = "/srv/l";
    p.m_strFtpFolder = "/f\xE9";
    p.m_strStateFile = "X123456.dbx";
    p.m_bUpload = p.m_bDownload = p.m_bUseMasks = p.m_bDeleteObsolete = true;
    p.m_bEnabled = p.m_bSubfolders = false;
    p.m_nConflict = CFolderProfile::conflictDownload;
    p.m_arrTextValues1 = {{"t1", 1, 2}};
    p.m_arrTextValues2 = {{"t2", 3, 4}, {"t3", 5, 6}};
    p.m_arrSpareMasks = {{"s", true, false}};
    p.m_arrMasks = {{"m", false, true}, {"n", true, true}, {"o", false, false}};
    p.m_arrReserved = {7, 8};
    return p;
}

CConnectionInfo FullConnection() {
    CConnectionInfo c;
    c.m_strHost = "h.example";
    c.m_nPort = 2121;
    c.m_strUser = "u";
    c.m_strPassword = "p\x9E";
    c.m_bUseProxy = c.m_bShowPassword = c.m_bTestPassed = c.m_bPassive = c.m_bUseWinInet = true;
    c.m_bSpare = false;
    c.m_arrReserved = {6};
    return c;
}

CCorvaneDoc FullProject() {
    CCorvaneDoc doc;
    doc.OnNewDocument();
    doc.m_arrProfiles = {FullProfile()};
    doc.m_arrConnections = {FullConnection()};
    doc.m_proxy = {"px.example", "pu", "pp", 1080, true, CProxySettings::typeSocks5};
    doc.m_mail = {
        "mx.example", "mu", "mp", 587, "f@example.com", "subject", {"a@example.com", "b@example.com"}};
    auto& r = doc.m_reports;
    r.m_bMailEnabled = r.m_bMailSendEmpty = r.m_bMailErrors = r.m_bMailNewFiles = false;
    r.m_bMailActions = r.m_bMailConflicts = false;
    r.m_bLogEnabled = r.m_bLogErrors = r.m_bLogNewFiles = r.m_bLogActions = r.m_bLogConflicts = false;
    doc.m_nInterval = 45;
    doc.m_bIntervalConfirmed = false;
    doc.m_arrReserved = {1, 2, 3};
    return doc;
}

// A copy into a record keeps the target's reserved list and everything else of the source.
template <class T> void ExpectCopiesKeepEveryFieldButReserved(const T& full) {
    for (const bool move : {false, true}) {
        SCOPED_TRACE(move ? "move" : "copy");
        T source = full;
        T target;
        target.m_arrReserved = {9};
        if (move)
            target = std::move(source);
        else
            target = source;
        EXPECT_EQ(target.m_arrReserved, std::vector<std::uint32_t>{9});
        target.m_arrReserved = full.m_arrReserved;
        EXPECT_EQ(Stored(target), Stored(full));
    }
}

} // namespace

TEST(Records, CopyAndJsonKeepEveryField) {
    ExpectCopiesKeepEveryFieldButReserved(FullProfile());
    ExpectCopiesKeepEveryFieldButReserved(FullConnection());

    CCorvaneDoc doc = FullProject();
    CCorvaneDoc again;
    again.OnNewDocument();
    corvane::ProjectFromJsonText(corvane::ProjectToJson(doc, true).dump(), again);
    EXPECT_EQ(again.SaveToMemory(), doc.SaveToMemory());
}

// Redaction and secret references reach every password through these paths.
TEST(Records, EveryPasswordIsFoundByItsKeyPath) {
    CCorvaneDoc doc = FullProject();
    doc.m_arrConnections.push_back(FullConnection());
    std::string found;
    corvane::ForEachPassword(
        doc, [&](const std::string& path, std::string& password) { found += path + "=" + password + " "; });
    EXPECT_EQ(found, "connections[0].password=p\x9E connections[1].password=p\x9E proxy.password=pp "
                     "mail.password=mp ");
}

TEST(CodePage, EveryByteRoundTripsThroughUnicode) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(corvane::Utf8ToCp1252(corvane::Cp1252ToUtf8(all)), all);
    EXPECT_EQ(corvane::Cp1252ToUtf8("\x80\x81\x9F"), "\u20AC\u0081\u0178");
}

TEST(CodePage, UnrepresentableAndMalformedInputBecomesQuestionMarks) {
    EXPECT_EQ(corvane::Utf8ToCp1252("a\u263Ab"), "a?b");
    EXPECT_EQ(corvane::Utf8ToCp1252("\xE2\x82"), "?"); // truncated sequence
    EXPECT_EQ(corvane::Utf8ToCp1252("\xFFx"), "?x");   // invalid lead byte
    EXPECT_EQ(corvane::Utf8ToCp1252("\xC3(x"), "?(x"); // bad continuation
    EXPECT_EQ(corvane::Utf16ToCp1252(u"\U0001F600\u00E9"), "?\xE9");
}

TEST(CodePage, RemoteNamesReadAsUtf8WhenTheyAreElseAsTheCodePage) {
    const std::pair<std::string, std::string> cases[] = {
        {"pub", "pub"},
        {"/\xD0\x94\xD0\xBE\xD0\xBA", "/\xD0\x94\xD0\xBE\xD0\xBA"},       // a UTF-8 server's "/Док"
        {"Caf\xE9", "Caf\xC3\xA9"},                                       // a legacy server's "Café"
        {"\xC3(", "\xC3\x83("},                                           // bad continuation
        {"\xE0\x80\xAF", "\xC3\xA0\xE2\x82\xAC\xC2\xAF"},                 // overlong form
        {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},                 // surrogate
        {"\xF4\x90\x80\x80", "\xC3\xB4\xC2\x90\xE2\x82\xAC\xE2\x82\xAC"}, // past U+10FFFF
    };
    for (const auto& [bytes, shown] : cases)
        EXPECT_EQ(corvane::RemoteNameToUtf8(bytes), shown) << bytes;
}
