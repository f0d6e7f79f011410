#include <gtest/gtest.h>

#include "accounting/settlement.h"
#include "fixtures/loaded_day.h"
#include "platform/sjis.h"
#include "program/startup.h"

namespace zb {
namespace {

using fixture::LoadedDay;
using fixture::Paid;
using fixture::PayoutKind;
using fixture::PayoutRecord;
using fixture::RaceDay;
using fixture::RaceResult;

std::vector<std::string> Entries(const LoadedDay& d) {
    std::vector<std::string> v;
    for (int i = 0; i < d.s->PayoutCount; ++i) v.push_back(d.entry(i));
    return v;
}

RaceDay OneMeeting() {
    RaceDay day("20261206");
    day.meeting(5, 5, 2);
    return day;
}

TEST(Payouts, EachFileKindGivesItsEntriesAndRefunds) {
    LoadedDay d;
    RaceDay day = OneMeeting();
    day.payouts(5, 7, {'1', {{0, 4, 560}, fixture::EmptySlot(), {0, 11, 560}}},
                {'1', {{0, 4, 190}, {0, 11, 200}, {0, 2, 310}}},
                {'1', {{3, 7, 1880}}, {}, "  2    1"}, {'1', {{4, 11, 3020}}, {18}},
                {'1', {{4, 11, 1040}, fixture::EmptySlot(), {2, 4, 560}}, {1}});
    AppState& s = d.load(day);
    ReadRaceResults(s);
    ReadPayoutFiles(s);
    EXPECT_EQ(s.RaceStatus(5, 7), 5);
    EXPECT_EQ(s.RaceStatus(5, 6), 0);
    std::vector<std::string> e = Entries(d);
    ASSERT_EQ(e.size(), 2u + 3 + (1 + 1 + 8) + (1 + 19) + (2 + 17));
    std::size_t i = 0;
    EXPECT_EQ(e[i++], "050710004000560");
    EXPECT_EQ(e[i++], "050710011000560");
    EXPECT_EQ(e[i++], "050720004000190");
    EXPECT_EQ(e[i++], "050720011000200");
    EXPECT_EQ(e[i++], "050720002000310");
    EXPECT_EQ(e[i++], "050730307001880");
    EXPECT_EQ(e[i++], "050730303000000");  // bracket 3, code 2
    EXPECT_EQ(e[i++], "050730108000000");  // bracket 8, code 1: (1,8) .. (8,8)
    i += 7;
    EXPECT_EQ(e[i - 1], "050730808000000");
    EXPECT_EQ(e[i++], "050740411003020");
    EXPECT_EQ(e[i++], "050710018000000");  // UH- refunds win, place, quinella
    EXPECT_EQ(e[i++], "050720018000000");
    EXPECT_EQ(e[i++], "050740118000000");
    i += 16;
    EXPECT_EQ(e[i - 1], "050741718000000");
    EXPECT_EQ(e[i++], "050750411001040");
    EXPECT_EQ(e[i++], "050750204000560");
    EXPECT_EQ(e[i++], "050750102000000");  // KH- refunds wide only
    i += 16;
    EXPECT_EQ(e[i - 1], "050750118000000");
    EXPECT_EQ(i, e.size());
    EXPECT_EQ(s.CurrentProc, "getUH");  // the wide parser names none
}

TEST(Payouts, FlagFiveCountsWithoutEntriesOtherFlagsAreIgnored) {
    LoadedDay d;
    RaceDay day = OneMeeting();
    const PayoutRecord five{'5', {{0, 3, 250}}};
    day.payouts(5, 1, five, {'5', {{0, 3, 120}}}, {'5', {{1, 2, 900}}}, {'5', {{3, 4, 900}}},
                {'5', {{3, 4, 300}}});
    day.payouts(5, 2, {'2', {{0, 3, 250}}}, {' ', {{0, 3, 120}}}, {'0', {{1, 2, 900}}},
                {'9', {{3, 4, 900}}, {5}}, {'X', {{3, 4, 300}}, {5}});
    day.payouts(5, 3, {'1', {{0, 3, 250}}}, {'1', {{0, 3, 120}}}, {'1', {{1, 2, 900}}},
                {'1', {{3, 4, 900}}}, {' ', {{3, 4, 300}}});
    AppState& s = d.load(day);
    ReadRaceResults(s);
    ReadPayoutFiles(s);
    EXPECT_EQ(s.RaceStatus(5, 1), 5);
    EXPECT_EQ(s.RaceStatus(5, 2), 0);
    EXPECT_EQ(s.RaceStatus(5, 3), 4);  // open: no wide record yet
    EXPECT_EQ(Entries(d), (std::vector<std::string>{"050310003000250", "050320003000120",
                                                    "050330102000900", "050340304000900"}));
}

TEST(Payouts, RacesSettledByTheirResultFileArePassedOver) {
    LoadedDay d;
    RaceDay day = OneMeeting();
    day.result(5, 3, RaceResult().win(3, 250).scratched(9));
    for (int race : {2, 3})
        day.payouts(race == 2 ? 5 : 5, race, {'1', {{0, 3, 250}}}, {'1', {{0, 3, 120}}},
                    {'1', {{1, 2, 900}}}, {'1', {{3, 4, 900}}, {9}}, {'1', {{3, 4, 300}}, {9}});
    AppState& s = d.load(day);
    ReadRaceResults(s);
    const int fromResults = s.PayoutCount;
    EXPECT_EQ(fromResults, 1 + 36);
    ReadPayoutFiles(s);
    EXPECT_EQ(s.RaceStatus(5, 3), 5);
    EXPECT_EQ(s.RaceStatus(5, 2), 5);
    for (int i = fromResults; i < s.PayoutCount; ++i)
        EXPECT_EQ(d.entry(i).substr(0, 4), "0502") << i;
    EXPECT_EQ(s.PayoutCount, fromResults + 4 + 19 + 1 + 17);
}

TEST(Payouts, FileNamesUseTheMeetingCodeWithoutRace) {
    LoadedDay d;
    RaceDay day("20291206");
    day.meeting(10, 3, 8);
    AppState& s = d.load(day);
    fixture::WritePayoutFile(d.dir, "TH-A938.JRA", PayoutKind::kTH, {{12, {'1', {{0, 14, 3300}}}}});
    fixture::WritePayoutFile(d.dir, "fh-a938.jra", PayoutKind::kFH, {{10, {'1', {{0, 1, 110}}}}});
    ReadRaceResults(s);
    ReadPayoutFiles(s);
    EXPECT_EQ(Entries(d), (std::vector<std::string>{"101210014003300", "101020001000110"}));
    EXPECT_EQ(s.RaceStatus(10, 12), 1);
    EXPECT_EQ(s.RaceStatus(10, 10), 1);
}

TEST(Payouts, ShortBodyReadsMissingRecordsAsBlanks) {
    LoadedDay d;
    AppState& s = d.load(OneMeeting());
    fixture::Line file;
    file.at(1, "HARAIMOD0000000000000");
    file.at(21, fixture::PayoutRecordLine(PayoutKind::kTH, {'1', {{0, 5, 420}}}).text());
    file.at(21 + 44, fixture::PayoutRecordLine(PayoutKind::kTH, {'1', {{0, 8, 900}}}).text());
    d.dir.writeText("TH-5652.JRA", file.text().substr(0, 20 + 44 + 2));
    ReadRaceResults(s);
    ReadPayoutFiles(s);
    EXPECT_EQ(Entries(d), std::vector<std::string>{"050110005000420"});
    EXPECT_EQ(s.RaceStatus(5, 1), 1);
    EXPECT_EQ(s.RaceStatus(5, 2), 0);  // its flag fell off the end
}

// A final record cut before the last character its parser reads is still
// being written: the pass fails rather than read its missing slots as blanks.
// Cut after that character it reads; a race its result file settled is not read.
TEST(Payouts, FinalRecordCutShortFails) {
    struct Case {
        PayoutKind kind;
        std::size_t read;  // characters of the record the parser reads
    };
    for (Case c : {Case{PayoutKind::kTH, 34}, Case{PayoutKind::kFH, 54}, Case{PayoutKind::kWH, 48},
                   Case{PayoutKind::kUH, 56}, Case{PayoutKind::kKH, 154}}) {
        const std::size_t len = fixture::PayoutRecordLength(c.kind);
        for (bool settled : {false, true}) {
            for (std::size_t held : {c.read - 1, c.read}) {
                LoadedDay d;
                RaceDay day = OneMeeting();
                if (settled) day.result(5, 2, RaceResult().win(1, 100));
                AppState& s = d.load(day);
                fixture::Line file;
                file.at(1, "HARAIMOD0000000000000");
                file.at(21 + len, fixture::PayoutRecordLine(c.kind, {'1', {}}).text());
                file.width(20 + 3 * len);
                // The last 2 bytes are the line end, which is not read.
                d.dir.writeText(fixture::PayoutFileName(c.kind, {5, 5, 2}, '6'),
                                file.text().substr(0, 20 + len + held + 2), false);
                LoadAll(s);
                const bool fails = held < c.read && !settled;
                EXPECT_EQ(d.titles(), fails ? "Aharai  62\n" : "") << len << " " << held;
                EXPECT_EQ(s.RaceStatus(5, 2), fails ? 0 : settled ? 5 : 1) << len;
            }
        }
    }
}

TEST(Payouts, DoubleByteBodiesRunPastTheEndAndFail) {
    // Two double-byte characters still end within the line end; three do not.
    for (int wide : {2, 3}) {
        LoadedDay d;
        RaceDay day = OneMeeting();
        day.payout(PayoutKind::kTH, 5, 1, {'1', {{0, 5, 420}}});
        AppState& s = d.load(day);
        fixture::Line file;
        file.at(1, "HARAIMOD0000000000000");
        file.at(21, fixture::PayoutRecordLine(PayoutKind::kFH, {'1', {{0, 5, 160}}}).text());
        file.at(21 + 64 * 2, std::string(static_cast<std::size_t>(wide), ' '));
        for (int k = 0; k < wide; ++k) file.at(21 + 64 * 2 + static_cast<std::size_t>(k), "払");
        d.dir.writeText("FH-5652.JRA", file);
        LoadAll(s);
        if (wide == 2) {
            EXPECT_EQ(d.titles(), "");
            EXPECT_EQ(s.RaceStatus(5, 1), 2);
        } else {
            EXPECT_EQ(d.titles(), "getTH  62\n");  // the FH- file is read under the last name
            EXPECT_EQ(s.PayoutCount, 1);
            EXPECT_TRUE(s.LastPassFailed);
        }
    }
}

TEST(Payouts, FailuresCarryTheNameOfTheMoment) {
    struct Case {
        PayoutKind kind;
        const char* title;
    };
    for (Case c : {Case{PayoutKind::kTH, "getTH  13\n"}, Case{PayoutKind::kFH, "getFH  13\n"},
                   Case{PayoutKind::kUH, "getUH  13\n"}, Case{PayoutKind::kKH, "getWH  13\n"}}) {
        LoadedDay d;
        RaceDay day = OneMeeting();
        day.payout(PayoutKind::kWH, 5, 1, {'1', {{1, 2, 900}}});
        AppState& s = d.load(day);
        const bool pair = c.kind == PayoutKind::kUH || c.kind == PayoutKind::kKH;
        fixture::Line rec = fixture::PayoutRecordLine(c.kind, {'1', {{3, 4, 900}}});
        rec.at(pair ? 5 + 4 : 5, "?");  // second horse, or the win/place horse
        fixture::Line file;
        file.at(1, "HARAIMOD0000000000000").at(21, rec.text());
        d.dir.writeText(fixture::PayoutFileName(c.kind, {5, 5, 2}, '6'), file);
        LoadAll(s);
        EXPECT_EQ(d.titles(), c.title);
        EXPECT_TRUE(s.LastPassFailed);
        // The WH- file comes before UH- and KH-: its entry stays.
        EXPECT_EQ(s.PayoutCount, pair ? 1 : 0);
    }
    // Under 22 bytes: the body length is negative. No parser ran yet.
    LoadedDay d;
    AppState& s = d.load(OneMeeting());
    d.dir.writeBytes("TH-5652.JRA", "HARAIMOD0000000000\r\n");
    LoadAll(s);
    EXPECT_EQ(d.titles(), "Aharai  5\n");
}

TEST(Payouts, EntriesBeyondTheBoundFailInTheParserAndKeepWhatFits) {
    // Only a programme naming one venue three times gets there: the result
    // files are read for two rows, the third row's missing result file
    // reopens the race, and the UH- and KH- records are read twice.
    LoadedDay d;
    RaceDay day("20261206");
    day.meeting(5, 5, 2).meeting(5, 5, 2).meeting(5, 5, 3);
    for (int r = 1; r <= 12; ++r) {
        day.result(5, r, fixture::FullResult()).fullPayouts(5, r);
        day.payout(PayoutKind::kTH, 5, r, {' '}).payout(PayoutKind::kFH, 5, r, {' '});
        day.payout(PayoutKind::kWH, 5, r, {' '});
    }
    AppState& s = d.load(day);
    LoadAll(s);
    // 2 x 12 x 263 from the results, 12 x (98 + 90) from the first row's
    // payouts, then 98 a race again: race 10 passes 9468.
    EXPECT_EQ(d.titles(), "getUH  9\n");
    EXPECT_EQ(s.PayoutCount, kMaxPayoutEntries);
    EXPECT_EQ(s.RaceStatus(5, 9), 3);
    EXPECT_EQ(s.RaceStatus(5, 10), 2);
}

}  // namespace
}  // namespace zb
