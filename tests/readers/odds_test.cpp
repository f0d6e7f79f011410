#include <gtest/gtest.h>

#include "fixtures/loaded_day.h"
#include "platform/run_error.h"
#include "platform/sjis.h"

namespace zb {
namespace {

using fixture::Line;
using fixture::QuinellaOdds;
using fixture::WinPlaceOdds;

std::string File(const Line& l) {
    return EncodeSjis(l.text()) + "\r\n";
}

std::string U8(const std::u16string& t) {
    return U16ToUtf8(t);
}

struct Odds : ::testing::Test {
    std::unique_ptr<AppState> s = std::make_unique<AppState>();
    void SetUp() override {
        for (int h = 1; h <= 18; ++h) {
            s->WinOdds(h) = s->PlaceOddsLow(h) = s->PlaceOddsHigh(h) = u"  0.0";
            for (int k = 1; k <= 18; ++k) s->QuinellaOdds(h, k) = u"   0.0";
        }
        s->BracketOdds.fill(u"  0.0");
    }
};

TEST_F(Odds, WinPlaceWithScratchedHorseCapsAndDoubleByteHeader) {
    WinPlaceOdds zo(6);
    zo.title("第６８回東京優駿")
        .horse(1, "  3.4", "  1.2", "  1.5")
        .horse(2, "  0.0", "  0.0", " 12.0");
    zo.scratched(3).horse(6, " 45.1", "  5.0", "  9.9").horse(7, "  8.8", "  8.8", "  8.8");
    zo.bracket(1, 1, " 99.0").bracket(2, 5, "  0.0").bracket(3, 4, " ﾄﾘｹｼ").bracket(8, 8, "123.4");
    ParseWinPlaceOdds(*s, File(zo.text()));
    EXPECT_EQ(s->RunnerCount, 6);
    EXPECT_EQ(U8(s->WinOdds(1)), "  3.4");
    EXPECT_EQ(U8(s->PlaceOddsHigh(1)), "  1.5");
    EXPECT_EQ(U8(s->WinOdds(2)), " 999.9");
    EXPECT_EQ(U8(s->PlaceOddsLow(2)), " 999.9");
    EXPECT_EQ(U8(s->PlaceOddsHigh(2)), " 12.0");
    EXPECT_EQ(U8(s->WinOdds(3)), " ﾄﾘｹｼ");
    EXPECT_EQ(U8(s->PlaceOddsLow(3)), " ﾄﾘｹｼ");
    EXPECT_EQ(U8(s->PlaceOddsHigh(3)), "");
    EXPECT_EQ(U8(s->WinOdds(4)), " ﾄﾘｹｼ");  // five blanks
    EXPECT_EQ(U8(s->PlaceOddsLow(6)), "  5.0");
    EXPECT_EQ(U8(s->WinOdds(7)), "  0.0");  // beyond the runner count
    EXPECT_EQ(U8(s->BracketOdds(1, 1)), " 99.0");
    EXPECT_EQ(U8(s->BracketOdds(5, 2)), "999.9");
    EXPECT_EQ(U8(s->BracketOdds(2, 5)), "999.9");
    EXPECT_EQ(U8(s->BracketOdds(4, 3)), " ﾄﾘｹｼ");
    EXPECT_EQ(U8(s->BracketOdds(8, 8)), "123.4");
    EXPECT_EQ(U8(s->BracketOdds(1, 2)), " ﾄﾘｹｼ");  // blank
}

TEST_F(Odds, QuinellaSixRunnersFifteenPairsSymmetric) {
    s->RunnerCount = 6;
    QuinellaOdds uo(6);
    uo.pair(1, 2, "  12.3", "   3.1", "   4.0").pair(2, 6, "   0.0", "   0.0", "   0.0");
    uo.scratched(3, 4).pair(5, 6, " 456.7", "  88.8", "  99.9");
    EXPECT_EQ(uo.text().size(), 144u + 15 * 25);
    ParseQuinellaOdds(*s, File(uo.text()));
    EXPECT_EQ(U8(s->QuinellaOdds(2, 1)), "  12.3");
    EXPECT_EQ(U8(s->WideOddsLow(1, 2)), "   3.1");
    EXPECT_EQ(U8(s->WideOddsHigh(2, 1)), "   4.0");
    EXPECT_EQ(U8(s->QuinellaOdds(6, 2)), "9999.9");
    EXPECT_EQ(U8(s->WideOddsHigh(2, 6)), "9999.9");
    EXPECT_EQ(U8(s->QuinellaOdds(4, 3)), "  ﾄﾘｹｼ");
    EXPECT_EQ(U8(s->WideOddsLow(3, 4)), "  ﾄﾘｹｼ");
    EXPECT_EQ(U8(s->WideOddsHigh(3, 4)), "");
    EXPECT_EQ(U8(s->QuinellaOdds(5, 6)), " 456.7");  // the 15th pair
    EXPECT_EQ(U8(s->QuinellaOdds(6, 7)), "   0.0");
}

TEST_F(Odds, QuinellaBodyWithoutDashChangesNothing) {
    s->RunnerCount = 6;
    ParseQuinellaOdds(*s, File(QuinellaOdds(6).pair(1, 2, "  12.3", "", "").notOnSale().text()));
    EXPECT_EQ(U8(s->QuinellaOdds(1, 2)), "   0.0");
}

// Files that say more than they hold, or more runners than the tables have.
struct Malformed {
    const char* name;
    const char* runners;
    std::size_t zoChars;  // characters of the "ZO-" file kept, 0 for all
    std::size_t uoPairs;  // pairs of the "UO-" file kept
    const char* win1;     // WinOdds(1) after reading
    const char* bracket88;
    const char* quinella12;
    const char* quinella1718;
};

class OddsMalformed : public Odds, public ::testing::WithParamInterface<Malformed> {};

TEST_P(OddsMalformed, ReadsWhatIsThereAndNothingBeyond) {
    const Malformed& m = GetParam();
    WinPlaceOdds zo(18);
    for (int h = 1; h <= 18; ++h) zo.horse(h, "  2.0", "  1.1", "  1.2");
    zo.bracket(8, 8, " 77.0").runnerField(m.runners);
    Line z = zo.text();
    if (m.zoChars) z.width(m.zoChars);
    ParseWinPlaceOdds(*s, File(z));
    QuinellaOdds uo(19);
    uo.pair(1, 2, "  10.0", "   2.0", "   3.0").pair(17, 18, "  20.0", "   4.0", "   5.0");
    Line u = uo.text();
    u.width(144 + 25 * m.uoPairs);
    ParseQuinellaOdds(*s, File(u));
    EXPECT_EQ(U8(s->WinOdds(1)), m.win1);
    EXPECT_EQ(U8(s->BracketOdds(8, 8)), m.bracket88);
    EXPECT_EQ(U8(s->QuinellaOdds(2, 1)), m.quinella12);
    EXPECT_EQ(U8(s->QuinellaOdds(18, 17)), m.quinella1718);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OddsMalformed,
    ::testing::Values(Malformed{"Nineteen", "19", 0, 171, "  2.0", " 77.0", "  10.0", "  20.0"},
                      // The pairs lie where 99 runners would put them: 17-18 is elsewhere.
                      Malformed{"Ninetynine", "99", 0, 171, "  2.0", " 77.0", "  10.0", "   0.0"},
                      Malformed{"Negative", "-1", 0, 171, "  0.0", " 77.0", "   0.0", "   0.0"},
                      Malformed{"Blank", "  ", 0, 171, "  0.0", " 77.0", "   0.0", "   0.0"},
                      // Horse 1 whole, the rest cut inside horse 2; pairs cut before 17-18.
                      Malformed{"ShortBodies", "19", 142 + 30, 150, "  2.0", "  0.0", "  10.0",
                                "   0.0"},
                      Malformed{"HeaderOnly", "18", 142, 0, "  0.0", "  0.0", "   0.0", "   0.0"}),
    [](const auto& info) { return std::string(info.param.name); });

// A file that ends inside its header (PAT98 has only begun to write it)
// counts as missing: the tables keep what they held.
TEST_F(Odds, FileCutInsideItsHeaderCountsAsMissing) {
    // Eight double-byte characters in the first 28: the header is 150 bytes.
    const std::string zo = File(WinPlaceOdds(6).title("第６８回東京優駿").text());
    const std::string uo = File(QuinellaOdds(6).text()), de = File(fixture::PostTimeLine("0905"));
    const struct {
        const std::string& file;
        std::size_t bytes;
        int runners;
        const char* time;
    } cases[] = {{zo, 0, 9, "old"},   {zo, 7, 9, "old"},  {zo, 142, 9, "old"},
                 {zo, 150, 6, "old"}, {uo, 0, 9, "old"},  {uo, 143, 9, "old"},
                 {de, 0, 9, "old"},   {de, 25, 9, "old"}, {de, 26, 9, "9時5分"}};
    for (const auto& c : cases) {
        s->RunnerCount = 9;
        s->PostTime = u"old";
        const auto parse = &c.file == &zo   ? ParseWinPlaceOdds
                           : &c.file == &uo ? ParseQuinellaOdds
                                            : ParsePostTime;
        parse(*s, c.file.substr(0, c.bytes));
        EXPECT_EQ(s->RunnerCount, c.runners) << c.bytes;
        EXPECT_EQ(U8(s->PostTime), c.time) << c.bytes;
    }
}

struct PostTimeCase {
    const char* name;
    const char* hhmm;
    const char* shown;
};

class PostTime : public Odds, public ::testing::WithParamInterface<PostTimeCase> {};

TEST_P(PostTime, HoursAndMinutesWithoutLeadingZeros) {
    s->PostTime = u"old";
    ParsePostTime(*s, File(fixture::PostTimeLine(GetParam().hhmm)));
    EXPECT_EQ(U8(s->PostTime), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Cases, PostTime,
                         ::testing::Values(PostTimeCase{"NineOhFive", "0905", "9時5分"},
                                           PostTimeCase{"Afternoon", "1540", "15時40分"},
                                           PostTimeCase{"FourBlanks", "    ", ""}),
                         [](const auto& info) { return std::string(info.param.name); });

// A file far longer than its layout is read only as far as the layout goes.
TEST_F(Odds, HugeFileIsReadUpToTheLayout) {
    fixture::TempDir t;
    fixture::Pat98Dir d(t.path());
    Line z = WinPlaceOdds(6).horse(2, "  4.5", "  1.1", "  1.9").text();
    z.width(1024 * 1024);
    d.writeText("zo-521.jra", z);
    ReadWinPlaceOdds(*s, t.path() + "/ZO-521.JRA");
    EXPECT_EQ(s->RunnerCount, 6);
    EXPECT_EQ(U8(s->WinOdds(2)), "  4.5");
}

TEST_F(Odds, MissingFilesLeaveTheTables) {
    fixture::TempDir t;
    s->PostTime = u"9時5分";
    ReadWinPlaceOdds(*s, t.path() + "/ZO-521.JRA");
    ReadQuinellaOdds(*s, t.path() + "/UO-521.JRA");
    ReadPostTime(*s, t.path() + "/DE-521.JRA");
    EXPECT_EQ(U8(s->WinOdds(1)), "  0.0");
    EXPECT_EQ(U8(s->PostTime), "9時5分");
}

}  // namespace
}  // namespace zb
