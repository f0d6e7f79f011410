// Passbooks as users and other programs leave them: every shape either reads
// and is written back with every day kept, or refuses the file, which then
// stays byte for byte, with a message naming the file and the line.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "accounting/passbook.h"
#include "accounting/passbook_test_util.h"
#include "platform/file_lookup.h"
#include "platform/folder_index.h"

namespace zb {
namespace {

using test::BookFolder;
using test::Entry;

// "date|stake|payout|profit" as a line: each field filled with blanks to its
// width (8, 8, 8, 9); a field may hold anything, a width too.
std::string L(std::string_view fields) {
    std::string line;
    std::size_t widths[] = {8, 8, 8, 9}, f = 0;
    for (std::size_t at = 0; f < 4; ++f) {
        const std::size_t bar = std::min(fields.find('|', at), fields.size());
        std::string field(fields.substr(at, bar - at));
        field.resize(std::max(field.size(), widths[f]), ' ');
        line += field;
        if (bar == fields.size()) break;
        at = bar + 1;
    }
    return line;
}

const std::string kZero(33, '0');
const std::string kDay = L("20261206|1000|3400|2400"), kOld = L("20261129|500|0|-500");

// Ten day lines (the two days, then empty slots) and the two empty lists.
std::string Book(const std::string& first, const std::string& second = kOld) {
    std::string t = first + "\r\n" + second + "\r\n";
    for (int i = 2; i < 32; ++i) t += kZero + "\r\n";
    return t;
}

struct Shape {
    const char* name;
    std::string bytes;
    int refusedLine;  // 0: read
    std::string why = {};
};

const std::string kBadDate = "日付が正しくありません。";

const Shape kShapes[] = {
    {"ByteOrderMark", "\xEF\xBB\xBF" + Book(kDay), 0},
    {"OneEmptyLastLine", Book(kDay) + "\r\n", 0},
    {"LineFeedsOnly", kDay.substr(0, 28) + "\n" + kOld + "\n", 0},
    {"TrailingBlanksCut", Book(kDay.substr(0, 28)), 0},
    {"TwelveLines", Book(kDay).substr(0, 12 * 35), 0},
    {"ProfitOfNineDigits", Book(L("20261206|1000|3400|999999999")), 0},
    {"StakeOfNineDigits", Book(L("20261206|100000000|3400|-99996600")), 1},
    {"NoteAfterProfit", Book(kOld, kDay + " WIN5!"), 2},
    {"CommentLine", "# my book\r\n" + Book(kDay), 1},
    {"ShortNote", Book(kDay, "# notes"), 2},
    {"TabSeparated", Book("20261206\t1000\t3400\t2400"), 1},
    {"LeadingZeros", Book(L("20261206|00001000|3400|2400")), 1},
    {"BlanksBeforeAmount", Book(kOld, L("20261206|  1000|3400|2400")), 2},
    {"WideDate", Book("２０２６１２０６1000"), 1},
    {"BlankDateWithAmounts", Book(L("|1000|0|-1000")), 1},
    {"LeapDay", Book(kDay, L("20240229|500|0|-500")), 0},
    {"MonthThirteen", Book(L("20261301|1000|3400|2400")), 1, kBadDate},
    {"ThirtiethOfFebruary", Book(kOld, L("20250230|1000|3400|2400")), 2, kBadDate},
    {"NoLeapDayInACenturyYear", Book(L("19000229|1000|3400|2400")), 1, kBadDate},
    {"YearNought", Book(L("00000101|1000|3400|2400")), 1, kBadDate},
    {"EmptySlotWithAmounts", Book(L("00000000|1000|0|-1000")), 1, kBadDate},
    {"BadDateInTheBestDays", Book(kDay).replace(10 * 35, 8, "20261232"), 11, kBadDate},
    {"SameDayTwice", Book(kDay, kDay), 2, "1 行目と同じ日付です。"},
    {"SameDayAfterTheLists", Book(kDay) + kOld + "\r\n", 33, "2 行目と同じ日付です。"},
    {"DayAlsoInTheLists", Book(kDay).replace(10 * 35, 33, kDay), 0},
};

void PrintTo(const Shape& c, std::ostream* os) {
    *os << c.name;
}

struct Shapes : ::testing::TestWithParam<Shape>, BookFolder {};

TEST_P(Shapes, ReadAndKeptOrRefusedAndUntouched) {
    const Shape& c = GetParam();
    dir.writeBytes("Korvane.txt", c.bytes);
    ReadPassbook(s);
    s.RaceDate.assign(u"20261213");
    s.StakeTotal = 700;
    s.PayoutTotal = 0;
    PostPassbook(s);
    if (c.refusedLine > 0) {
        ASSERT_EQ(sink.seen.size(), 1u);
        EXPECT_EQ(sink.seen[0].first, "MAIN  13");
        EXPECT_EQ(sink.seen[0].second, "型が一致しません。\n" + PassbookPath(s) + "\n" +
                                           std::to_string(c.refusedLine) + " 行目" +
                                           (c.why.empty() ? "" : "\n" + c.why));
        EXPECT_EQ(fileText(), c.bytes);
        return;
    }
    EXPECT_TRUE(sink.seen.empty());
    const std::vector<std::string> lines = fileLines();
    ASSERT_GE(lines.size(), 32u);
    EXPECT_EQ(lines[0], L("20261213|700|0|-700"));
    EXPECT_EQ(lines[1].substr(0, 16), "202612061000    ");
    for (const std::string& l : lines) {
        EXPECT_EQ(l.size(), 33u) << l;
        EXPECT_NE(l.substr(0, 8), "        ") << "a blank date is written as an empty slot";
    }
    // Nothing of the byte-order mark or the empty last line comes back.
    EXPECT_EQ(fileText().substr(0, 8), "20261213");
    // Read and written again, the file settles at once.
    ReadPassbook(s);
    WritePassbook(s);
    const std::string settled = fileText();
    ReadPassbook(s);
    WritePassbook(s);
    EXPECT_EQ(fileText(), settled);
}

INSTANTIATE_TEST_SUITE_P(Passbook, Shapes, ::testing::ValuesIn(kShapes),
                         [](const auto& info) { return std::string(info.param.name); });

// Two writers on one file (a second copy, a hand edit): each posting reads the
// file again first, so no day of the other's is lost.
TEST(PassbookWriters, EachPostingKeepsTheOthersDays) {
    BookFolder a;
    BookFolder b;
    b.s.HomeFolder = a.s.HomeFolder;
    ReadPassbook(a.s);
    ReadPassbook(b.s);
    auto post = [](AppState& s, std::u16string_view date, int32_t stake, int32_t payout) {
        s.RaceDate.assign(date);
        s.StakeTotal = stake;
        s.PayoutTotal = payout;
        PostPassbook(s);
    };
    post(a.s, u"20261205", 1000, 0);
    post(b.s, u"20261206", 2000, 5000);
    post(a.s, u"20261205", 1000, 0);    // the same figures again
    std::string edited = a.fileText();  // a hand edit fills the third slot
    edited.replace(2 * 35, 33, L("20261201|300|0|-300"));
    a.dir.writeBytes("Korvane.txt", edited);
    post(b.s, u"20261206", 2000, 6000);  // a corrected payout
    const auto lines = a.fileLines();
    ASSERT_GE(lines.size(), 33u);
    EXPECT_EQ(lines[0], L("20261206|2000|6000|4000"));
    EXPECT_EQ(lines[1], L("20261205|1000|0|-1000"));
    EXPECT_EQ(lines[2], L("20261201|300|0|-300"));
    EXPECT_EQ(lines[3].substr(0, 8), "00000000");
    EXPECT_EQ(lines[10], lines[0]);  // best days
    EXPECT_EQ(lines[20], lines[1]);  // worst days
    EXPECT_EQ(b.s.Passbook[2].date.str(), u"20261201");
    EXPECT_TRUE(a.sink.seen.empty());
    EXPECT_TRUE(b.sink.seen.empty());
}

// A lookup that misses the book (a listing taken while a network drive was
// gone a moment) never puts a blank book, or the book in memory, over it.
TEST(PassbookWriters, BookALookupMissedIsReadNotReplaced) {
    BookFolder f;
    f.s.RaceDate.assign(u"20261213");
    f.s.StakeTotal = 700;
    for (const std::string& back : {Book(kOld, kZero), Book(kDay, kOld)}) {
        std::filesystem::remove(f.path());
        ReadingPass pass;
        ASSERT_FALSE(FileExists(f.path()));
        f.dir.writeBytes("Korvane.txt", back);  // back, the second time with another copy's day
        back.starts_with(kOld) ? ReadPassbook(f.s) : PostPassbook(f.s);
        EXPECT_EQ(f.s.Passbook[0].date.str(), back.starts_with(kOld) ? u"20261129" : u"20261213");
    }
    EXPECT_EQ(f.fileText().substr(0, 3 * 35),
              L("20261213|700|0|-700") + "\r\n" + Book(kDay).substr(0, 70));
    // A date no calendar has is not posted: the book would be refused from then on.
    f.s.RaceDate.assign(u"20261301");
    PostPassbook(f.s);
    EXPECT_EQ(f.fileText().substr(0, 8), "20261213");
    EXPECT_TRUE(f.sink.seen.empty());
}

// Out of date order, the day is found below an older one and replaced there.
TEST(PassbookWriters, DayListOutOfOrderGetsNoSecondEntry) {
    BookFolder f;
    f.dir.writeBytes("Korvane.txt", Book(kOld, kDay));
    ReadPassbook(f.s);
    f.s.RaceDate.assign(u"20261206");
    f.s.StakeTotal = 1000;
    f.s.PayoutTotal = 5000;
    PostPassbook(f.s);
    EXPECT_EQ(f.s.Passbook[0], Entry(u"20261129", 500, 0, -500));
    EXPECT_EQ(f.s.Passbook[1], Entry(u"20261206", 1000, 5000, 4000));
    EXPECT_EQ(f.s.Passbook[2].date.str(), u"00000000");
    EXPECT_EQ(f.fileLines()[1], L("20261206|1000|5000|4000"));
}

}  // namespace
}  // namespace zb
