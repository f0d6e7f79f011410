#include <gtest/gtest.h>

#include "fixtures/loaded_day.h"
#include "platform/file_lookup.h"
#include "platform/sjis.h"
#include "program/startup.h"
#include "readers/payout_slots.h"

namespace zb {
namespace {

using fixture::LoadedDay;
using fixture::RaceDay;
using fixture::RaceResult;

std::vector<std::string> Entries(const LoadedDay& d, int from = 0) {
    std::vector<std::string> v;
    for (int i = from; i < d.s->PayoutCount; ++i) v.push_back(d.entry(i));
    return v;
}

// Parses one result text as the reader would find it after the header.
void Parse(AppState& s, int venue, int race, const fixture::Line& text) {
    std::string body(284, '0');
    body += EncodeSjis(text.text());
    ParseRaceResult(s, static_cast<int16_t>(venue), static_cast<int16_t>(race), body);
}

TEST(RaceResults, FileNamesCarryVenueAndRaceInHexadecimal) {
    LoadedDay d;
    RaceDay day("20291206");
    day.meeting(10, 3, 8).meeting(5, 3, 8);
    AppState& s = d.load(day);
    fixture::WriteResultFile(d.dir, "KS-A938B.JRA", RaceResult().win(4, 320).text());
    fixture::WriteResultFile(d.dir, "KS-5938A.JRA", RaceResult().win(12, 1250).text());
    fixture::WriteResultFile(d.dir, "ks-59381.jra", RaceResult().win(1, 110).text());
    ReadRaceResults(s);
    EXPECT_EQ(Entries(d),
              (std::vector<std::string>{"101110004000320", "050110001000110", "051010012001250"}));
    EXPECT_EQ(s.RaceStatus(10, 11), 5);
    EXPECT_EQ(s.RaceStatus(5, 10), 5);
    EXPECT_EQ(s.RaceStatus(5, 1), 5);
    EXPECT_EQ(s.RaceStatus(10, 10), 0);
    EXPECT_EQ(s.CurrentProc, "getkekka");
}

TEST(RaceResults, EverySlotKindGivesItsEntry) {
    auto s = std::make_unique<AppState>();
    Parse(*s, 5, 11,
          RaceResult()
              .win(7, 450)
              .place(7, 180)
              .place(3, 240)
              .place(12, 1020)
              .bracket(2, 6, 1630)
              .quinella(3, 7, 2210)
              .wide(3, 7, 830)
              .wide(7, 12, 2400)
              .wide(3, 12, 5130)
              .text());
    EXPECT_EQ(s->CurrentProc, "getkekka");
    EXPECT_EQ(s->ErrorCode, 0);
    std::vector<std::string> got;
    for (int i = 0; i < s->PayoutCount; ++i) got.push_back(U16ToUtf8(s->PayoutTable(i).view()));
    EXPECT_EQ(got,
              (std::vector<std::string>{"051110007000450", "051120007000180", "051120003000240",
                                        "051120012001020", "051130206001630", "051140307002210",
                                        "051150307000830", "051150712002400", "051150312005130"}));
}

TEST(RaceResults, DeadHeatSlotsAfterAnEmptyOneAreTaken) {
    auto s = std::make_unique<AppState>();
    Parse(*s, 1, 2,
          RaceResult()
              .win(3, 300)
              .emptyWin()
              .win(5, 310)
              .emptyPlace()
              .emptyPlace()
              .place(9, 150)
              .emptyBracket()
              .emptyBracket()
              .bracket(8, 8, 4470)
              .emptyQuinella()
              .quinella(1, 2, 990)
              .emptyWide()
              .emptyWide()
              .emptyWide()
              .emptyWide()
              .wide(17, 18, 123456)
              .text());
    EXPECT_EQ(s->ErrorCode, 0);
    std::vector<std::string> got;
    for (int i = 0; i < s->PayoutCount; ++i) got.push_back(U16ToUtf8(s->PayoutTable(i).view()));
    EXPECT_EQ(got,
              (std::vector<std::string>{"010210003000300", "010210005000310", "010220009000150",
                                        "010230808004470", "010240102000990", "010251718123456"}));
}

TEST(RaceResults, UsedSlotTestsLookAtTheNumberCharactersOnly) {
    // A horse " 7" (leading blank) is used; an amount without a horse is not;
    // a bracket slot is used by its character 2 alone.
    auto s = std::make_unique<AppState>();
    fixture::Line text = RaceResult().win(6, 700).text();
    text.at(12, " 7  000650");            // second win slot
    text.at(32 + 4, "000180");            // first place slot: amount only
    text.at(82, "X3 4  001200");          // bracket slot: character 1 unread
    text.at(118 + 14, "X 1X 2XX009990");  // quinella slot 2: horses " 1", " 2"
    Parse(*s, 2, 3, text);
    std::vector<std::string> got;
    for (int i = 0; i < s->PayoutCount; ++i) got.push_back(U16ToUtf8(s->PayoutTable(i).view()));
    EXPECT_EQ(got, (std::vector<std::string>{"020310006000700", "020310007000650",
                                             "020330304001200", "020340102009990"}));
}

TEST(RaceResults, BlankSecondWinCharacterMeansNoResultYet) {
    LoadedDay d;
    RaceDay day("20261206");
    day.meeting(5, 5, 2);
    // Everything filled but the first win horse: still no result.
    fixture::Line text = RaceResult().win(7, 450).quinella(3, 7, 2210).scratched(4).text();
    text.at(2, "  ");
    day.result(5, 1, RaceResult().win(7, 450));
    AppState& s = d.load(day);
    fixture::WriteResultFile(d.dir, fixture::ResultFileName({5, 5, 2}, '6', 2), text);
    ReadRaceResults(s);
    EXPECT_EQ(s.RaceStatus(5, 1), 5);
    EXPECT_EQ(s.RaceStatus(5, 2), 0);
    EXPECT_EQ(s.PayoutCount, 1);
    EXPECT_EQ(s.ErrorCode, 1);
}

TEST(RaceResults, WinOnlyResultSettlesTheRace) {
    LoadedDay d;
    RaceDay day("20261206");
    day.meeting(6, 4, 1);
    day.result(6, 12, RaceResult().win(2, 780));
    AppState& s = d.load(day);
    ReadRaceResults(s);
    EXPECT_EQ(Entries(d), std::vector<std::string>{"061210002000780"});
    EXPECT_EQ(s.RaceStatus(6, 12), kSettledCount);
}

TEST(RaceResults, ScratchedHorsesAtBothEnds) {
    for (int horse : {1, 18}) {
        auto s = std::make_unique<AppState>();
        Parse(*s, 9, 4, RaceResult().win(5, 200).scratched(horse).text());
        ASSERT_EQ(s->PayoutCount, 1 + 36) << horse;
        auto e = [&](int i) { return U16ToUtf8(s->PayoutTable(i).view()); };
        const std::string h = horse == 1 ? "01" : "18";
        EXPECT_EQ(e(1),
                  "09041"
                  "00" +
                      h + "000000");
        EXPECT_EQ(e(2),
                  "09042"
                  "00" +
                      h + "000000");
        if (horse == 1) {
            EXPECT_EQ(e(3), "090440102000000");
            EXPECT_EQ(e(19), "090440118000000");
            EXPECT_EQ(e(20), "090450102000000");
            EXPECT_EQ(e(36), "090450118000000");
        } else {
            EXPECT_EQ(e(3), "090440118000000");
            EXPECT_EQ(e(19), "090441718000000");
            EXPECT_EQ(e(20), "090450118000000");
            EXPECT_EQ(e(36), "090451718000000");
        }
    }
}

TEST(RaceResults, ScratchedHorseAfterAnEmptySlotAndAMiddleHorse) {
    auto s = std::make_unique<AppState>();
    fixture::Line text = RaceResult().win(5, 200).text();
    text.at(303, " 9");  // second scratch slot, leading blank
    Parse(*s, 3, 1, text);
    ASSERT_EQ(s->PayoutCount, 37);
    EXPECT_EQ(U16ToUtf8(s->PayoutTable(1).view()), "030110009000000");
    EXPECT_EQ(U16ToUtf8(s->PayoutTable(3).view()), "030140109000000");
    EXPECT_EQ(U16ToUtf8(s->PayoutTable(10).view()), "030140809000000");
    EXPECT_EQ(U16ToUtf8(s->PayoutTable(11).view()), "030140910000000");
    EXPECT_EQ(U16ToUtf8(s->PayoutTable(19).view()), "030140918000000");
}

std::vector<std::string> BracketRefunds(int bracket, int code) {
    auto s = std::make_unique<AppState>();
    Parse(*s, 5, 1, RaceResult().win(5, 200).bracketRefund(bracket, code).text());
    std::vector<std::string> got;
    for (int i = 1; i < s->PayoutCount; ++i)
        got.push_back(U16ToUtf8(s->PayoutTable(i).view()).substr(5));
    return got;
}

TEST(RaceResults, BracketRefundCodes) {
    using V = std::vector<std::string>;
    EXPECT_EQ(BracketRefunds(1, 1), (V{"0101000000", "0102000000", "0103000000", "0104000000",
                                       "0105000000", "0106000000", "0107000000", "0108000000"}));
    EXPECT_EQ(BracketRefunds(8, 1), (V{"0108000000", "0208000000", "0308000000", "0408000000",
                                       "0508000000", "0608000000", "0708000000", "0808000000"}));
    EXPECT_EQ(BracketRefunds(3, 1), (V{"0103000000", "0203000000", "0303000000", "0304000000",
                                       "0305000000", "0306000000", "0307000000", "0308000000"}));
    EXPECT_EQ(BracketRefunds(3, 2), V{"0303000000"});
    EXPECT_EQ(BracketRefunds(8, 2), V{"0808000000"});
    EXPECT_EQ(BracketRefunds(1, 2), V{"0101000000"});
    EXPECT_EQ(BracketRefunds(4, 3), V{});
    EXPECT_EQ(BracketRefunds(4, 0), V{});
}

TEST(RaceResults, DoubleByteCharactersCountAsOnePosition) {
    auto s = std::make_unique<AppState>();
    fixture::Line text = RaceResult().win(5, 200).scratched(2).text();
    text.at(230, "未使用の欄です");  // unread part, 7 characters, 14 bytes
    Parse(*s, 5, 1, text);
    EXPECT_EQ(s->PayoutCount, 37);
    EXPECT_EQ(U16ToUtf8(s->PayoutTable(1).view()), "050110002000000");
}

TEST(RaceResults, SlotsThatDoNotConvertFailInGetkekka) {
    struct Case {
        std::size_t pos;
        const char* text;
        int entriesKept;
    };
    // A present first horse with a blank second; a letter; a blank bracket
    // code position holding a letter.
    for (Case c :
         {Case{118 + 4, "  ", 2}, Case{32, "X1", 1}, Case{311 + 2, "A", 3}, Case{301, "1?", 3}}) {
        LoadedDay d;
        RaceDay day("20261206");
        day.meeting(5, 5, 2);
        fixture::Line text =
            RaceResult().win(4, 300).place(4, 150).quinella(4, 9, 1200).text().at(c.pos, c.text);
        AppState& s = d.load(day);
        fixture::WriteResultFile(d.dir, "KS-56521.JRA", text);
        day.write(d.dir);
        LoadAll(s);
        EXPECT_EQ(d.titles(), "getkekka  13\n") << c.pos;
        EXPECT_EQ(d.sink.boxes.at(0).text,
                  "型が一致しません。\n" + JoinPath(d.tmp.path(), "\\KS-56521.JRA"));
        EXPECT_TRUE(s.LastPassFailed);
        EXPECT_EQ(s.PayoutCount, c.entriesKept) << c.pos;
        EXPECT_EQ(s.RaceStatus(5, 1), 0);
    }
}

TEST(RaceResults, ShortFilesFail) {
    // Under 92 bytes: no body. A text cut before its layout ends: the first
    // field past the end does not convert.
    struct Case {
        std::string bytes;
        const char* title;
    };
    fixture::Line header(90);
    header.at(1, "KSDATA01");
    std::string head = EncodeSjis(header.text());
    std::string cut = head + std::string(284, '0') +
                      EncodeSjis(RaceResult().win(4, 300).text().text().substr(0, 150)) + "\r\n";
    for (const Case& c : {Case{head, "getkekka  5\n"}, Case{head.substr(0, 40), "Akekka  62\n"},
                          Case{cut, "getkekka  13\n"},
                          Case{head + std::string(10, '0') + "\r\n", "getkekka  13\n"}}) {
        LoadedDay d;
        RaceDay day("20261206");
        day.meeting(5, 5, 2).result(5, 1, RaceResult().win(9, 990));
        AppState& s = d.load(day);
        d.dir.writeBytes("KS-56522.JRA", c.bytes);
        LoadAll(s);
        // Race 1 parsed before race 2 sets "getkekka" for the rest.
        EXPECT_EQ(d.titles(), c.title[0] == 'A' ? "getkekka  62\n" : c.title);
        EXPECT_EQ(s.RaceStatus(5, 1), 5);
        EXPECT_GE(s.PayoutCount, 1);
    }
}

TEST(RaceResults, VenueOutsideTheTableFailsInAkekka) {
    LoadedDay d;
    RaceDay day("20261206");
    day.meeting(5, 5, 2);
    AppState& s = d.load(day);
    s.MeetingCount = 2;  // a row no programme file filled: venue 0
    LoadAll(s);
    EXPECT_EQ(d.titles(), "Akekka  9\n");
    EXPECT_TRUE(s.LastPassFailed);
}

TEST(PayoutTable, AFullDayOfThreeMeetingsFitsAndOneMoreIsFailureNine) {
    // Every race of three meetings at its most, from result files for two
    // meetings and from payout files for the third: 3 x 12 x 263 entries.
    LoadedDay d;
    RaceDay day("20261206");
    day.meeting(5, 5, 2).meeting(9, 5, 2).meeting(6, 4, 1);
    for (int race = 1; race <= 12; ++race) {
        day.result(5, race, fixture::FullResult()).result(9, race, fixture::FullResult());
        day.fullPayouts(6, race);
    }
    day.buy("20261206", {fixture::Bet::Win(6, 12, 18, 2), fixture::Bet::Wide(6, 12, 1, 3, 1)});
    AppState& s = d.load(day);
    LoadAll(s);
    EXPECT_EQ(d.titles(), "");
    EXPECT_EQ(s.PayoutCount, 9468);
    EXPECT_EQ(kMaxPayoutEntries, 9468);
    for (int venue : {5, 6, 9}) EXPECT_EQ(s.RaceStatus(venue, 12), 5) << venue;
    EXPECT_EQ(d.bet(0), "10612100180002013   1000001");
    EXPECT_EQ(d.bet(1), "106125010300010110003000001");
    try {
        AddPayoutEntry(s, u"0501", u"1", u"00", u"02", u"000100");
        FAIL() << "an entry past the bound was taken";
    } catch (const RunError& e) {
        EXPECT_EQ(e.number, 9);
    }
    EXPECT_EQ(s.PayoutCount, 9468);
}

}  // namespace
}  // namespace zb
