#include "model/CConnectionInfo.h"
#include "model/CCorvaneDoc.h"
#include "model/CFolderProfile.h"
#include "model/CodePage.h"
#include "model/ProjectJson.h"
#include "model/SecretText.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <limits>
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

TEST(Records, CopiesKeepTheTargetsReservedList) {
    CFolderProfile source;
    source.m_arrMasks = {{"*.tmp", true, false}};
    source.m_arrSpareMasks = {{"s", false, true}};
    source.m_arrTextValues1 = {{"a", 1, 2}};
    source.m_arrTextValues2 = {{"b", 3, 4}, {"c", 5, 6}};
    source.m_arrReserved = {1, 2, 3};
    CFolderProfile target;
    target.m_arrMasks = {{"old", true, true}, {"older", false, false}};
    target.m_arrReserved = {9};
    target = source;
    EXPECT_EQ(target.m_strStateFile, source.m_strStateFile);
    EXPECT_EQ(target.m_arrMasks, source.m_arrMasks);
    EXPECT_EQ(target.m_arrSpareMasks, source.m_arrSpareMasks);
    EXPECT_EQ(target.m_arrTextValues1, source.m_arrTextValues1);
    EXPECT_EQ(target.m_arrTextValues2, source.m_arrTextValues2);
    EXPECT_EQ(target.m_arrReserved, std::vector<std::uint32_t>{9});

    CConnectionInfo c;
    c.m_strHost = "h";
    c.m_arrReserved = {1};
    CConnectionInfo d;
    d.m_arrReserved = {2, 2};
    d = c;
    EXPECT_EQ(d.m_strHost, "h");
    EXPECT_EQ(d.m_arrReserved, (std::vector<std::uint32_t>{2, 2}));
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

// Every set password the same way whatever its length; the mask itself is never masked.
TEST(SecretText, EveryOccurrenceOfEachPasswordIsMasked) {
    using corvane::MaskSecretsIn;
    EXPECT_EQ(MaskSecretsIn("530 x: user x", {"x", ""}), "530 ********: user ********");
    EXPECT_EQ(MaskSecretsIn("ab abc", {"ab", "abc"}), "******** ********");
    EXPECT_EQ(MaskSecretsIn("a*b", {"*"}), "a********b");
    EXPECT_EQ(MaskSecretsIn("nothing", {"", ""}), "nothing");
}

// A number that the field cannot hold is refused by its key path, never wrapped into
// range; the ends of each range are taken as they are.
TEST(ProjectJson, BadInputIsRefusedByItsKeyPath) {
    struct Case {
        const char* json;
        std::string path;
    } const cases[] = {
        {R"({"interval": 2147483648})", "interval"},
        {R"({"interval": -2147483649})", "interval"},
        {R"({"interval": 18446744073709551615})", "interval"},
        {R"({"connections": [{"port": 4294967317}]})", "connections[0].port"},
        {R"({"profiles": [{"textValues1": [{"value1": 4294967296}]}]})", "profiles[0].textValues1[0].value1"},
        {R"({"profiles": [{"textValues2": [{"value2": -1}]}]})", "profiles[0].textValues2[0].value2"},
        {R"({"reserved": [0, 18446744073709551615]})", "reserved[1]"},
        // Unknown keys and wrong types are named by their path too.
        {R"({"interval": 20, "colour": 1})", "colour"},
        {R"({"interval": "20"})", "interval"},
        {R"({"profiles": [{"upload": 1}]})", "profiles[0].upload"},
        {R"({"mail": {"recipients": ["a", 2]}})", "mail.recipients[1]"},
        {R"({"reports": {"log": {"sendEmpty": true}}})", "reports.log.sendEmpty"},
        {R"({"profiles": )", "not valid JSON"},
        {R"({"interval": 1e999})", "not valid JSON"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.json);
        CCorvaneDoc doc;
        try {
            corvane::ProjectFromJsonText(c.json, doc);
            ADD_FAILURE() << "accepted";
        } catch (const corvane::JsonFormatError& e) {
            EXPECT_EQ(std::string(e.what()).rfind(c.path + ": ", 0), 0u) << e.what();
        }
    }
    CCorvaneDoc doc;
    corvane::ProjectFromJson(nlohmann::json::parse(R"({"interval": -2147483648, "reserved": [4294967295],
                                  "connections": [{"port": 2147483647}]})"),
                             doc);
    EXPECT_EQ(doc.m_nInterval, std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(doc.m_arrReserved, std::vector<std::uint32_t>{4294967295u});
    EXPECT_EQ(doc.m_arrConnections.at(0).m_nPort, std::numeric_limits<std::int32_t>::max());
}
