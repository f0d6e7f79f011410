#include <gtest/gtest.h>

#include <filesystem>

#include "fixtures/case_name.h"
#include "fixtures/loaded_day.h"
#include "program/startup.h"

namespace zb {
namespace {

using fixture::Bet;
using fixture::LoadedDay;
using fixture::RaceDay;

RaceDay MixedDay() {
    RaceDay day("20261206");
    day.meeting(5, 5, 2);
    day.buy("20261206", {Bet::Quinella(5, 11, 3, 7, 2), Bet::Win(5, 1, 4, 3), Bet::Win(5, 1, 4, 3),
                         Bet::Win(6, 2, 1, 5).later(), Bet::Place(5, 2, 8, 1).rejected(11)});
    day.buy("20261205", {Bet::Wide(5, 3, 2, 9, 4).later(), Bet::Win(5, 4, 1, 9),
                         Bet::Bracket(5, 6, 2, 2, 1).later().rejected(21)});
    day.buy("20261207", {Bet::Win(5, 5, 5, 5)});
    return day;
}

TEST(PurchaseLog, AlogKeepsFileOrderAndTotalsAcceptedStakes) {
    LoadedDay d;
    AppState& s = d.load(MixedDay());
    Alog(s);
    EXPECT_EQ(s.CurrentProc, "Alog");
    EXPECT_EQ(s.ErrorCode, 0);
    ASSERT_EQ(s.BetCount, 5);
    EXPECT_EQ(d.bet(0), "1051140307000201       0001");
    EXPECT_EQ(d.bet(1), "1050110004000301       0001");
    EXPECT_EQ(d.bet(2), "1050110004000301       0001");
    EXPECT_EQ(d.bet(3), "2060210001000501       0001");
    EXPECT_EQ(d.bet(4), "1050220008000111       0001");
    EXPECT_EQ(s.StakeTotal, 200 + 300 + 300 + 500);  // the rejected place bet adds nothing
    EXPECT_EQ(s.AdvanceStakeNet, 500);
}

TEST(PurchaseLog, BlogAddsPreviousDayAdvanceBetsAndSortsByWholeText) {
    LoadedDay d;
    AppState& s = d.load(MixedDay());
    Alog(s);
    Blog(s);
    EXPECT_EQ(s.CurrentProc, "Blog");
    EXPECT_EQ(s.ErrorCode, 0);
    ASSERT_EQ(s.BetCount, 7);
    // The day-kind-1 bet of the previous day is left out; the rejected
    // advance bet gets its record all the same. Identical bets stand together.
    EXPECT_EQ(d.bet(0), "1050110004000301       0001");
    EXPECT_EQ(d.bet(1), "1050110004000301       0001");
    EXPECT_EQ(d.bet(2), "1050220008000111       0001");
    EXPECT_EQ(d.bet(3), "1051140307000201       0001");
    EXPECT_EQ(d.bet(4), "2060210001000501       0001");
    EXPECT_EQ(d.bet(5), "3050350209000401       0002");
    EXPECT_EQ(d.bet(6), "3050630202000121       0002");
    EXPECT_EQ(s.StakeTotal, 1300);
    EXPECT_EQ(s.AdvanceStakeNet, 500 - 400);
}

TEST(PurchaseLog, MissingIndexZeroesTheDay) {
    LoadedDay d;
    AppState& s = d.load(MixedDay());
    d.dir.remove("LG-FILE.JRA");
    s.BetCount = 4;
    s.TodayBetCount = 3;
    s.PayoutTotal = 900;
    s.OpenStake = 100;
    s.StakeTotal = 5;
    Alog(s);
    EXPECT_EQ(s.ErrorCode, 3);
    EXPECT_EQ(s.BetCount, 0);
    EXPECT_EQ(s.TodayBetCount, 0);
    EXPECT_EQ(s.PayoutTotal, 0);
    EXPECT_EQ(s.OpenStake, 0);
    EXPECT_EQ(s.StakeTotal, 0);
    s.ErrorCode = 0;
    Blog(s);
    EXPECT_EQ(s.ErrorCode, 3);
}

TEST(PurchaseLog, EmptyIndexOtherDatesEmptyAndMissingFilesGiveNothing) {
    for (int variant = 0; variant < 3; ++variant) {
        LoadedDay d;
        RaceDay day("20261206");
        day.meeting(5, 5, 2);
        if (variant == 1) day.buy("20261204", {Bet::Win(5, 1, 1, 1).later()});
        if (variant == 2) day.buy("20261206", {}).missingPurchase("20261206");
        AppState& s = d.load(day);
        Alog(s);
        Blog(s);
        EXPECT_EQ(s.ErrorCode, 0) << variant;
        EXPECT_EQ(s.BetCount, 0) << variant;
        EXPECT_EQ(s.StakeTotal, 0) << variant;
        EXPECT_EQ(s.AdvanceStakeNet, 0) << variant;
    }
}

struct PreviousDayCase {
    const char* raceDate;
    const char* previous;  // yyyymmdd whose last six digits Blog looks for
};

class PreviousDay : public ::testing::TestWithParam<PreviousDayCase> {};

TEST_P(PreviousDay, SelectsFilesDatedTheDayBefore) {
    const PreviousDayCase c = GetParam();
    LoadedDay d;
    RaceDay day(c.raceDate);
    day.meeting(5, 5, 2);
    day.buy(c.previous, {Bet::Win(5, 1, 7, 2).later()});
    // The same two-digit date one century off is taken as well: only
    // positions 11-16 are compared.
    day.buy(std::string(std::string(c.previous) < "2000" ? "20" : "19") + (c.previous + 2),
            {Bet::Win(5, 2, 7, 1).later()});
    AppState& s = d.load(day);
    Alog(s);
    Blog(s);
    ASSERT_EQ(s.BetCount, 2) << c.raceDate;
    EXPECT_EQ(d.bet(0), "3050110007000201       0001");
    EXPECT_EQ(s.AdvanceStakeNet, -300);
}

INSTANTIATE_TEST_SUITE_P(Calendar, PreviousDay,
                         ::testing::Values(PreviousDayCase{"20261206", "20261205"},
                                           PreviousDayCase{"20261201", "20261130"},
                                           PreviousDayCase{"20270101", "20261231"},
                                           PreviousDayCase{"20000301", "20000229"},
                                           PreviousDayCase{"20240301", "20240229"},
                                           PreviousDayCase{"20230301", "20230228"},
                                           PreviousDayCase{"19990101", "19981231"},
                                           PreviousDayCase{"20290101", "20281231"},
                                           PreviousDayCase{"19300101", "19291231"}),
                         [](const ::testing::TestParamInfo<PreviousDayCase>& info) {
                             return std::string("Race") + info.param.raceDate;
                         });

TEST(PurchaseLog, NearMissDatesAreNotThePreviousDay) {
    LoadedDay d;
    RaceDay day("20000301");
    day.meeting(5, 5, 2);
    day.buy("20000228", {Bet::Win(5, 1, 7, 2).later()});
    day.buy("20000300", {Bet::Win(5, 1, 7, 2).later()});
    AppState& s = d.load(day);
    Alog(s);
    Blog(s);
    EXPECT_EQ(s.BetCount, 0);
}

TEST(PurchaseLog, RaceDateThatIsNoDateFailsInBlogAndKeepsAlog) {
    for (const char* date : {"2026AB06", "20261306", "20260230", "2026 2 6"}) {
        LoadedDay d;
        RaceDay day(date);
        day.meeting(5, 5, 2);
        day.buy(date, {Bet::Win(5, 1, 7, 2), Bet::Win(5, 2, 3, 1).later()});
        AppState& s = d.load(day);
        LoadAll(s);
        EXPECT_EQ(d.titles(), "Blog  13\n") << date;
        EXPECT_TRUE(s.LastPassFailed);
        EXPECT_EQ(s.BetCount, 2);
        EXPECT_EQ(d.bet(0), "1050110007000201       0001");  // not sorted, not settled
        EXPECT_EQ(s.StakeTotal, 300);
        EXPECT_EQ(s.AdvanceStakeNet, 100);
    }
}

std::vector<Bet> ManyBets(int n) {
    std::vector<Bet> bets;
    for (int k = 0; k < n; ++k) bets.push_back(Bet::Win(5, 1 + k % 12, 1 + k % 18, 1));
    return bets;
}

TEST(PurchaseLog, ThousandRecordsFitAndTheNextIsFailureNine) {
    LoadedDay d;
    RaceDay day("20261206");
    day.meeting(5, 5, 2);
    for (int f = 0; f < 20; ++f) day.buy("20261206", ManyBets(50));
    AppState& s = d.load(day);
    LoadAll(s);
    EXPECT_EQ(d.titles(), "");
    EXPECT_FALSE(s.LastPassFailed);
    EXPECT_EQ(s.BetCount, 1000);
    EXPECT_EQ(s.StakeTotal, 100000);

    // One more today: Alog stops at the 1001st with the first 1000 kept.
    LoadedDay e;
    day.buy("20261206", ManyBets(1));
    AppState& t = e.load(day);
    LoadAll(t);
    EXPECT_EQ(e.titles(), "Alog  9\n");
    EXPECT_TRUE(t.LastPassFailed);
    EXPECT_EQ(t.BetCount, 1000);
    EXPECT_EQ(t.StakeTotal, 100000);

    // One more from the previous day: Blog stops.
    LoadedDay f;
    RaceDay day2("20261206");
    day2.meeting(5, 5, 2);
    for (int k = 0; k < 20; ++k) day2.buy("20261206", ManyBets(50));
    day2.buy("20261205", {Bet::Win(5, 1, 1, 1).later()});
    AppState& u = f.load(day2);
    LoadAll(u);
    EXPECT_EQ(f.titles(), "Blog  9\n");
    EXPECT_EQ(u.BetCount, 1000);
}

struct CutFile {
    const char* name;
    const char* file;
    std::size_t keep;    // bytes left of the file PAT98 is writing
    const char* titles;  // what the pass shows
};

class HalfWrittenFile : public ::testing::TestWithParam<CutFile> {};

TEST_P(HalfWrittenFile, FailsThePassUntilWrittenWhole) {
    const CutFile c = GetParam();
    LoadedDay d;
    RaceDay day("20261206");
    day.meeting(5, 5, 2);
    day.buy("20261206", {Bet::Win(5, 1, 7, 2), Bet::Win(5, 2, 3, 4)});
    day.buy("20261206", {Bet::Win(5, 3, 1, 1)});
    AppState& s = d.load(day);
    const std::string whole = fixture::ReadAll(d.dir.file(c.file));
    d.dir.writeBytes(c.file, whole.substr(0, c.keep));
    LoadAll(s);
    EXPECT_EQ(d.titles(), c.titles);
    EXPECT_EQ(s.LastPassFailed, *c.titles != '\0');
    if (!s.LastPassFailed) {
        EXPECT_EQ(s.BetCount, 3);
    }
    d.dir.writeBytes(c.file, whole);
    LoadAll(s);
    EXPECT_FALSE(s.LastPassFailed);
    EXPECT_EQ(s.BetCount, 3);
    EXPECT_EQ(s.StakeTotal, 700);
}

// The index holds 2 entries of 26 characters from 24, the first purchase file
// 2 bets of 19 characters from 23; the full blocks end in blanks.
INSTANTIATE_TEST_SUITE_P(
    PurchaseLog, HalfWrittenFile,
    ::testing::Values(CutFile{"EmptyIndex", "LG-FILE.JRA", 0, "Alog  62\n"},
                      CutFile{"IndexInItsCount", "LG-FILE.JRA", 18, "Alog  62\n"},
                      CutFile{"IndexAfterItsFirstEntry", "LG-FILE.JRA", 23 + 26, "Alog  62\n"},
                      CutFile{"IndexInItsLastEntry", "LG-FILE.JRA", 23 + 51, "Alog  62\n"},
                      CutFile{"IndexAfterItsLastEntry", "LG-FILE.JRA", 23 + 52, ""},
                      CutFile{"IndexFull", "LG-FILE.JRA", 2625, ""},
                      CutFile{"EmptyPurchase", "P0001.JRA", 0, "Alog  62\n"},
                      CutFile{"PurchaseInItsCount", "P0001.JRA", 21, "Alog  62\n"},
                      CutFile{"PurchaseAfterItsFirstBet", "P0001.JRA", 22 + 19, "Alog  62\n"},
                      CutFile{"PurchaseInItsLastBet", "P0001.JRA", 22 + 37, "Alog  62\n"},
                      CutFile{"PurchaseAfterItsLastBet", "P0001.JRA", 22 + 38, ""},
                      CutFile{"PurchaseFull", "P0001.JRA", 1004, ""}),
    fixture::CaseName<CutFile>);

TEST(PurchaseLog, CountsBeyondTheBlockAreFailure62) {
    // 101 index entries or 52 bets cannot stand in their blocks.
    for (const char* file : {"LG-FILE.JRA", "P0001.JRA"}) {
        LoadedDay d;
        RaceDay day("20261206");
        day.meeting(5, 5, 2);
        day.buy("20261206", {Bet::Win(5, 1, 7, 2)});
        AppState& s = d.load(day);
        const bool index = file[0] == 'L';
        fixture::Line line = index ? fixture::LogIndexLine({{"P0001", "20261206"}}, 101)
                                   : fixture::PurchaseLine("0001", {Bet::Win(5, 1, 7, 2)}, 52);
        d.dir.writeText(file, line);
        LoadAll(s);
        EXPECT_EQ(d.titles(), "Alog  62\n") << file;
    }
}

TEST(PurchaseLog, FileNamesBeyondAsciiAreLookedUpAsSpelt) {
    // Half-width katakana, kanji, a kanji whose trail byte is 0x5C (ソ), and
    // ASCII letters in another case than on disk.
    const std::vector<std::pair<std::string, std::string>> files{{"ｶﾝﾄｸｲ", "ｶﾝﾄｸｲ"},
                                                                 {"購入記録１", "購入記録１"},
                                                                 {"ソフト01", "ソフト01"},
                                                                 {"AB漢cd", "ab漢CD"}};
    LoadedDay d;
    RaceDay day("20261206");
    day.meeting(5, 5, 2);
    AppState& s = d.load(day);
    std::vector<fixture::LogEntry> index;
    for (std::size_t k = 0; k < files.size(); ++k) {
        index.push_back({files[k].first, "20261206"});
        d.dir.writeText(
            files[k].second + ".JRA",
            fixture::PurchaseLine("0001", {Bet::Win(5, 1, 1, static_cast<int>(k + 1))}));
    }
    // A name with a separator would leave the folder.
    index.push_back({"sub\\x", "20261206"});
    std::filesystem::create_directory(d.dir.file("sub"));
    fixture::Pat98Dir(d.dir.file("sub"))
        .writeText("x.JRA", fixture::PurchaseLine("0001", {Bet::Win(5, 1, 1, 5)}));
    d.dir.writeText("LG-FILE.JRA", fixture::LogIndexLine(index));
    LoadAll(s);
    EXPECT_EQ(d.titles(), "");
    EXPECT_EQ(s.BetCount, 4);
    EXPECT_EQ(s.StakeTotal, 1000);
}

TEST(PurchaseLog, PositionsCountDoubleByteCharactersAsOne) {
    LoadedDay d;
    RaceDay day("20261206");
    day.meeting(5, 5, 2);
    AppState& s = d.load(day);
    fixture::Line index = fixture::LogIndexLine({{"P0001", "20261206"}});
    index.at(1, "ＰＡＴ９８ログ");  // 7 characters, 14 bytes
    d.dir.writeText("LG-FILE.JRA", index);
    fixture::Line purchase = fixture::PurchaseLine("0001", {Bet::Wide(5, 9, 1, 18, 3)});
    purchase.at(1, "購入記録");
    purchase.at(13, "照会");
    d.dir.writeText("P0001.JRA", purchase);
    Alog(s);
    ASSERT_EQ(s.BetCount, 1);
    EXPECT_EQ(d.bet(0), "1050950118000301       照会01");
    EXPECT_EQ(s.StakeTotal, 300);
}

}  // namespace
}  // namespace zb
