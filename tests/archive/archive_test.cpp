#include "archive/archive.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>

#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "accounting/day_figures.h"
#include "accounting/passbook.h"
#include "archive/analysis.h"
#include "archive/sqlite_db.h"
#include "fixtures/demo_day.h"
#include "fixtures/loaded_day.h"
#include "tools/report_run.h"

namespace zb {
namespace {

using namespace fixture;

// Tokyo race 1 with odds (a tie in the win odds, a scratched horse, a pair
// without odds) and race 2 bought the day before, without odds files.
RaceDay OddsDay(long quinellaPaid = 2210, bool laterBet = false) {
    RaceDay day("20261206");
    day.meeting(5, 5, 2);
    day.buy("20261205", {Bet::Win(5, 2, 4, 2).later()});
    std::vector<Bet> bets = {Bet::Win(5, 1, 7, 3),        Bet::Win(5, 1, 18, 2),
                             Bet::Place(5, 1, 4, 1),      Bet::Quinella(5, 1, 3, 7, 2),
                             Bet::Wide(5, 1, 16, 17, 1),  Bet::Win(5, 1, 1, 2).rejected(31),
                             Bet::Win(5, 3, 1, 1).later()};
    if (laterBet) bets.push_back(Bet::Win(5, 2, 5, 4));
    day.buy("20261206", bets);
    day.result(5, 1,
               RaceResult()
                   .win(7, 450)
                   .place(7, 150)
                   .quinella(3, 7, quinellaPaid)
                   .wide(3, 7, 800)
                   .scratched(18));
    day.result(5, 2, RaceResult().win(4, 1230));
    day.odds(5, 1,
             WinPlaceOdds(18)
                 .horse(1, "  2.0", "  1.3", "  1.5")
                 .horse(4, "  4.5", "  1.1", "  1.9")
                 .horse(7, "  4.5", "  1.8", "  2.5"),
             QuinellaOdds(18).pair(3, 7, "  12.5", "   3.1", "   4.0"));
    return day;
}

using Sums = std::pair<int64_t, int64_t>;  // stake, payout

std::map<int32_t, Sums> DaySums(const std::string& path) {
    std::map<int32_t, Sums> sums;
    for (const ArchivedBet& b : ReadBets(path, 0, 99991231)) {
        sums[b.date].first += b.stake;
        sums[b.date].second += b.payout;
    }
    return sums;
}

struct Archived {
    LoadedDay day;
    BetArchive archive;
    std::string path() const { return ArchivePath(*day.s); }
    // Start-up, then the main window's redraw: posting and archive.
    void start(const RaceDay& d) {
        d.write(day.dir);
        Main(*day.s, StartPlatform{day.tmp.path(), day.tmp.path() + "/", 12000, 12000});
        redraw();
    }
    void refresh(const RaceDay& d) {
        d.write(day.dir);
        RefreshData(*day.s);
        redraw();
    }
    void redraw() {
        PostIfSettled(*day.s);
        archive.Pass(*day.s);
    }
    // The archive's sums of the day against the passbook's entry.
    void expectSumsOfPassbook() const {
        const PassbookEntry& e = day.s->Passbook.at(0);
        EXPECT_EQ(e.date.view(), u"20261206");
        EXPECT_EQ(DaySums(path())[20261206], Sums(e.stake, e.payout));
    }
};

constexpr const char* kBetsHeader = "日付,場,R,券種,組番,金額,結果,払戻,オッズ,人気\r\n";
constexpr const char* kAnalysisHeader = "区分,点数,的中,的中率,投票,払戻,損益,回収率\r\n";

TEST(Archive, OddsDayRowsAnalysisAndReportWhichReadsOnlyAndRefusesBadOptions) {
    Archived a;
    a.start(OddsDay());
    EXPECT_EQ(BetsCsv(ReadBets(a.path(), 0, 99991231)),
              std::string(kBetsHeader) +
                  "2026-12-06,東京,1,単勝,7,300,的中,1350,4.5,2\r\n"
                  "2026-12-06,東京,1,単勝,18,200,返還,200,,\r\n"
                  "2026-12-06,東京,1,複勝,4,100,不的中,0,1.1,1\r\n"
                  "2026-12-06,東京,1,馬連,3-7,200,的中,4420,12.5,1\r\n"
                  "2026-12-06,東京,1,ワイド,16-17,100,不的中,0,,\r\n"
                  "2026-12-06,東京,2,単勝,4,200,的中,2460,,\r\n");
    const std::string total = "計,6,3,50.0,1100,8430,7330,766.3\r\n", none = "計,0,0,,0,0,0,\r\n";
    const struct {
        const char* key;
        std::string rows;
        AnalysisFilter filter = {};
    } cases[] = {
        {"type",
         "単勝,3,2,66.6,700,4010,3310,572.8\r\n複勝,1,0,0.0,100,0,-100,0.0\r\n"
         "馬連,1,1,100.0,200,4420,4220,2210.0\r\nワイド,1,0,0.0,100,0,-100,0.0\r\n" +
             total},
        {"venue", "東京,6,3,50.0,1100,8430,7330,766.3\r\n" + total},
        {"race", "1,5,2,40.0,900,5970,5070,663.3\r\n2,1,1,100.0,200,2460,2260,1230.0\r\n" + total},
        {"year", "2026,6,3,50.0,1100,8430,7330,766.3\r\n" + total},
        {"month", "2026-12,6,3,50.0,1100,8430,7330,766.3\r\n" + total},
        {"odds",
         "1.0-1.9,1,0,0.0,100,0,-100,0.0\r\n2.0-4.9,1,1,100.0,300,1350,1050,450.0\r\n"
         "10.0-19.9,1,1,100.0,200,4420,4220,2210.0\r\n不明,3,1,33.3,500,2660,2160,532.0\r\n" +
             total},
        {"popularity",
         "1,2,1,50.0,300,4420,4120,1473.3\r\n2,1,1,100.0,300,1350,1050,450.0\r\n"
         "不明,3,1,33.3,500,2660,2160,532.0\r\n" +
             total},
        {"stake", "100,2,0,0.0,200,0,-200,0.0\r\n200-500,4,3,75.0,900,8430,7530,936.6\r\n" + total},
        {"type",
         "複勝,1,0,0.0,100,0,-100,0.0\r\n計,1,0,0.0,100,0,-100,0.0\r\n",
         {0, 99991231, 1u << 2, 0}},
        {"type", none, {0, 99991231, 0, 1u << 9}},
        {"venue", none, {20261207, 99991231, 0, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AnalysisCsv(Analyse(a.path(), *ParseAnalysisKey(c.key), c.filter)),
                  kAnalysisHeader + c.rows)
            << c.key;
    EXPECT_EQ(AnalysisCsv(Analyse(a.path() + ".none", AnalysisKey::kType, {})),
              kAnalysisHeader + none);
    EXPECT_FALSE(std::filesystem::exists(a.path() + ".none"));
    // The report prints the same, and never creates the archive.
    const std::string folder = a.day.tmp.path();
    using Args = std::vector<std::string>;
    const std::pair<Args, std::string> printed[] = {
        {{"--bets", "--from", "2026-12-06", "--to", "2026-12-06"},
         BetsCsv(ReadBets(a.path(), 0, 99991231))},
        {{"--bets", "--to", "2026-12-05"}, kBetsHeader},
        {{"--analysis", "odds", "--type", "1,4", "--venue", "5"},
         AnalysisCsv(Analyse(a.path(), AnalysisKey::kOdds, {0, 99991231, 0b10010, 0}))},
    };
    for (const auto& [args, out] : printed) {
        Args all = args;
        all.insert(all.begin(), {"--folder", folder});
        const test::ReportRun r = test::RunReport(all);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, out) << args[0];
    }
    std::filesystem::remove(a.path());
    EXPECT_EQ(test::RunReport({"--folder", folder, "--analysis", "year"}).out,
              kAnalysisHeader + none);
    EXPECT_FALSE(std::filesystem::exists(a.path()));
    for (const Args& bad :
         {Args{"--analysis", "horse"}, Args{"--analysis", "type", "--from", "2026-02-30"},
          Args{"--bets", "--type", "1"}, Args{"--analysis", "venue", "--venue", "11"},
          Args{"--bets", "--analysis", "type"}, Args{"--bets", "--from", "x", "--bets"},
          Args{"--analysis", "type", "--to", "2026-01-01", "--to", "2026-01-02"},
          Args{"--analysis"}})
        EXPECT_EQ(test::RunReport(bad).status, 1) << bad.back();
}

TEST(Archive, SumsEqualThePassbookOnEveryFixtureDay) {
    for (const RaceDay& d : {SmallSettledDay(), OddsDay(), OddsDay(900, true)}) {
        Archived a;
        a.start(d);
        ASSERT_FALSE(ReadBets(a.path(), 20261206, 20261206).empty());
        a.expectSumsOfPassbook();
    }
}

TEST(Archive, DemoArchiveHoldsThePassbooksDays) {
    TempDir tmp;
    ASSERT_EQ(test::RunProgram(ZB_DEMO_BINARY, {tmp.path()}).status, 0);
    AppState s;
    s.HomeFolder = tmp.path();
    ReadPassbook(s);
    std::map<int32_t, Sums> sums = DaySums(ArchivePath(s));
    std::size_t days = 0;
    for (const PassbookEntry& e : s.Passbook) {
        if (e.date.view() == u"00000000") continue;
        ++days;
        EXPECT_EQ(sums[LenientI32(e.date.view())], Sums(e.stake, e.payout))
            << Narrow(e.date.view());
    }
    EXPECT_GT(days, 100u);
    EXPECT_EQ(sums.size(), days);
}

TEST(Archive, DayRewrittenWhenItsFiguresChangeAndKeptEqualToThePassbook) {
    Archived a;
    a.start(OddsDay());
    a.refresh(OddsDay(2000));  // a corrected quinella payout
    a.expectSumsOfPassbook();
    EXPECT_EQ(Analyse(a.path(), AnalysisKey::kYear, {}).back().payout, 8430 - 420);
    a.refresh(OddsDay(2000, true));  // a later bet raises the stake
    a.expectSumsOfPassbook();
    EXPECT_EQ(ReadBets(a.path(), 20261206, 20261206).size(), 7u);
}

TEST(Archive, LockedDatabaseKeepsTheDayPendingAndWritesItLater) {
    Archived a;
    ASSERT_EQ(Database(a.path(), Database::Mode::kReadWriteCreate, 0).scalar("PRAGMA user_version"),
              0);
    {
        Database other(a.path(), Database::Mode::kReadWriteCreate, 0);
        other.exec("BEGIN EXCLUSIVE");
        a.start(OddsDay());
        EXPECT_EQ(a.archive.pending(), 1u);
    }
    EXPECT_TRUE(a.day.sink.messages.empty());
    a.redraw();
    EXPECT_EQ(a.archive.pending(), 0u);
    a.expectSumsOfPassbook();
}

TEST(Archive, DamagedFileIsNeverWrittenAndTheArchiveWaitsUntilItIsMovedAway) {
    for (const std::string& bytes :
         {std::string(4096, 'x'),
          std::string("SQLite format 3") + std::string(1, '\0') + std::string(4000, '\x7f')}) {
        Archived a;
        a.day.dir.writeBytes("Korvane.db", bytes);
        a.start(OddsDay());
        a.redraw();
        EXPECT_EQ(ReadAll(a.path()), bytes);
        ASSERT_EQ(a.day.sink.messages.size(), 1u);
        EXPECT_NE(a.day.sink.messages[0].text.find(a.path()), std::string::npos);
        EXPECT_TRUE(a.archive.off());
        EXPECT_EQ(a.day.s->Passbook.at(0).stake, 1100);
        std::filesystem::rename(a.path(), a.path() + ".bad");
        a.redraw();
        a.expectSumsOfPassbook();
    }
}

#ifndef _WIN32
TEST(Archive, WritesKilledAtAnyMomentLeaveWholeDays) {
    TempDir tmp;
    const std::string path = tmp.path() + "/Korvane.db";
    ArchivedBet bet;
    bet.venue = 5;
    const std::vector<ArchivedBet> small(3, bet), large(70, bet);
    WriteDay(path, 20261206, small);
    for (int k = 0; k < 500; ++k) {
        const pid_t pid = fork();
        if (pid == 0) {
            try {
                for (int i = 0;; ++i) WriteDay(path, 20261206 + i % 2, i % 4 < 2 ? large : small);
            } catch (...) {
            }
            _exit(1);
        }
        usleep(static_cast<useconds_t>(100 + k * 397 % 4000));
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        ASSERT_EQ(CheckArchiveFile(path), ArchiveCheck::kOk);  // rolls an interrupted write back
        for (int32_t date : {20261206, 20261207}) {
            const std::size_t n = ReadBets(path, date, date).size();
            ASSERT_TRUE(n == 0 || n == small.size() || n == large.size()) << k << " " << n;
        }
    }
}
#endif

TEST(Archive, OddsTextsAsTenths) {
    const std::pair<std::u16string, std::optional<int32_t>> cases[] = {
        {u"  4.5", 45},           {u" 999.9", 9999},        {u"9999.9", 99999},
        {u"  0.0", std::nullopt}, {u" ﾄﾘｹｼ", std::nullopt}, {u"", std::nullopt},
        {u"  12", std::nullopt}};
    for (const auto& [text, tenths] : cases) EXPECT_EQ(OddsTenths(text), tenths);
}

TEST(Archive, DatesAndCodeLists) {
    EXPECT_EQ(ParseIsoDate("2026-02-28"), 20260228);
    for (const char* bad : {"2026-02-29", "2026-2-28", "20260228", "2026-13-01", ""})
        EXPECT_EQ(ParseIsoDate(bad), std::nullopt) << bad;
    EXPECT_EQ(ParseCodeList("1,5", 5), (1u << 1) | (1u << 5));
    for (const char* bad : {"", "0", "6", "1,", ",1", "1 ,2", "10"})
        EXPECT_EQ(ParseCodeList(bad, 5), std::nullopt) << bad;
    EXPECT_EQ(ParseCodeList("10", 10), 1u << 10);
}

}  // namespace
}  // namespace zb
