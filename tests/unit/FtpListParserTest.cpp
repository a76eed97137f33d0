// The listing parser against the formats servers really send.
#include "platform/FtpListParser.h"

#include <gtest/gtest.h>

namespace {

using corvane::FtpListEntry;
using Type = FtpListEntry::Type;

struct LineCase {
    const char* line;
    bool parses;
    const char* name;
    Type type;
    std::int64_t size;
    const char* target;
};

class ListLines : public ::testing::TestWithParam<LineCase> {};

TEST_P(ListLines, Parse) {
    const LineCase& c = GetParam();
    FtpListEntry e;
    ASSERT_EQ(corvane::ParseListLine(c.line, e), c.parses) << c.line;
    if (!c.parses)
        return;
    EXPECT_EQ(e.strName, c.name);
    EXPECT_EQ(e.type, c.type);
    EXPECT_EQ(e.nSize, c.size);
    EXPECT_EQ(e.strLinkTarget, c.target);
}

INSTANTIATE_TEST_SUITE_P(
    Unix, ListLines,
    ::testing::Values(
        // Recent files show the time, older ones the year.
        LineCase{"drwxr-xr-x   2 user group  4096 Jan  5 12:34 pub", true, "pub", Type::folder, 4096, ""},
        LineCase{"-rw-r--r--   1 user group  123 Jan  5  2020 old.txt", true, "old.txt", Type::file, 123, ""},
        // Blanks inside and at the end of a name belong to it.
        LineCase{"drwxr-xr-x 2 u g 4096 Feb 29 23:59 two  blanks and end ", true, "two  blanks and end ",
                 Type::folder, 4096, ""},
        LineCase{"drwxr-xr-x 2 u g 4096 Feb 29 1999  leading", true, " leading", Type::folder, 4096, ""},
        LineCase{"lrwxrwxrwx 1 u g 7 Mar  1 01:02 current -> releases/7", true, "current", Type::link, 7,
                 "releases/7"},
        LineCase{"lrwxrwxrwx 1 u g 7 Mar  1 01:02 dangling", true, "dangling", Type::link, 7, ""},
        // No group column; ISO dates; day before month; ACL marker; device numbers.
        LineCase{"drwxr-xr-x 2 owner 4096 Jan  5 12:34 no group", true, "no group", Type::folder, 4096, ""},
        LineCase{"-rw-r--r-- 1 u g 5 2021-03-04 05:06 iso.txt", true, "iso.txt", Type::file, 5, ""},
        LineCase{"drwxr-xr-x+ 3 u g 4096 5 Mar 10:00 day first", true, "day first", Type::folder, 4096, ""},
        LineCase{"crw-r--r-- 1 root root 1,   3 Jan  5 12:34 null", true, "null", Type::other, -1, ""},
        // A name that looks like a date is still a name.
        LineCase{"-rw-r--r-- 1 u g 9 Jan  5 12:34 Jan 5 12:34", true, "Jan 5 12:34", Type::file, 9, ""},
        LineCase{"-rw-r--r-- 1 u g 9 Jan  5 12:34 a -> b", true, "a -> b", Type::file, 9, ""},
        LineCase{"DRWXR-XR-X 2 u g 4096 Jan  5 12:34 x", false, "", Type::file, 0, ""},
        LineCase{"total 12", false, "", Type::file, 0, ""}, LineCase{"", false, "", Type::file, 0, ""},
        LineCase{"drwxr-xr-x 2 u g 4096 Jan  5 12:34", false, "", Type::file, 0, ""},
        LineCase{"drwxr-xr-x 2 u g 4096 Jan  5 12:34 ", false, "", Type::file, 0, ""}));

INSTANTIATE_TEST_SUITE_P(Dos, ListLines,
                         ::testing::Values(LineCase{"01-05-20  12:34PM       <DIR>          dos folder", true,
                                                    "dos folder", Type::folder, -1, ""},
                                           LineCase{"01-05-2020  01:02AM                 1,234 dos file.txt",
                                                    true, "dos file.txt", Type::file, 1234, ""},
                                           LineCase{"2020-01-05  12:34       <DIR>          iso", true, "iso",
                                                    Type::folder, -1, ""},
                                           LineCase{"01/05/2020 12:34 PM 12 spaced am pm", true,
                                                    "spaced am pm", Type::file, 12, ""},
                                           LineCase{"01-05-20  12:34PM       <DIR>", false, "", Type::file, 0,
                                                    ""},
                                           LineCase{"01-05-20  noon  <DIR> x", false, "", Type::file, 0, ""},
                                           LineCase{"12 apples", false, "", Type::file, 0, ""}));

struct MlsdCase {
    const char* line;
    bool parses;
    const char* name;
    Type type;
    std::int64_t size;
};

class MlsdLines : public ::testing::TestWithParam<MlsdCase> {};

TEST_P(MlsdLines, Parse) {
    const MlsdCase& c = GetParam();
    FtpListEntry e;
    ASSERT_EQ(corvane::ParseMlsdLine(c.line, e), c.parses) << c.line;
    if (!c.parses)
        return;
    EXPECT_EQ(e.strName, c.name);
    EXPECT_EQ(e.type, c.type);
    EXPECT_EQ(e.nSize, c.size);
}

INSTANTIATE_TEST_SUITE_P(
    Mlsd, MlsdLines,
    ::testing::Values(MlsdCase{"type=dir;modify=20200101000000;perm=el; pub", true, "pub", Type::folder, -1},
                      MlsdCase{"Type=File;Size=42;UNIX.mode=0644; a; b c.txt", true, "a; b c.txt", Type::file,
                               42},
                      MlsdCase{"type=OS.unix=slink:/etc;size=4; etc", true, "etc", Type::link, 4},
                      MlsdCase{"size=1; untyped", true, "untyped", Type::other, 1},
                      MlsdCase{"type=cdir; .", false, "", Type::file, -1},
                      MlsdCase{"type=pdir; ..", false, "", Type::file, -1},
                      MlsdCase{"type=dir;nospace", false, "", Type::file, -1}));

TEST(FtpListing, WholeBodiesWithBothLineEnds) {
    const auto unix = corvane::ParseListing("total 2\r\ndrwxr-xr-x 2 u g 1 Jan  5 12:34 a\r\n"
                                            "-rw-r--r-- 1 u g 2 Jan  5 2020 b\n\nnonsense\n",
                                            false);
    ASSERT_EQ(unix.size(), 2u);
    EXPECT_EQ(unix[0].strName, "a");
    EXPECT_EQ(unix[1].strName, "b");
    const auto mlsd = corvane::ParseListing("type=cdir; /x\r\ntype=dir; d\r\ntype=file;size=3; f", true);
    ASSERT_EQ(mlsd.size(), 2u);
    EXPECT_EQ(mlsd[1].nSize, 3);
    EXPECT_TRUE(corvane::ParseListing("", true).empty());
}

TEST(FtpListing, WildcardMasks) {
    EXPECT_TRUE(corvane::WildcardMatch("*", ""));
    EXPECT_TRUE(corvane::WildcardMatch("*", "any name"));
    EXPECT_TRUE(corvane::WildcardMatch("*.txt", "a.b.txt"));
    EXPECT_FALSE(corvane::WildcardMatch("*.txt", "a.txt.gz"));
    EXPECT_TRUE(corvane::WildcardMatch("a?c*", "abcdef"));
    EXPECT_FALSE(corvane::WildcardMatch("a?c", "ac"));
    EXPECT_FALSE(corvane::WildcardMatch("ABC", "abc"));
}

} // namespace
