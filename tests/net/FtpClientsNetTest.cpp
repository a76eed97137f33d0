// Listings through the session path with either client, against real and scripted peers:
// names in the server's bytes, links, hidden folders, refusals, faults told apart from an
// empty folder, and the commands on the wire.
#include "../common/FtpPeers.h"

#include "model/CodePage.h"

#include "platform/NetTimeouts.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>

using namespace ftptest;
using namespace std::chrono_literals;
using ::testing::AllOf;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::Pair;

namespace {

using Kind = CRemoteItem::Kind;
using Entries = std::vector<std::pair<std::string, Kind>>;

Entries Kinds(const std::vector<CRemoteItem>& items) {
    Entries out;
    for (const auto& i : items)
        out.emplace_back(i.strName, i.kind);
    return out;
}

class FtpListings : public FtpWays {
protected:
    // An open session on a peer that takes any login.
    void Open(CRemoteFolderSession& probe, int port, Rule rule = Rule::connectionTest) {
        ASSERT_TRUE(probe.Open(LoopbackConnection(port, BuiltIn()), {}, rule));
    }
};

INSTANTIATE_TEST_SUITE_P(, FtpListings, ::testing::Bool(),
                         [](const auto& info) { return WayName(info.param); });

// Every folder a listing produced can be entered, whatever its name holds on the wire. MLSD
// reports what a link leads to; LIST shows the link itself.
TEST_P(FtpListings, AwkwardNamesAndLinksWithAndWithoutMlsd) {
    const std::string cyrillic = "\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82";
    for (const bool listOnly : {false, true}) {
        SCOPED_TRACE(listOnly ? "LIST" : "MLSD");
        std::vector<std::string> args = {"--tree", "--user", "alice:secret"};
        if (listOnly)
            args.push_back("--no-mlsd");
        CPeer server(Peer("ftp_server.py", args));
        ASSERT_TRUE(server.Ok()) << server.Error();
        CRemoteFolderSession probe;
        Open(probe, server.Port(), Rule::folderBrowser);
        const auto root = List(probe, "/");
        const Entries kinds = Kinds(root);
        EXPECT_THAT(kinds, Contains(Pair("publink", listOnly ? Kind::link : Kind::folder)));
        EXPECT_THAT(kinds, Contains(Pair("filelink", listOnly ? Kind::link : Kind::file)));
        EXPECT_THAT(kinds, Contains(Pair("file at root.txt", Kind::file)));
        // A legacy name keeps its byte (this peer cannot enter it; the scripted one below can).
        EXPECT_THAT(kinds, Contains(Pair("Stra\xdf"
                                         "e",
                                         Kind::folder)));
        for (const std::string name :
             {"pub", "folder with spaces", "trailing space ", "hash#and%percent", "empty", "Caf\xc3\xa9"}) {
            EXPECT_THAT(kinds, Contains(Pair(name, Kind::folder)));
            List(probe, "/" + name + "/");
        }
        EXPECT_THAT(kinds, Contains(Pair(cyrillic, Kind::folder)));
        EXPECT_TRUE(List(probe, "/" + cyrillic).empty());
        for (const auto& item : root)
            EXPECT_EQ(item.strPath, "/" + item.strName);
        EXPECT_THAT(FolderNames(List(probe, "/folder with spaces")), ElementsAre("inner  two  spaces"));
        EXPECT_TRUE(List(probe, "/folder with spaces/inner  two  spaces/").empty());
        EXPECT_THAT(FolderNames(List(probe, "/publink/")), Contains("data"));
        EXPECT_NE(ListError(probe, "/filelink"), "");

        // One expansion sends only what the listing needs.
        const bool logged = !BuiltIn() && !listOnly;
        if (logged)
            ComponentSession(probe).ClearCommandLog();
        const auto data = List(probe, "/pub/data/");
        EXPECT_THAT(Kinds(data), ::testing::UnorderedElementsAre(Pair("deep", Kind::folder),
                                                                 Pair("values.csv", Kind::file)));
        for (const auto& item : data)
            EXPECT_EQ(item.strPath, "/pub/data/" + item.strName);
        if (logged) {
            EXPECT_THAT(ComponentSession(probe).GetCommandLog(),
                        ElementsAre("CWD /pub/data", "EPSV", "MLSD"));
        }
    }
}

TEST_P(FtpListings, NamesGoBackInTheServersBytesAndThoseThatReadAlikeStayApart) {
    CPeer server(Peer("fault_server.py", {"list", "names"}));
    ASSERT_TRUE(server.Ok());
    CRemoteFolderSession probe;
    Open(probe, server.Port());
    EXPECT_THAT(FolderNames(List(probe, "/x")), ElementsAre("Caf\xc3\xa9",
                                                            "Stra\xdf"
                                                            "e",
                                                            "Caf\xe9"));
    // The server names, inside, the bytes of the folder it was asked for.
    for (const auto& [path, inside] : {std::pair("/x/Caf\xc3\xa9", "in 436166c3a9"),
                                       std::pair("/x/Stra\xdf"
                                                 "e",
                                                 "in 53747261df65"),
                                       std::pair("/x/Caf\xe9", "in 436166e9")})
        EXPECT_THAT(FolderNames(List(probe, path)), ElementsAre(inside)) << path;
}

// A refusal reaches the operator as the server wrote it, UTF-8 ("Документы") or not, and the
// session survives it. Hidden folders are asked for; a refusal of "LIST -a" is remembered.
TEST_P(FtpListings, RefusedFoldersAndHiddenOnes) {
    CPeer plain(Peer("fault_server.py", {"list", "unix"}));
    CPeer refusing(Peer("fault_server.py", {"list", "unix", "--refuse-list-a"}));
    ASSERT_TRUE(plain.Ok() && refusing.Ok());
    CRemoteFolderSession probe;
    Open(probe, plain.Port());
    for (const std::string folder :
         {"/missing-\xd0\x94\xd0\xbe\xd0\xba\xd1\x83\xd0\xbc\xd0\xb5\xd0\xbd\xd1\x82\xd1\x8b",
          "/missing-Stra\xdf"
          "e"})
        EXPECT_THAT(ListError(probe, folder),
                    HasSubstr("550 " + corvane::RemoteNameToUtf8(folder) + ": No such folder."))
            << folder;
    // Odd Unix lines are entries; the dots and what is no entry are not.
    const Entries hidden = Kinds(List(probe, "/x"));
    EXPECT_THAT(hidden, Contains(Pair(".well-known", Kind::folder)));
    EXPECT_THAT(hidden, Contains(Pair("link", Kind::link)));
    EXPECT_EQ(hidden.size(), 8u) << ::testing::PrintToString(hidden);
    if (!BuiltIn()) {
        // The line that is no entry is said in the command log too.
        EXPECT_THAT(ComponentSession(probe).GetCommandLog(),
                    Contains(HasSubstr("1 line of the listing could not be read and is not shown")));
    }

    CRemoteFolderSession refused;
    Open(refused, refusing.Port());
    for (int i = 0; i < 2; ++i)
        EXPECT_THAT(Kinds(List(refused, "/x")), Contains(Pair("no group dir", Kind::folder)));
    if (!BuiltIn()) {
        const auto& log = ComponentSession(refused).GetCommandLog();
        EXPECT_EQ(std::count(log.begin(), log.end(), "LIST -a"), 1);
        EXPECT_EQ(std::count(log.begin(), log.end(), "LIST"), 2);
    }
}

struct FaultCase {
    const char* name;
    std::vector<std::string> peer;
    corvane::NetTimeouts limits;
    const char* text; // null: an empty folder, no failure
};
// Its name, so that test names are stable (gtest would print its bytes).
void PrintTo(const FaultCase& c, std::ostream* os) {
    *os << c.name;
}

std::vector<FaultCase> FaultCases() {
    const corvane::NetTimeouts quick{2000ms, 1000ms};
    corvane::NetTimeouts smallListing = quick;
    smallListing.listingMaxBytes = 4000;
    return {
        {"Empty", {"list", "empty"}, quick, nullptr},
        {"Unreadable", {"list", "garbage"}, quick, "Listing failed: the listing of \"/x\" could not be read"},
        {"Dropped", {"drop"}, quick, ""},
        {"Stalled", {"stall"}, quick, "sent no data for 1 second."},
        {"TooSlow", {"trickle"}, {2000ms, 3000ms, 2000ms}, "took longer than 2 seconds"},
        {"TooLarge", {"trickle"}, smallListing, "larger than 4000 bytes"},
    };
}

class FtpListingFaults : public ::testing::TestWithParam<std::tuple<bool, FaultCase>> {};

INSTANTIATE_TEST_SUITE_P(, FtpListingFaults,
                         ::testing::Combine(::testing::Bool(), ::testing::ValuesIn(FaultCases())),
                         [](const auto& info) {
                             return WayName(std::get<0>(info.param)) + std::get<1>(info.param).name;
                         });

TEST_P(FtpListingFaults, AreToldApartFromAnEmptyFolder) {
    const auto& [builtIn, fault] = GetParam();
    CPeer peer(Peer("fault_server.py", fault.peer));
    ASSERT_TRUE(peer.Ok()) << peer.Error();
    corvane::ScopedNetTimeouts limits(fault.limits);
    CRemoteFolderSession probe;
    ASSERT_EQ(OpenError(probe, LoopbackConnection(peer.Port(), builtIn)), "");
    const auto start = std::chrono::steady_clock::now();
    std::vector<CRemoteItem> items;
    const auto listed = probe.List("/x", items);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 8s);
    if (!fault.text) {
        EXPECT_TRUE(listed) << listed.strError;
        EXPECT_TRUE(items.empty());
        return;
    }
    EXPECT_FALSE(listed);
    EXPECT_THAT(listed.strError, HasSubstr(fault.text));
}

