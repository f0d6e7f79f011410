#include "accounting/bet_list.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "fixtures/recording_sink.h"
#include "platform/sjis.h"

namespace zb {
namespace {

// A bet record as the purchase log reader and the settlement leave it.
std::string Rec(std::string race, std::string bet, std::string units, std::string accept,
                std::string result, std::string payout = "      ", std::string ref = "0002") {
    return race + bet + units + accept + result + payout + ref;
}

struct Book {
    std::unique_ptr<AppState> s = std::make_unique<AppState>();
    Book& bet(const std::string& text) {
        s->BetLog(s->BetCount).assign(Utf8ToU16(text));
        ++s->BetCount;
        return *this;
    }
    std::string view(int v) {
        s->ListView = static_cast<int16_t>(v);
        listdsp(*s);
        return U16ToUtf8(s->ReportText);
    }
};

// Half-width cells a line takes in a fixed-pitch font: full-width forms two.
int Cells(const std::u16string& line) {
    int n = 0;
    for (char16_t c : line) n += (c < 0x1100 || (c >= 0xFF61 && c <= 0xFF9F)) ? 1 : 2;
    return n;
}

TEST(BetList, EmptyTableGivesTheHeadingAlone) {
    Book b;
    EXPECT_EQ(b.view(0), "【全履歴】\r\n");
    EXPECT_EQ(b.view(1), "【受付けられたベット】  900ベット投票可能\r\n");
    EXPECT_EQ(b.view(2), "【未確定のベット】\r\n");
    EXPECT_EQ(b.view(3), "【的中しているベット】\r\n");
    EXPECT_EQ(b.s->CurrentProc, "listdsp");
}

struct LineCase {
    const char* name;
    std::string record;
    const char* line;  // view 0, without the line end
};

class BetListLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(BetListLine, ColumnsOfView0) {
    Book b;
    b.bet(GetParam().record);
    const std::string text = b.view(0);
    EXPECT_EQ(text, std::string("【全履歴】\r\n\r\n") + GetParam().line + "\r\n");
    // Day, venue, race, bet and stake columns always take 32 cells, ending
    // with the two blanks after the stake.
    const std::u16string line = Utf8ToU16(GetParam().line);
    std::size_t n = 0;
    while (n < line.size() && Cells(line.substr(0, n)) < 32) ++n;
    EXPECT_EQ(Cells(line.substr(0, n)), 32) << GetParam().line;
    EXPECT_EQ(line.substr(n - 2, 2), u"  ") << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BetListLine,
    ::testing::Values(LineCase{"WinToday", Rec("10501", "10003", "0005", "01", "1", "000340"),
                               "     東京  1R  単  3       500  受付 (0002)"},
                      LineCase{"PlaceTomorrowRace12", Rec("20612", "20012", "0001", "01", "9"),
                               "明日 中山 12R  複 12       100  受付 (0002)"},
                      LineCase{"BracketAdvance", Rec("30910", "30206", "0002", "21", "9"),
                               "前売 阪神 10R  枠  2- 6    200  同枠 (0002)"},
                      LineCase{"QuinellaHighNumbers", Rec("11001", "41018", "0010", "11", "9"),
                               "     小倉  1R  馬 10-18   1000  無効 (0002)"},
                      LineCase{"WideClosed", Rec("10105", "50307", "0003", "31", "9"),
                               "     札幌  5R  ワ  3- 7    300  締切 (0002)"},
                      LineCase{"ThousandUnitsFillTheStake",
                               Rec("10501", "10003", "1000", "01", "0"),
                               "     東京  1R  単  3    100000  受付 (0002)"},
                      LineCase{"UnknownCodes", Rec("91101", "70102", "0001", "05", "0"),
                               "???? ????  1R ????         100  E-5 (0002)"},
                      LineCase{"NoReference",
                               Rec("10501", "10003", "0001", "01", "0", "      ", "    "),
                               "     東京  1R  単  3       100  受付 "}),
    [](const ::testing::TestParamInfo<LineCase>& i) { return std::string(i.param.name); });

TEST(BetList, OddsTexts) {
    const std::pair<int32_t, const char*> cases[] = {
        {1230, "12.3"}, {1200, "12.0"}, {1235, "12.35"}, {0, "0.0"}, {105, "1.05"}, {100, "1.0"}};
    for (const auto& [p, t] : cases) EXPECT_EQ(U16ToUtf8(OddsText(p)), t) << p;
}

// Tokyo 1: a hit and a refund; Tokyo 2: a miss and an open bet; Tokyo 3: a
// refund at payout 0 (no subtotal); then an accepted bet of an unknown result.
Book Day() {
    Book b;
    b.bet(Rec("10501", "10003", "0005", "01", "1", "001230"))
        .bet(Rec("10501", "20007", "0002", "01", "3", "   100"))
        .bet(Rec("10501", "10004", "0001", "31", "9"))
        .bet(Rec("10502", "41011", "0003", "01", "2"))
        .bet(Rec("10502", "10001", "0004", "01", "0"))
        .bet(Rec("10503", "20005", "0001", "01", "3", "000000"))
        .bet(Rec("20501", "10001", "0001", "01", "9"));
    return b;
}

TEST(BetList, Views1And2ShowResultsAndOddsOfHits) {
    Book b = Day();
    EXPECT_EQ(b.view(1),
              "【受付けられたベット】  894ベット投票可能\r\n"
              "\r\n"
              "     東京  1R  単  3       500  的中   12.3\r\n"
              "     東京  1R  複  7       200  返還\r\n"
              "\r\n"
              "     東京  2R  馬 10-11    300  ﾊｽﾞﾚ\r\n"
              "     東京  2R  単  1       400  \r\n"
              "\r\n"
              "     東京  3R  複  5       100  返還\r\n"
              "\r\n"
              "明日 東京  1R  単  1       100  ----\r\n");
    EXPECT_EQ(b.s->AcceptedCount, 6);
    EXPECT_EQ(b.view(2),
              "【未確定のベット】\r\n"
              "\r\n"
              "     東京  2R  単  1       400  \r\n");
    EXPECT_EQ(b.s->AcceptedCount, 0);
}

TEST(BetList, View3SubtotalsPerRaceEndAtColumn40) {
    Book b = Day();
    const std::string text = b.view(3);
    EXPECT_EQ(text,
              "【的中しているベット】\r\n"
              "\r\n"
              "     東京  1R  単  3       500  x   12.3\r\n"
              "     東京  1R  複  7       200  x    1.0\r\n"
              "                              =     6350\r\n"
              "\r\n"
              "     東京  3R  複  5       100  x    0.0\r\n");
    const std::u16string t = Utf8ToU16(text);
    for (std::size_t at = t.find(u"\r\n") + 2; at < t.size();) {
        const std::size_t end = t.find(u"\r\n", at);
        const std::u16string line = t.substr(at, end - at);
        if (!line.empty()) {
            EXPECT_EQ(Cells(line), 40) << U16ToUtf8(line);
        }
        at = end + 2;
    }
}

TEST(BetList, PayoutBeyond32BitsIsFailure6AndKeepsTheOldText) {
    Book b;
    b.bet(Rec("10501", "10003", "9999", "01", "1", "999999"));
    b.s->ReportText = u"old";
    b.s->ListView = 3;
    try {
        listdsp(*b.s);
        FAIL() << "no failure";
    } catch (const RunError& e) {
        EXPECT_EQ(e.number, 6);
    }
    EXPECT_EQ(b.s->ReportText, u"old");
    // The same bet at a payout that fits gives its subtotal.
    Book fits;
    fits.bet(Rec("10501", "10003", "9999", "01", "1", "214748"));
    EXPECT_NE(fits.view(3).find("= 2147265252\r\n"), std::string::npos);
}

}  // namespace
}  // namespace zb
