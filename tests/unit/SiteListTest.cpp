// The site-list readers of `corvane-dix import` on files written from each format's
// public description (the fuzz seed folders), and on lists made to exhaust them.
#include "tools/SiteList.h"
#include "../common/TempDir.h"
#include "tools/WinScpSiteList.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

using corvane::SiteEntry;

namespace {

std::string Seed(const std::string& name) {
    return ReadBytes(std::string(CORVANE_FUZZ_DIR) + "/" + name);
}

struct Expected {
    std::string name, host;
    int port;
    std::string user, password;
    bool anonymous, passive;
    std::string skip; // part of the reason; empty when the entry can be imported
};

void ExpectEntries(const std::vector<SiteEntry>& got, const std::vector<Expected>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        const SiteEntry& e = got[i];
        const Expected& w = want[i];
        SCOPED_TRACE(w.name);
        EXPECT_EQ(e.name, w.name);
        EXPECT_EQ(e.host, w.host);
        if (!w.skip.empty()) {
            EXPECT_NE(e.skipReason.find(w.skip), std::string::npos) << e.skipReason;
            continue;
        }
        EXPECT_EQ(e.skipReason, "");
        EXPECT_EQ(e.port, w.port);
        EXPECT_EQ(e.anonymous, w.anonymous);
        EXPECT_EQ(e.passive, w.passive);
        if (!w.anonymous) {
            EXPECT_EQ(e.user + "|" + e.password, w.user + "|" + w.password);
        }
    }
}

// The obfuscation as the other program stores it: every byte as two hex digits of its
// complement xor 0xA3; flag, dummy, length, filler count, filler, key + password.
std::string EncodeWinScp(std::string_view password, std::string_view key, int filler, bool withKey = true) {
    const auto put = [](std::string& out, int byte) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02X", (~byte ^ 0xA3) & 0xFF);
        out += digits;
    };
    const std::string text = withKey ? std::string(key) + std::string(password) : std::string(password);
    std::string out;
    if (withKey) {
        put(out, 0xFF);
        put(out, 0x5A);
    }
    put(out, static_cast<int>(text.size()));
    put(out, filler);
    for (int i = 0; i < filler; ++i)
        put(out, i * 37);
    for (const char c : text)
        put(out, static_cast<unsigned char>(c));
    put(out, 0x11); // trailing filler
    return out;
}

} // namespace