TEST(FtpWire, FallsBackToListAndToPasv) {
    CPeer refused(Peer("fault_server.py", {"mlsd-refused"}));
    CPeer noEpsv(Peer("fault_server.py", {"no-epsv"}));
    ASSERT_TRUE(refused.Ok() && noEpsv.Ok());
    {
        CRemoteFolderSession probe;
        ASSERT_EQ(OpenError(probe, LoopbackConnection(refused.Port(), false)), "");
        EXPECT_FALSE(List(probe, "/a").empty());
        CFtpSession& session = ComponentSession(probe);
        session.ClearCommandLog();
        EXPECT_FALSE(List(probe, "/b").empty());
        EXPECT_THAT(session.GetCommandLog(), AllOf(Contains("LIST -a"), Not(Contains("MLSD"))));
    }
    CRemoteFolderSession probe;
    ASSERT_EQ(OpenError(probe, LoopbackConnection(noEpsv.Port(), false)), "");
    // The login sends a PASV of its own (the passive address check): only the listing's counts.
    ComponentSession(probe).ClearCommandLog();
    EXPECT_FALSE(List(probe, "/a").empty());
    EXPECT_THAT(ComponentSession(probe).GetCommandLog(), AllOf(Contains("EPSV"), Contains("PASV")));
}

} // namespace
