// The listing parser against lines that servers really send.
#include "platform/FtpListParser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

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
    // Month names of other languages, in UTF-8 and in single-byte code pages.
    {"de", "drwxr-xr-x 2 ftp ftp 4096 Okt  8 12:34 Berichte", "Berichte", Type::folder, 4096, ""},
    {"de", "drwxr-xr-x 2 ftp ftp 4096 M\xc3\xa4r  3 09:15 Archiv", "Archiv", Type::folder, 4096, ""},
    {"de latin-1", "drwxr-xr-x 2 ftp ftp 4096 M\xe4r  3 09:15 alt", "alt", Type::folder, 4096, ""},
    {"de", "-rw-r--r-- 1 u g 1234 26. Juli, 20:10 Protokoll.txt", "Protokoll.txt", Type::file, 1234, ""},
    {"de", "drwxr-xr-x 2 u g 4096 30. Jan., 12:40 Januar", "Januar", Type::folder, 4096, ""},
    {"fr", "drwxr-xr-x 2 ftp ftp 4096 d\xc3\xa9\x63.  8 12:34 Documents", "Documents", Type::folder, 4096, ""},
    {"fr", "drwxr-xr-x 2 ftp ftp 4096 f\xc3\xa9vr. 14  2020 photos", "photos", Type::folder, 4096, ""},
    {"fr latin-1", "drwxr-xr-x 2 u g 4096 ao\xfbt 15  2020 vacances", "vacances", Type::folder, 4096, ""},
    {"it", "drwxr-xr-x 2 u g 4096 gen 12 10:00 cartella", "cartella", Type::folder, 4096, ""},
    {"es", "drwxr-xr-x 2 u g 4096 ene 26  2010 carpeta", "carpeta", Type::folder, 4096, ""},
    {"nl", "drwxr-xr-x 2 u g 4096 mei  2  2017 mei map", "mei map", Type::folder, 4096, ""},
    {"hu", "drwxr-xr-x 2 u g 4096 m\xc3\xa1rc.  8 12:34 mappa", "mappa", Type::folder, 4096, ""},
    {"hu", "drwxr-xr-x 2 u g 4096 szept 30  2016 tavaly", "tavaly", Type::folder, 4096, ""},
    {"ru", "drwxr-xr-x 2 u g 4096 \xd0\xbe\xd0\xba\xd1\x82 10 12:34 docs", "docs", Type::folder, 4096, ""},
    {"ru", "drwxr-xr-x 2 u g 4096 \xd0\xbc\xd0\xb0\xd1\x8f  9  2015 may", "may", Type::folder, 4096, ""},
    {"ru capital", "drwxr-xr-x 2 u g 4096 \xd0\x9e\xd0\xba\xd1\x82 10 12:34 cap", "cap", Type::folder, 4096, ""},
    {"ru koi8-r", "drwxr-xr-x 2 u g 4096 \xcf\xcb\xd4 10 12:34 koi", "koi", Type::folder, 4096, ""},
    {"ru cp1251", "drwxr-xr-x 2 u g 4096 \xe4\xe5\xea 31  2012 win", "win", Type::folder, 4096, ""},
    {"zh", "drwxr-xr-x 2 u g 4096 3\xe6\x9c\x88 29 03:26 zh", "zh", Type::folder, 4096, ""},
    {"ja", "drwxr-xr-x 2 u g 4096 3\xe6\x9c\x88 29\xe6\x97\xa5 03:26 day unit", "day unit", Type::folder, 4096, ""},
    {"zh", "drwxr-xr-x 2 u g 4096 2019\xe5\xb9\xb4\x31\x32\xe6\x9c\x88\x31\x31\xe6\x97\xa5 10:00 ymd", "ymd", Type::folder, 4096, ""},
    {"ko", "drwxr-xr-x 2 u g 4096 3\xec\x9b\x94 29\xec\x9d\xbc 03:26 ko", "ko", Type::folder, 4096, ""},
    // Other dates, sizes and permission strings.
    {"vshell", "-rwxr-xr-x    1 user     group           9 Oct 08, 2002 09:47 vshell1", "vshell1", Type::file, 9, ""},
    {"numeric", "drwxr-xr-x 2 0 0 4096 3 29 03:26 numeric", "numeric", Type::folder, 4096, ""},
    {"no date", "drwxr-xr-x 1 owner group 0 undated folder", "undated folder", Type::folder, 0, ""},
    {"rounded", "-rw-r--r-- 1 u g 33.5k Jan  5 12:34 rounded.bin", "rounded.bin", Type::file, 34304, ""},
    {"run into", "drwxr-xr-x 2 ftpuser ftpusers4096 Jan  5 12:34 packed", "packed", Type::folder, 4096, ""},
    {"short", "drwxrwx 2 u g 512 Jan  5 12:34 short", "short", Type::folder, 512, ""},
    {"netware", "d [R----F--] supervisor            512       Jan 16 18:53    login", "login", Type::folder, 512, ""},
    {"netware", "- [RWCEAFMS] rhesus             214059       Oct 20 15:27    cx.exe", "cx.exe", Type::file, 214059, ""},
    {"netpresenz", "drwxrwxr-x               folder        2 May 10  1996 network", "network", Type::folder, 2, ""},
    {"netpresenz", "-------r--         326  1391972  1392298 Nov 22  1995 MegaPhone.sit", "MegaPhone.sit", Type::file, 1392298, ""},
    // Other families.
    {"eplf", "+i8388621.48594,m825718503,r,s280,\tdjb.html", "djb.html", Type::file, 280, ""},
    {"eplf", "+i8388621.50690,m824255907,/,\t514", "514", Type::folder, -1, ""},
    {"os/2", "     0           DIR   02-11-103  16:15  name", "name", Type::folder, -1, ""},
    {"os/2", "   345           A     12-02-96   13:46  readme.txt", "readme.txt", Type::file, 345, ""},
    {"vms", "SUBDIR.DIR;1  1/3  5-MAR-1993 18:09:01 [GROUP,OWNER] (RWED,RWED,RE,RE)", "SUBDIR", Type::folder, -1, ""},
    {"vms", "CII-MANUAL.TEX;1  213/216  29-JAN-1996 03:33:12  [ANONYMOU,ANONYMOUS]   (RWED,RWED,,)", "CII-MANUAL.TEX", Type::file, -1, ""},
    {"as/400", "QSYS            77824 02/23/00 15:09:55 *DIR       QOpenSys/", "QOpenSys", Type::folder, -1, ""},
    {"as/400", "QDOC            24576 09/23/99 14:35:50 *FLR       QDOC/", "QDOC", Type::folder, -1, ""},
    {"as/400", "ANDREW            *MEM       RPGLESRC.FILE/UMFRM.MBR", "RPGLESRC.FILE/UMFRM.MBR", Type::file, -1, ""},
    {"as/400", "               5263360 06/11/97 12:27:39 *FILE      SAVED FILE", "SAVED FILE", Type::file, 5263360, ""},
    {"vxworks", "     512   FEB-09-2005  19:44:52   logs   <DIR>", "logs", Type::folder, -1, ""},
    {"vxworks", "      41   JAN-25-2000  10:36:42   readme.txt", "readme.txt", Type::file, 41, ""},
    {"os-9", "  0.0   05/10/28 0935 d-ewrewr   8E0      1280 CMDS", "CMDS", Type::folder, 1280, ""},
    {"os-9", "  0.0   05/10/28 0935 ------wr   A30      3420 startup", "startup", Type::file, 3420, ""},
    // Not entries.
    {"blank name", "drwxr-xr-x 2 u g 4096 Jan  5 12:34    ", nullptr, Type::file, 0, ""},
    {"unknown month", "drwxr-xr-x 2 u g 4096 xyz  5 12:34 somewhere", nullptr, Type::file, 0, ""},
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
    {"mlsd:tab", "type=dir;modify=20230101101010;\tmy folder", "my folder", Type::folder, -1, ""},
    {"mlsd:blank", "type=dir;size=0;   ", nullptr, Type::file, 0, ""},
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
             Body{"insgesamt 8\r\n\xd0\xb8\xd1\x82\xd0\xbe\xd0\xb3\xd0\xbe 8\r\n\xe5\x90\x88\xe8\xa8\x88 "
                  "8\r\n",
                  false, 0, 0},
             Body{"", false, 0, 0},
             Body{"type=cdir; /x\r\ntype=pdir; /\r\n", true, 0, 0},
             Body{"type=cdir; /x\r\ntype=dir; d\r\ntype=file;size=3; f", true, 2, 0},
             Body{"ls: cannot open directory .: Permission denied\r\nsomething else\r\n", false, 0, 2},
             Body{"drwxr-xr-x 2 u g 1 Jan  5 12:34 a\r\nsomething else\r\n", false, 1, 1},
             // VMS: a long name alone on its line, the rest on the next; the head and foot.
             Body{"Directory DISK$USER:[FTP]\r\n\r\nA-LONG-NAME.DIR;1\r\n   1/3  5-MAR-1993 18:09:01 [G,O] "
                  "(RWED,RWED,RE,RE)\r\nX.TXT;2  1/3  5-MAR-1993 18:09:01 [G,O] (RWED,RWED,RE,RE)\r\n\r\n"
                  "Total of 2 files, 2/6 blocks.\r\n",
                  false, 2, 0},
             Body{"LONE.DIR;1\r\n", false, 0, 1},
             Body{"Directory listing denied\r\n", false, 0, 1},
         }) {
        const corvane::FtpListing listing = corvane::ParseListing(b.text, b.mlsd);
        EXPECT_EQ(listing.arrEntries.size(), b.entries) << b.text;
        EXPECT_EQ(listing.nUnreadable, b.unreadable) << b.text;
    }
    const corvane::FtpListing some = corvane::ParseListing("x\r\ny\r\n", false);
    EXPECT_EQ(corvane::UnreadableLinesText(some.nUnreadable, some.strFirstUnreadable),
              "2 lines of the listing could not be read and are not shown (the first: \"x\").");
    EXPECT_EQ(corvane::UnreadableLinesText(0, ""), "");
}

// Every seed of the listing fuzz corpus is a listing of one family, read whole: not a line
// left unread and a folder in each.
TEST(FtpListing, EverySeedReadsWhole) {
    for (const auto& file :
         std::filesystem::directory_iterator(std::string(CORVANE_FUZZ_DIR) + "/corpus-listing")) {
        std::ifstream in(file.path(), std::ios::binary);
        const std::string body((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const bool mlsd = file.path().filename().string().rfind("mlsd", 0) == 0;
        const corvane::FtpListing listing = corvane::ParseListing(body, mlsd);
        EXPECT_EQ(listing.nUnreadable, 0u) << file.path() << ": " << listing.strFirstUnreadable;
        EXPECT_TRUE(std::any_of(listing.arrEntries.begin(), listing.arrEntries.end(),
                                [](const FtpListEntry& e) { return e.type == Type::folder; }))
            << file.path();
    }
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