TEST(SiteList, EachFormatGivesItsSitesOrSaysWhyOneIsSkipped) {
    const struct {
        const char* seed;
        std::vector<Expected> sites;
    } cases[] = {
        {"corpus-filezilla/sitemanager.xml",
         {
             {"North", "ftp.north.example", 2121, "night&day", "s\u00E9cret", false, false, ""},
             {"Customers/Mirror", "mirror.example", 21, "", "", true, true, ""},
             {"Customers/Archive/North again", "FTP.North.Example", 21, "other", "plain", false, true, ""},
             {"Customers/Archive/Deploy", "sftp.example", 22, "", "", false, true, "SFTP"},
             {"Customers/Already there", "keep.example", 21, "ops", "p<w>", false, true, ""},
             {"Explicit TLS", "tls.example", 21, "", "", false, true, "explicit TLS"},
             {"Locked", "locked.example", 21, "", "", false, true, "master password"},
             {"Snowman", "snow\u2603.example", 21, "", "", false, true, ""},
             {"Bad port", "badport.example", 0, "", "", false, true, "\"70000\" is not a port"},
             {"Ask", "ask.example", 21, "asker", "", false, true, ""},
         }},
        {"corpus-filezilla/legacy.xml",
         {{"", "h", 21, "", "", false, true, "not valid base64"},
          {"Legacy name", "legacy.example", 21, "", "", false, true, ""}}},
        {"corpus-winscp/WinSCP.ini",
         {
             {"Team/Plain FTP", "plain.example", 2121, "upload", "s3cr\u00E9t", false, false, ""},
             {"Anonymous", "anon.example", 21, "", "", true, true, ""},
             {"Explicit", "tls.example", 21, "", "", false, true, "FTPS"},
             {"Shell", "shell.example", 21, "", "", false, true, "SFTP"},
             {"Damaged", "damaged.example", 21, "", "", false, true, "cannot be decoded"},
             {"Plain again", "PLAIN.example", 21, "x", "", false, true, ""},
         }},
        {"corpus-winscp/master.ini", {{"m", "m.example", 21, "", "", false, true, "master password"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.seed);
        ExpectEntries(corvane::ReadSiteList(Seed(c.seed)), c.sites);
    }
}

TEST(SiteList, WinScpPasswordDecoding) {
    const std::string longer(60, 'x');
    const struct {
        std::string password, key;
        int filler;
        bool withKey;
    } cases[] = {{"", "userhost", 0, true},
                 {"secret", "userhost", 3, true},
                 {longer, "u" + longer, 0, true},
                 {"s\xC3\xA9", "\xC3\xA9h", 40, true},
                 {"no key stored", "", 2, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.password);
        EXPECT_EQ(corvane::DecodeWinScpPassword(EncodeWinScp(c.password, c.key, c.filler, c.withKey), c.key),
                  c.password);
    }
    const std::string good = EncodeWinScp("secret", "userhost", 3);
    for (const std::string& bad : {good.substr(0, good.size() - 8), good.substr(0, 7), std::string("A3Z0"),
                                   EncodeWinScp("secret", "otherhost", 3)}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(corvane::DecodeWinScpPassword(bad, "userhost"), std::nullopt);
    }
}

TEST(SiteList, BrokenListsAreRefusedWithTheReason) {
    const struct {
        std::string bytes, reason;
    } cases[] = {
        {Seed("corpus-filezilla/truncated.xml"), "line 1: "},
        {Seed("corpus-filezilla/doctype.xml"), "document type"},
        {Seed("corpus-filezilla/no-servers.xml"), "no <Servers>"},
        {"<html><body/></html>", "its root is <html>"},
        {Seed("corpus-winscp/broken.ini"), "line 3: neither"},
        {"host=ftp.example\n", "not a site list"},
        {"", "not a site list"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        try {
            corvane::ReadSiteList(c.bytes);
            ADD_FAILURE() << "accepted";
        } catch (const corvane::SiteListError& e) {
            EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << e.what();
        }
    }
}

// A list made to exhaust memory: a thousand nested folders of ten thousand characters
// each, with sites at the bottom. No site carries the path; each says why it is skipped,
// and a site near the top keeps its folders.
TEST(SiteList, DeepFolderPathsAreCappedNotCopiedIntoEverySite) {
    std::string xml =
        "<FileZilla3><Servers><Folder>Top<Server><Host>top.example</Host><Name>Top</Name></Server>";
    const std::string longName(10'000, 'f');
    for (int i = 0; i < 1000; ++i)
        xml += "<Folder>" + longName;
    for (int i = 0; i < 100; ++i)
        xml += "<Server><Host>h" + std::to_string(i) + ".example</Host><Name>S</Name></Server>";
    for (int i = 0; i < 1000; ++i)
        xml += "</Folder>";
    xml += "</Folder></Servers></FileZilla3>";
    const std::vector<SiteEntry> sites = corvane::ReadSiteList(xml);
    ASSERT_EQ(sites.size(), 101u);
    EXPECT_EQ(sites[0].name, "Top/Top");
    EXPECT_EQ(sites[0].skipReason, "");
    std::size_t names = 0;
    for (std::size_t i = 1; i < sites.size(); ++i) {
        names += sites[i].name.size();
        EXPECT_NE(sites[i].skipReason.find("folders' names together are longer"), std::string::npos);
    }
    EXPECT_LT(names, 100 * corvane::kMaxSiteNameBytes);
}
