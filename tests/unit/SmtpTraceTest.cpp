// The mail component's SMTP reply reader, fed as libcurl feeds it: pieces of any size,
// commands sent and replies received in turn.
#include "platform/CSmtpTrace.h"

#include <gtest/gtest.h>

namespace {

struct Piece {
    bool sent;
    std::string bytes;
};

struct TraceCase {
    const char* name;
    std::vector<Piece> exchange;
    std::string lastVerb;
    int lastCode;
    std::vector<std::string> lastReply;
    bool tooLong = false;
};

const std::string kHuge(CSmtpTrace::kMaxReplyBytes + 1, 'x');

std::string ShortLines(int n) { // each 8 characters
    std::string lines;
    while (n--)
        lines += "250-more\r\n";
    return lines;
}

// clang-format off
const TraceCase kCases[] = {
    {"MultiLineReplyInPieces", {{true, "EHLO me\r\n"}, {false, "250-hostile\r\n25"}, {false, "0 AUTH PLAIN\r\n"}}, "EHLO", 250, {"250-hostile", "250 AUTH PLAIN"}},
    // Lines ended by CR alone never end.
    {"CarriageReturnOnly", {{false, "220 ready\r250 ok\r"}}, "", 0, {}},
    {"OneEndlessLine", {{true, "EHLO me\r\n"}, {false, "250-" + kHuge}}, "EHLO", 0, {}, true},
    {"EndlessReplyOfShortLines", {{true, "EHLO me\r\n"}, {false, ShortLines(1100)}}, "EHLO", 0, {}, true},
    // The SASL lines sent are no commands, and QUIT's reply never hides the one that mattered.
    {"LoginRefusedThenQuit", {{true, "AUTH PLAIN\r\n"}, {false, "334 \r\n"}, {true, "AGJvYgBwdw==\r\n"}, {false, "535 5.7.8 no\r\n"},
                              {true, "QUIT\r\n"}, {false, "221 bye\r\n"}}, "AUTH", 535, {"535 5.7.8 no"}},
};
// clang-format on

class SmtpTrace : public ::testing::TestWithParam<TraceCase> {};

INSTANTIATE_TEST_SUITE_P(, SmtpTrace, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_P(SmtpTrace, ReadsRepliesAndBoundsThem) {
    const TraceCase& c = GetParam();
    CSmtpTrace trace;
    for (const Piece& p : c.exchange)
        p.sent ? trace.Sent(p.bytes) : trace.Received(p.bytes);
    EXPECT_EQ(trace.lastVerb, c.lastVerb);
    EXPECT_EQ(trace.lastCode, c.lastCode);
    EXPECT_EQ(trace.lastReply, c.lastReply);
    EXPECT_EQ(trace.tooLong, c.tooLong);
}

// How far a session got: encrypted, logged in, the message taken.
TEST(SmtpTraceSession, FollowsTheSessionsSteps) {
    CSmtpTrace trace;
    for (const char* step :
         {">EHLO me", "<250-x", "<250-STARTTLS", "<250 AUTH LOGIN", ">STARTTLS", "<220 go", ">EHLO me",
          "<250 AUTH=LOGIN", ">AUTH LOGIN", "<334 VXNlcm5hbWU6", ">Ym9i", "<235 ok", ">MAIL FROM:<a@b>",
          "<250 ok", ">RCPT TO:<c@d>", "<250 ok", ">DATA", "<354 go"}) {
        const std::string line = std::string(step + 1) + "\r\n";
        step[0] == '>' ? trace.Sent(line) : trace.Received(line);
    }
    EXPECT_TRUE(trace.tlsStarted);
    EXPECT_TRUE(trace.authOffered);
    EXPECT_TRUE(trace.authSent);
    EXPECT_EQ(trace.rcptCount, 1u);
    EXPECT_TRUE(trace.dataStarted);
    EXPECT_FALSE(trace.messageAccepted);
    trace.Received("250 queued\r\n");
    EXPECT_TRUE(trace.messageAccepted);
}

} // namespace
