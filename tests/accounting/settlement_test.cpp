#include "accounting/settlement.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <set>

#include "fixtures/loaded_day.h"
#include "platform/file_lookup.h"
#include "platform/sjis.h"
#include "program/startup.h"
#include "readers/payout_slots.h"

namespace zb {
namespace {

using fixture::Bet;
using fixture::LoadedDay;
using fixture::RaceDay;
using fixture::RaceResult;

struct Ledger {
    std::unique_ptr<AppState> s = std::make_unique<AppState>();
    Ledger& bet(std::string_view text) {
        s->BetLog(s->BetCount).assign(Utf8ToU16(text));
        ++s->BetCount;
        return *this;
    }
    Ledger& paid(std::string_view text) {
        s->PayoutTable(s->PayoutCount).assign(Utf8ToU16(text));
        ++s->PayoutCount;
        return *this;
    }
    std::string rec(int i) const { return U16ToUtf8(s->BetLog(i).view()); }
};

TEST(Settlement, EmptyLogGivesZeroTotals) {
    Ledger l;
    l.s->PayoutTotal = 5;
    l.s->OpenStake = 5;
    l.s->TodayBetCount = 5;
    l.paid("050110003000450");
    comp(*l.s);
    EXPECT_EQ(l.s->CurrentProc, "comp");
    EXPECT_EQ(l.s->PayoutTotal, 0);
    EXPECT_EQ(l.s->OpenStake, 0);
    EXPECT_EQ(l.s->TodayBetCount, 0);
}

TEST(Settlement, EveryResultCodeWithItsTotals) {
    Ledger l;
    l.bet("1050110003000301       0001")     // hit: 3 x 450
        .bet("1050110005000201       0002")  // miss: win payouts known, not horse 5
        .bet("1050210003000401       0003")  // open: no place entry of race 1
        .bet("3050120009000701       0004")  // refund, bought the previous day
        .bet("2050310003000501       0005")  // a later day's race
        .bet("1050110003000111       0006")  // rejected
        .bet("3050120009000121       0007")  // rejected advance bet
        .bet("1050140305001001       0008")  // quinella stays open: only win known
        .paid("050110003000450")
        .paid("050110004000450")
        .paid("050120009000000")
        .paid("050120001000900");
    comp(*l.s);
    EXPECT_EQ(l.rec(0), "105011000300030110004500001");
    EXPECT_EQ(l.rec(1), "10501100050002012      0002");
    EXPECT_EQ(l.rec(2), "10502100030004010      0003");
    EXPECT_EQ(l.rec(3), "30501200090007013   1000004");
    EXPECT_EQ(l.rec(4), "20503100030005019      0005");
    EXPECT_EQ(l.rec(5), "10501100030001119      0006");
    EXPECT_EQ(l.rec(6), "30501200090001219      0007");
    EXPECT_EQ(l.rec(7), "10501403050010010      0008");
    EXPECT_EQ(l.s->PayoutTotal, 3 * 450 + 7 * 100);
    EXPECT_EQ(l.s->OpenStake, 400 + 1000);
    EXPECT_EQ(l.s->TodayBetCount, 5);
}

TEST(Settlement, FirstMatchingEntryDecidesAndResultsAreRewritten) {
    Ledger l;
    l.bet("1050110003000201       0001")
        .bet("1050110007000101       0002")
        .paid("050110003000450")
        .paid("050110003000999")
        .paid("050110007000000")
        .paid("050110007000310");
    // Stale outcome text from an earlier pass is replaced.
    l.s->BetLog(0).assign(u"1050110003000201XXXXXXX0001");
    comp(*l.s);
    EXPECT_EQ(l.rec(0), "105011000300020110004500001");
    EXPECT_EQ(l.rec(1), "10501100070001013   1000002");
    EXPECT_EQ(l.s->PayoutTotal, 900 + 100);
}

TEST(Settlement, FailuresStopWithTheRecordsBeforeSettled) {
    struct Case {
        const char* bad;
        int number;
    };
    for (Case c :
         {Case{" 050110003000201       0002", 13}, Case{"1050110003 X 201       0002", 13},
          Case{"10501100030002         0002", 13}, Case{"1050110009999901       0002", 6}}) {
        Ledger l;
        l.bet("1050110003000101       0001").bet(c.bad).bet("1050110003000101       0003");
        l.paid("050110003000450").paid("050110009999999");
        try {
            comp(*l.s);
            FAIL() << c.bad;
        } catch (const RunError& e) {
            EXPECT_EQ(e.number, c.number) << c.bad;
        }
        EXPECT_EQ(l.rec(0), "105011000300010110004500001");
        EXPECT_EQ(l.rec(2), "1050110003000101       0003");
        EXPECT_EQ(l.s->PayoutTotal, 450);
        EXPECT_EQ(l.s->TodayBetCount, 1);
    }
    // A matched amount that is not a number.
    Ledger l;
    l.bet("1050110003000101       0001").paid("05011000300 4X0");
    EXPECT_THROW(comp(*l.s), RunError);
    EXPECT_EQ(l.rec(0), "1050110003000101       0001");
}

// Keys outside ASCII: a table holding one is looked up by text, and a bet
// whose numbers are odd characters still learns its race's payouts.
TEST(Settlement, KeysWithOtherCharactersMatchAsText) {
    Ledger plain;
    plain
        .bet("10501100ﾎ3000301       0001")  // no such numbers: a miss
        .bet("1050110003000201       0002")
        .paid("050110003000450");
    comp(*plain.s);
    EXPECT_EQ(plain.rec(0), "10501100ﾎ30003012      0001");
    EXPECT_EQ(plain.rec(1), "105011000300020110004500002");

    Ledger odd;
    odd.bet("10501100ﾎ3000301       0001")
        .bet("1050110003000201       0002")
        .bet("1050210003000201       0003")
        .paid("050110003000450")
        .paid("0502100ﾎ3000000");  // a refund: race 2 stays open
    comp(*odd.s);
    EXPECT_EQ(odd.rec(0), "10501100ﾎ30003012      0001");
    EXPECT_EQ(odd.rec(1), "105011000300020110004500002");
    EXPECT_EQ(odd.rec(2), "10502100030002010      0003");
    EXPECT_EQ(odd.s->PayoutTotal, 900);
    EXPECT_EQ(odd.s->OpenStake, 200);
}

TEST(Settlement, RefundsAloneLeaveTheOtherBetsOpen) {
    // Horse 6 scratched: its UH- refunds come before the race is run. Only
    // a paid entry of the race and bet type settles the other bets as misses.
    for (bool paid : {false, true}) {
        Ledger l;
        l.bet("1050110003000201       0001")
            .bet("1050110006000301       0002")
            .bet("1050140307000101       0003")
            .paid("050110006000000")
            .paid("050120006000000")
            .paid("050140106000000");
        if (paid) l.paid("050110009000450");
        comp(*l.s);
        EXPECT_EQ(l.rec(0), paid ? "10501100030002012      0001" : "10501100030002010      0001");
        EXPECT_EQ(l.rec(1), "10501100060003013   1000002");
        EXPECT_EQ(l.rec(2), "10501403070001010      0003");
        EXPECT_EQ(l.s->OpenStake, paid ? 100 : 300);
        EXPECT_EQ(l.s->PayoutTotal, 300);
    }
}

TEST(Settlement, PayoutsBeyondThirtyTwoBitsAreFailureSix) {
    Ledger l;
    for (int i = 0; i < 3; ++i) l.bet("1050110003999901       0001");
    l.paid("050110003099999");
    // 9999 x 99999 fits; three of them do not.
    try {
        comp(*l.s);
        FAIL();
    } catch (const RunError& e) {
        EXPECT_EQ(e.number, 6);
    }
    EXPECT_EQ(l.s->PayoutTotal, 2 * 9999 * 99999);
}

TEST(ReadingPass, FullOrderSettlesADay) {
    LoadedDay d;
    RaceDay day("20261206");
    day.meeting(5, 5, 2).meeting(9, 5, 2);
    day.buy("20261206",
            {Bet::Win(5, 1, 4, 3), Bet::Quinella(5, 1, 4, 9, 2), Bet::Wide(9, 2, 1, 6, 5),
             Bet::Place(9, 3, 6, 1), Bet::Win(9, 3, 2, 1).later()});
    day.buy("20261205", {Bet::Win(9, 2, 6, 2).later()});
    day.result(5, 1, RaceResult().win(4, 450).quinella(4, 9, 2360));
    day.result(9, 2, RaceResult().win(1, 210).scratched(6));
    AppState& s = d.load(day);
    LoadAll(s);
    EXPECT_EQ(d.titles(), "");
    EXPECT_FALSE(s.LastPassFailed);
    ASSERT_EQ(s.BetCount, 6);
    EXPECT_EQ(d.bet(0), "105011000400030110004500001");
    EXPECT_EQ(d.bet(1), "105014040900020110023600001");
    EXPECT_EQ(d.bet(2), "10902501060005013   1000001");
    EXPECT_EQ(d.bet(3), "10903200060001010      0001");
    EXPECT_EQ(d.bet(4), "20903100020001019      0001");
    EXPECT_EQ(d.bet(5), "30902100060002013   1000002");
    EXPECT_EQ(s.StakeTotal, 300 + 200 + 500 + 100 + 100);
    EXPECT_EQ(s.AdvanceStakeNet, 100 - 200);
    EXPECT_EQ(s.PayoutTotal, 1350 + 4720 + 500 + 200);
    EXPECT_EQ(s.OpenStake, 100);
    EXPECT_EQ(s.TodayBetCount, 5);
    EXPECT_EQ(s.CurrentProc, "comp");
}

// Each of the day's files spoiled (cut to half, or its digits made letters):
// where that fails the pass, the message names that file on its second line.
TEST(ReadingPass, AFailureNamesTheFileItCameFrom) {
    std::vector<std::string> names;
    {
        LoadedDay d;
        d.load(fixture::SmallSettledDay());
        for (const auto& e : std::filesystem::directory_iterator(d.tmp.path()))
            if (e.path().extension() == ".JRA") names.push_back(e.path().filename().string());
    }
    std::set<std::string> named;
    for (const std::string& name : names) {
        for (int spoil = 0; spoil < 2; ++spoil) {
            LoadedDay d;
            AppState& s = d.load(fixture::SmallSettledDay());
            std::string bytes = fixture::ReadAll(JoinPath(d.tmp.path(), "\\" + name));
            if (spoil == 0) bytes.resize(bytes.size() / 2);
            if (spoil == 1) std::replace_if(bytes.begin(), bytes.end(), ::isdigit, 'X');
            d.dir.writeBytes(name, bytes);
            if (RefreshData(s) && !s.LastPassFailed) continue;
            ASSERT_EQ(d.sink.boxes.size(), 1u) << name;
            const std::string& text = d.sink.boxes[0].text;
            EXPECT_EQ(text.substr(text.find('\n') + 1), JoinPath(d.tmp.path(), "\\" + name));
            named.insert(name.substr(0, 3));
        }
    }
    // The programme and the results; the others take such files as missing.
    EXPECT_EQ(named, (std::set<std::string>{"KS-", "UY-"}));
}

TEST(ReadingPass, FailedPassIsMarkedAndTheNextGoodPassClearsIt) {
    LoadedDay d;
    RaceDay day("20261206");
    day.meeting(5, 5, 2);
    day.buy("20261206", {Bet::Win(5, 1, 4, 3)});
    AppState& s = d.load(day);
    d.dir.writeBytes("KS-56521.JRA", "short");
    LoadAll(s);
    EXPECT_TRUE(s.LastPassFailed);
    EXPECT_EQ(s.LoadBusy, 0);
    EXPECT_EQ(d.titles(), "Akekka  62\n");
    // The file on a line of its own.
    EXPECT_EQ(d.sink.boxes.at(0).text, "ファイルにこれ以上データがありません。\n" +
                                           JoinPath(d.tmp.path(), "\\KS-56521.JRA"));
    d.dir.remove("KS-56521.JRA");
    LoadAll(s);
    EXPECT_FALSE(s.LastPassFailed);
    EXPECT_EQ(d.bet(0), "10501100040003010      0001");
    EXPECT_EQ(s.OpenStake, 300);
    EXPECT_EQ(d.sink.boxes.size(), 1u);
}

TEST(ReadingPass, SettlementFailuresAreReportedUnderComp) {
    // A purchase entry whose day kind is a letter; a payout too big for 32 bits.
    for (int variant = 0; variant < 2; ++variant) {
        LoadedDay d;
        RaceDay day("20261206");
        day.meeting(5, 5, 2).result(5, 1, RaceResult().win(4, 999999));
        day.buy("20261206", {Bet::Win(5, 1, 2, 1), Bet::Win(5, 1, 4, 9999), Bet::Win(5, 2, 4, 1)});
        AppState& s = d.load(day);
        if (variant == 0) {
            fixture::Line file = fixture::PurchaseLine(
                "0001", {Bet::Win(5, 1, 2, 1), Bet::Win(5, 1, 4, 1), Bet::Win(5, 2, 4, 1)});
            file.at(23 + 19 + 3, "X");
            d.dir.writeText("P0001.JRA", file);
        }
        LoadAll(s);
        EXPECT_EQ(d.titles(), variant == 0 ? "comp  13\n" : "comp  6\n");
        EXPECT_TRUE(s.LastPassFailed);
        EXPECT_EQ(d.bet(0), "10501100020001012      0001");  // settled before the failure
        // The letter sorts after the digits: both other bets were settled.
        EXPECT_EQ(s.TodayBetCount, variant == 0 ? 2 : 1);
    }
}

TEST(ReadingPass, MissingLogSkipsBlogAndComp) {
    LoadedDay d;
    RaceDay day("20261206");
    day.meeting(5, 5, 2).result(5, 1, RaceResult().win(4, 450));
    AppState& s = d.load(day);
    d.dir.remove("LG-FILE.JRA");
    LoadAll(s);
    EXPECT_FALSE(s.LastPassFailed);
    EXPECT_EQ(s.ErrorCode, 3);
    EXPECT_EQ(s.CurrentProc, "Alog");
    EXPECT_EQ(s.PayoutCount, 1);
}

}  // namespace
}  // namespace zb
