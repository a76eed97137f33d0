// The listing parser against lines that servers really send.
#include "platform/FtpListParser.h"

#include <gtest/gtest.h>

namespace {

using corvane::FtpListEntry;
using Type = FtpListEntry::Type;

struct LineCase {
    const char* server; // who sends lines like it ("mlsd:" for MLSD lines)
    const char* line;
    const char* name; // null: not an entry
    Type type;
    std::int64_t size;
    const char* target;
};

// clang-format off
const LineCase kLines[] = {
    {"vsftpd", "drwxr-xr-x    2 ftp      ftp          4096 Mar 11 09:14 pub", "pub", Type::folder, 4096, ""},
    {"vsftpd", "-rw-r--r--    1 ftp      ftp      10485760 Jan 02  2019 10MB.zip", "10MB.zip", Type::file, 10485760, ""},
    {"vsftpd", "lrwxrwxrwx    1 ftp      ftp             3 Mar 11 09:14 publink -> pub", "publink", Type::link, 3, "pub"},
    {"proftpd", "-rw-r--r--   1 proftpd  nogroup   1048576 Oct 17 14:03 file with spaces.bin", "file with spaces.bin", Type::file, 1048576, ""},
    {"proftpd", "lrwxrwxrwx   1 root     root           11 Jan  1  2020 my latest -> release 2.1", "my latest", Type::link, 11, "release 2.1"},
    {"proftpd", "drwxrwxrwt   2 root     root         4096 Jan  5 12:34 tmp", "tmp", Type::folder, 4096, ""},
    {"pure-ftpd", "-rwsr-xr-x    1 0          0               54256 Mar 27  2019 passwd", "passwd", Type::file, 54256, ""},
    {"filezilla", "drwxr-xr-x 1 ftp ftp              0 Jun 15  2021 Documents", "Documents", Type::folder, 0, ""},
    {"iis", "02-14-22  03:45PM       <DIR>          aspnet_client", "aspnet_client", Type::folder, -1, ""},
    {"iis", "02-14-22  03:46PM                 1062 iisstart.htm", "iisstart.htm", Type::file, 1062, ""},
    {"iis", "2022-02-14  15:45       <DIR>          wwwroot", "wwwroot", Type::folder, -1, ""},
    {"iis", "01-05-2020  01:02AM                 1,234 dos file.txt", "dos file.txt", Type::file, 1234, ""},
    {"dos", "01/05/2020 12:34 PM 12 spaced am pm", "spaced am pm", Type::file, 12, ""},
    {"busybox", "lrwxrwxrwx    1 0        0              12 Jan  1 00:00 sh -> /bin/busybox", "sh", Type::link, 12, "/bin/busybox"},
    {"busybox", "crw-rw-rw-    1 0        0          1,   3 Jan  1 00:00 null", "null", Type::other, -1, ""},
    // "ls -lis" and "ls -ls": inode number and block count in front.
    {"ls -i -s", "  2654217    4 drwxr-xr-x   2 user     group        4096 Jan  5 12:34 inode dir", "inode dir", Type::folder, 4096, ""},
    {"ls -s", "   8 -rw-r--r--   1 user     group        5120 Jan  5 12:34 notes.txt", "notes.txt", Type::file, 5120, ""},
    // Owners and groups named like months.
    {"month owner", "drwxr-xr-x 2 jan 10 4096 Jan 5 12:34 x", "x", Type::folder, 4096, ""},
    {"month group", "-rw-r--r-- 1 1000 mar 12 Jan  5 12:34 small", "small", Type::file, 12, ""},
    {"month both", "-rw-r--r-- 1 may dec 512 Dec 24  2023 gift.txt", "gift.txt", Type::file, 512, ""},
    // Dates and names that look like something else.
    {"long-iso", "-rw-r--r-- 1 u g 5 2021-03-04 05:06 iso.txt", "iso.txt", Type::file, 5, ""},
    {"day first", "drwxr-xr-x+ 3 u g 4096 5 Mar 10:00 day first", "day first", Type::folder, 4096, ""},
    {"selinux", "drwxr-xr-x. 2 root root 6 Apr 11  2018 selinux", "selinux", Type::folder, 6, ""},
    {"no group", "drwxr-xr-x 2 owner 4096 Jan  5 12:34 no group", "no group", Type::folder, 4096, ""},
    {"no links", "drwxr-xr-x folder 0 Mar 20  2019 dirname", "dirname", Type::folder, 0, ""},
    {"date name", "-rw-r--r-- 1 u g 9 Jan  5 12:34 Jan 5 12:34", "Jan 5 12:34", Type::file, 9, ""},
    {"arrow file", "-rw-r--r-- 1 u g 9 Jan  5 12:34 a -> b", "a -> b", Type::file, 9, ""},
    {"blanks", "drwxr-xr-x 2 u g 4096 Feb 29 1999  leading and trailing ", " leading and trailing ", Type::folder, 4096, ""},
    {"utf-8", "drwxr-xr-x 2 u g 4096 Jan  5 12:34 \xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82", "\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82", Type::folder, 4096, ""},
    {"cp1252", "drwxr-xr-x 2 u g 4096 Jan  5 12:34 Caf\xe9", "Caf\xe9", Type::folder, 4096, ""},
    // Not entries.
    {"ls", "total 12", nullptr, Type::file, 0, ""},
    {"upper", "DRWXR-XR-X 2 u g 4096 Jan  5 12:34 x", nullptr, Type::file, 0, ""},
    {"no name", "drwxr-xr-x 2 u g 4096 Jan  5 12:34 ", nullptr, Type::file, 0, ""},
    {"dos no name", "01-05-20  12:34PM       <DIR>", nullptr, Type::file, 0, ""},
    {"dos no time", "01-05-20  noon  <DIR> x", nullptr, Type::file, 0, ""},
    {"text", "12 apples", nullptr, Type::file, 0, ""},
    // MLSD, as proftpd, pure-ftpd and pyftpdlib send it.
    {"mlsd:proftpd", "modify=20230101101010;perm=adfrw;size=1234;type=file;unique=FD00U1;UNIX.mode=0644; report.txt", "report.txt", Type::file, 1234, ""},
    {"mlsd:proftpd", "modify=20230101101010;perm=flcdmpe;type=OS.unix=symlink;unique=FD00U2; publink", "publink", Type::link, -1, ""},
    {"mlsd:pure-ftpd", "type=OS.unix=slink:/pub;size=4;modify=20230101101010; publink", "publink", Type::link, 4, "/pub"},
    {"mlsd:pyftpdlib", "type=dir;size=4096;modify=20200101000000;perm=el; pub", "pub", Type::folder, 4096, ""},
    {"mlsd:upper", "Type=File;Size=42;UNIX.mode=0644; a; b c.txt", "a; b c.txt", Type::file, 42, ""},
    {"mlsd:untyped", "size=1; untyped", "untyped", Type::other, 1, ""},
    {"mlsd:cdir", "type=cdir;perm=el; .", nullptr, Type::file, 0, ""},
    {"mlsd:pdir", "type=pdir; ..", nullptr, Type::file, 0, ""},
    {"mlsd:bad", "type=dir;nospace", nullptr, Type::file, 0, ""},
};
// clang-format on

void PrintTo(const LineCase& c, std::ostream* os) {
    *os << c.server << ": " << c.line;
}

class ListLines : public ::testing::TestWithParam<LineCase> {};

TEST_P(ListLines, Parse) {
    const LineCase& c = GetParam();
    const bool mlsd = std::string_view(c.server).rfind("mlsd:", 0) == 0;
    FtpListEntry e;
    const bool parsed = mlsd ? corvane::ParseMlsdLine(c.line, e) : corvane::ParseListLine(c.line, e);
    ASSERT_EQ(parsed, c.name != nullptr) << c.server << ": " << c.line;
    if (!parsed)
        return;
    EXPECT_EQ(e, (FtpListEntry{c.name, c.type, c.size, c.target})) << c.server << ": " << c.line;
}

INSTANTIATE_TEST_SUITE_P(Servers, ListLines, ::testing::ValuesIn(kLines));

TEST(FtpListing, WholeBodiesTellEmptyFromUnreadable) {
    struct Body {
        const char* text;
        bool mlsd;
        std::size_t entries;
        std::size_t unreadable;
    };
    for (const Body& b : {
             Body{"total 2\r\ndrwxr-xr-x 2 u g 1 Jan  5 12:34 a\r\n-rw-r--r-- 1 u g 2 Jan  5 2020 b\n\n",
                  false, 2, 0},
             Body{"total 0\r\n", false, 0, 0},
             Body{"", false, 0, 0},
             Body{"type=cdir; /x\r\ntype=pdir; /\r\n", true, 0, 0},
             Body{"type=cdir; /x\r\ntype=dir; d\r\ntype=file;size=3; f", true, 2, 0},
             Body{"ls: cannot open directory .: Permission denied\r\nsomething else\r\n", false, 0, 2},
             Body{"drwxr-xr-x 2 u g 1 Jan  5 12:34 a\r\nsomething else\r\n", false, 1, 1},
         }) {
        const corvane::FtpListing listing = corvane::ParseListing(b.text, b.mlsd);
        EXPECT_EQ(listing.arrEntries.size(), b.entries) << b.text;
        EXPECT_EQ(listing.nUnreadable, b.unreadable) << b.text;
    }
    EXPECT_EQ(corvane::ParseListing("x\r\ny\r\n", false).strFirstUnreadable, "x");
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
