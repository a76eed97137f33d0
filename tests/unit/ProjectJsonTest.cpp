// The JSON that `corvane-dix build` reads and `dump` writes.
#include "../common/EnvOverride.h"
#include "../common/TempDir.h"

#include "model/CCorvaneDoc.h"
#include "model/CodePage.h"
#include "model/ProjectJson.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <limits>

namespace {

// The message of the refusal, or "accepted".
std::string Refusal(const std::string& json) {
    CCorvaneDoc doc;
    doc.OnNewDocument();
    try {
        corvane::ProjectFromJsonText(json, doc);
    } catch (const corvane::JsonFormatError& e) {
        return e.what();
    }
    return "accepted";
}

} // namespace

// A value the field cannot hold is refused by its key path, never wrapped into range, turned
// into "?" or sent on with a control character; the ends of each range are taken as they are.
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
        // Unknown keys and wrong types.
        {R"({"interval": 20, "colour": 1})", "colour"},
        {R"({"interval": "20"})", "interval"},
        {R"({"profiles": [{"upload": 1}]})", "profiles[0].upload"},
        {R"({"mail": {"recipients": ["a", 2]}})", "mail.recipients[1]"},
        {R"({"reports": {"log": {"sendEmpty": true}}})", "reports.log.sendEmpty"},
        {R"({"profiles": [{"ftpFolder": {"utf8": "/a"}}]})", "profiles[0].ftpFolder"},
        {R"({"proxy": {"password": {"env": "A", "file": "b"}}})", "proxy.password"},
        // Text the code page cannot hold.
        {R"({"connections": [{}, {}, {"user": "\u263A"}]})", "connections[2].user"},
        {R"({"profiles": [{"ftpFolder": {"codePage": "/\u263A"}}]})", "profiles[0].ftpFolder.codePage"},
        // Control characters in what a server or the service acts on.
        {R"({"connections": [{"host": "a\nb"}]})", "connections[0].host"},
        {R"({"connections": [{"password": "C0rp\r\nDELE x"}]})", "connections[0].password"},
        {R"({"profiles": [{"ftpFolder": "/a\rb"}]})", "profiles[0].ftpFolder"},
        {R"({"profiles": [{"masks": [{"mask": "*\u007F"}]}]})", "profiles[0].masks[0].mask"},
        {R"({"mail": {"recipients": ["a@example.com", "b@example.com\nRCPT TO:<c>"]}})",
         "mail.recipients[1]"},
        // A key given twice, wherever it is.
        {R"({"interval": 10, "interval": 20})", "interval"},
        {R"({"connections": [{}, {"host": "a", "port": 21, "host": "b"}]})", "connections[1].host"},
        // Syntax errors, named by where the parser stopped.
        {R"({"connections": [{"password": "C0rp\S"}]})", "connections[0].password"},
        {R"({"profiles": [{}, {"masks": [{"mask": "a"} {"mask": "b"}]}]})", "profiles[1].masks[1]"},
        {R"({"profiles": )", "profiles"},
        {R"({"interval": 1e999})", "interval"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.json);
        const std::string message = Refusal(c.json);
        EXPECT_EQ(message.rfind(c.path + ": ", 0), 0u) << message;
        EXPECT_EQ(message.find("C0rp"), std::string::npos) << message;
    }
    EXPECT_EQ(
        Refusal("{\n  \"mail\": {\"password\": \"C0rp\\S\"}}"),
        "mail.password: not valid JSON at line 2, column 30: syntax error while parsing value - invalid "
        "string: forbidden character after backslash");
    EXPECT_EQ(Refusal("{} x"),
              "not valid JSON at line 1, column 4: syntax error while parsing value - invalid literal");

    CCorvaneDoc doc;
    corvane::ProjectFromJsonText(R"({"interval": -2147483648, "reserved": [4294967295],
                                     "connections": [{"port": 2147483647}],
                                     "profiles": [{"stateFile": "s\t", "textValues1": [{"text": "\u0001"}]}]})",
                                 doc);
    EXPECT_EQ(doc.m_nInterval, std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(doc.m_arrReserved, std::vector<std::uint32_t>{4294967295u});
    EXPECT_EQ(doc.m_arrConnections.at(0).m_nPort, std::numeric_limits<std::int32_t>::max());
    // What only the service reads is kept as it is.
    EXPECT_EQ(doc.m_arrProfiles.at(0).m_arrTextValues1.at(0).m_strText, "\x01");
}

