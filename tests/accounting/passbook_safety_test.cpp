// The passbook is never lost: a book that could not be read is not written
// over, blank days do not pile up, and a huge file is refused in bounded time
// and memory.

#include <gtest/gtest.h>

#include "accounting/passbook.h"
#include "accounting/passbook_test_util.h"

namespace zb {
namespace {

using fixture::Line;
using test::BookFolder;
using test::BookLine;
using test::Entry;

std::vector<Line> Days(int lines) {
    std::vector<Line> out;
    for (int n = 1; n <= lines; ++n) out.push_back(BookLine(test::NthDate(n), n, 0, -n));
    return out;
}

struct Unreadable {
    const char* name;
    int failure;
    // Writes a passbook that reading refuses (in ways that hold for root).
    void (*make)(const BookFolder& f);
};

void PrintTo(const Unreadable& c, std::ostream* os) {
    *os << c.name;
}

const Unreadable kUnreadable[] = {
    {"SumOverflows", 6,
     [](const BookFolder& f) {
         std::vector<Line> lines;
         for (int n = 0; n < 50; ++n) lines.push_back(BookLine(test::NthDate(n), 99999999, 0, 0));
         f.writeLines(lines);
     }},
    {"TooManyDays", 7,
     [](const BookFolder& f) {
         std::string blank(kPassbookDaySlots + 22 + kPassbookMaxDays, '\n');
         f.dir.writeBytes("Korvane.txt", blank);
     }},
    {"TooManyBytes", 7,
     [](const BookFolder& f) {
         std::string t;
         for (int i = 0; i < 32; ++i) t += "19990101\r\n";
         t += std::string(kPassbookMaxBytes, ' ');
         f.dir.writeBytes("Korvane.txt", t);
     }},
};

struct NeverWritten : ::testing::TestWithParam<Unreadable>, BookFolder {};

TEST_P(NeverWritten, UntilALaterReadSucceeds) {
    GetParam().make(*this);
    const std::string before = fileText();
    ReadPassbook(s);
    ASSERT_EQ(sink.seen.size(), 1u);
    EXPECT_EQ(sink.seen[0].first, "MAIN  " + std::to_string(GetParam().failure));
    EXPECT_LE(s.Passbook.size(), static_cast<std::size_t>(kPassbookMaxDays));

    s.RaceDate.assign(u"20010504");
    s.StakeTotal = 1000;
    s.PayoutTotal = 3000;
    PostPassbook(s);
    EXPECT_EQ(s.BestDays(0), Entry(u"20010504", 1000, 3000, 2000));  // computed
    EXPECT_EQ(fileText(), before);                                   // not written
    EXPECT_EQ(sink.seen.size(), 1u);

    writeLines(Days(32));
    ReadPassbook(s);
    PostPassbook(s);
    EXPECT_EQ(fileLines().front().substr(0, 8), "20010504");
}

INSTANTIATE_TEST_SUITE_P(Passbook, NeverWritten, ::testing::ValuesIn(kUnreadable),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PassbookBounds, MostDaysStillRead) {
    BookFolder f;
    std::string t;
    for (int i = 0; i < kPassbookMaxDays + 22; ++i) t += test::NthDate(i) + "\r\n";
    f.dir.writeBytes("Korvane.txt", t);
    ReadPassbook(f.s);
    EXPECT_TRUE(f.sink.seen.empty());
    EXPECT_EQ(f.s.PassbookCount, kPassbookMaxDays);
    // A long line is looked at once and refused: the next write would cut it.
    f.writeLines({Line().at(1, "19990101").at(9, "5").at(40, std::string(100000, '7'))});
    f.sink.seen.clear();
    ReadPassbook(f.s);
    ASSERT_EQ(f.sink.seen.size(), 1u);
    EXPECT_EQ(f.sink.seen[0].first, "MAIN  13");
    EXPECT_TRUE(f.s.PassbookReadFailed);
}

// Each start on a settled day used to add one "00000000" line.
TEST(PassbookBlankDays, AtMostOneEmptySlotAfterTheLastDay) {
    struct Case {
        int lines, blankLines;
        std::size_t written;
    };
    for (Case c :
         {Case{0, 0, 33}, Case{32, 0, 33}, Case{32, 1, 33}, Case{35, 0, 36}, Case{35, 5, 36}}) {
        BookFolder f;
        auto lines = Days(c.lines);
        lines.insert(lines.end(), static_cast<std::size_t>(c.blankLines),
                     BookLine("00000000", 0, 0, 0));
        if (c.lines > 0) f.writeLines(lines);
        for (int start = 0; start < 3; ++start) {
            ReadPassbook(f.s);
            // Old files with blank days still read as before.
            if (start == 0 && c.lines > 0) {
                EXPECT_EQ(f.s.PassbookCount, c.lines + c.blankLines - 22) << c.lines;
            }
            WritePassbook(f.s);
            EXPECT_EQ(f.fileLines().size(), c.written) << c.lines << "+" << c.blankLines;
        }
    }
}

}  // namespace
}  // namespace zb