// A server's folder name reads as the window shows it, and back to the same bytes.
TEST(ProjectJson, FtpFoldersReadBackToTheBytesTheyWereShownFrom) {
    using nlohmann::json;
    struct Case {
        std::string bytes;
        json shown;
    } const cases[] = {
        {"/pub/data", "/pub/data"},
        {"/data/\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82",
         "/data/\u041F\u0440\u0438\u0432\u0435\u0442"},
        {"/donn\xE9"
         "es",
         {{"codePage", "/donn\u00E9es"}}},
        // Code-page text ("Ã©tÃ©") whose bytes happen to be UTF-8 shows as UTF-8, as in the window.
        {"/\xC3\xA9t\xC3\xA9", "/\u00E9t\u00E9"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        CCorvaneDoc doc;
        doc.OnNewDocument();
        doc.m_arrProfiles.emplace_back().m_strFtpFolder = c.bytes;
        const json dumped = corvane::ProjectToJson(doc, false);
        const json& folder = dumped["profiles"][0]["ftpFolder"];
        EXPECT_EQ(folder, c.shown);
        EXPECT_EQ(folder.is_string() ? folder : folder["codePage"], corvane::RemoteNameToUtf8(c.bytes));
        CCorvaneDoc again;
        corvane::ProjectFromJsonText(dumped.dump(), again);
        EXPECT_EQ(again.m_arrProfiles.at(0).m_strFtpFolder, c.bytes);
    }
    // The same bytes said as code-page text.
    CCorvaneDoc doc;
    corvane::ProjectFromJsonText(
        R"({"profiles": [{"ftpFolder": {"codePage": "/\u00C3\u00A9t\u00C3\u00A9"}}]})", doc);
    EXPECT_EQ(doc.m_arrProfiles.at(0).m_strFtpFolder, "/\xC3\xA9t\xC3\xA9");
}

TEST(ProjectJson, PasswordsAreReadFromTheReferencesTheyName) {
    TempDir dir;
    WriteBytes(dir.File("crlf"), "s\xC3\xA9"
                                 "cret\r\nsecond line\n");
    WriteBytes(dir.File("bare"), "bare");
    WriteBytes(dir.File("snowman"), "\xE2\x98\x83\n");
    WriteBytes(dir.File("tab"), "a\tb\n");
    WriteBytes(dir.File("long"), std::string(70000, 'x'));
    const CEnvOverride set("CORVANE_TEST_SECRET", "from-env");
    const CEnvOverride empty("CORVANE_TEST_EMPTY", "");
    ::unsetenv("CORVANE_TEST_UNSET");
    const auto file = [&](const std::string& name) { return R"({"file": ")" + dir.File(name) + R"("})"; };
    struct Case {
        std::string reference;
        std::string result; // the password, or the start of the refusal after "mail.password: "
    } const cases[] = {
        {R"({"env": "CORVANE_TEST_SECRET"})", "from-env"},
        {R"({"env": "CORVANE_TEST_EMPTY"})", ""},
        {file("crlf"), "s\xE9"
                       "cret"},
        {file("bare"), "bare"},
        {R"({"env": "CORVANE_TEST_UNSET"})", "the environment variable \"CORVANE_TEST_UNSET\" is not set"},
        {R"({"env": "CORVANE_TEST_SECRET=x"})",
         "the environment variable \"CORVANE_TEST_SECRET=x\" is not set"},
        {file("missing"), "cannot read the file \"" + dir.File("missing") + "\": No such file"},
        {R"({"file": ")" + dir.Path().string() + R"("})",
         "cannot read the file \"" + dir.Path().string() + "\": not a regular file"},
        {file("long"), "cannot read the file \"" + dir.File("long") + "\": its first line is longer than"},
        {file("snowman"), "the file's first line has characters the project's code page"},
        {file("tab"), "holds the control character U+0009"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reference);
        CCorvaneDoc doc;
        doc.OnNewDocument();
        try {
            corvane::ProjectFromJsonText(R"({"mail": {"password": )" + c.reference + "}}", doc);
            EXPECT_EQ(doc.m_mail.m_strPassword, c.result);
        } catch (const corvane::JsonFormatError& e) {
            EXPECT_EQ(std::string(e.what()).rfind("mail.password: " + c.result, 0), 0u) << e.what();
        }
    }
}
