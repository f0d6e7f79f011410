#include "accounting/passbook.h"

#include <gtest/gtest.h>
#include <signal.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <filesystem>

#include "accounting/passbook_test_util.h"

namespace zb {
namespace {

using fixture::Line;
using test::BookFolder;
using test::BookLine;
using test::Empty;
using test::Entry;

const std::string kZeroLine(33, '0');

// Lines whose fields tell where they came from: day lines "2001mmdd" (line n
// is day n of the year) with stake = line number, best lines 1xx, worst lines 2xx.
std::vector<Line> NumberedLines(int count) {
    std::vector<Line> lines;
    for (int n = 1; n <= count; ++n) {
        const int d = n > 31 ? n - 31 : n;
        std::string date =
            (n > 31 ? "200102" : "200101") + std::string(d < 10 ? "0" : "") + std::to_string(d);
        lines.push_back(BookLine(date, n, n * 10, n * 10 - n));
    }
    return lines;
}

struct PassbookStore : ::testing::Test, BookFolder {};

TEST_F(PassbookStore, MissingFileIsCreatedWithThirtyTwoLinesOfZeros) {
    ReadPassbook(s);
    std::string expected;
    for (int i = 0; i < 32; ++i) expected += kZeroLine + "\r\n";
    EXPECT_EQ(fileText(), expected);
    ASSERT_EQ(s.Passbook.size(), 11u);
    for (const auto& e : s.Passbook) EXPECT_EQ(e, Empty());
    for (int i = 0; i <= 10; ++i) {
        EXPECT_EQ(s.BestDays(i), Empty());
        EXPECT_EQ(s.WorstDays(i), Empty());
    }
    EXPECT_EQ(s.PassbookCount, 10);
    EXPECT_EQ(s.PassbookStakeSum, 0);
    EXPECT_EQ(s.PassbookPayoutSum, 0);
    EXPECT_EQ(s.PassbookProfitSum, 0);
    EXPECT_EQ(s.PassbookBusy, 0);
    EXPECT_TRUE(sink.seen.empty());
}

TEST_F(PassbookStore, ReadOnlyBuildsTheFreshBookWithoutCreatingTheFile) {
    s.ReadOnly = true;
    ReadPassbook(s);
    EXPECT_FALSE(std::filesystem::exists(path()));
    EXPECT_EQ(s.Passbook.size(), 11u);
    EXPECT_EQ(s.PassbookCount, 10);
    EXPECT_EQ(s.Passbook[0], Empty());
    EXPECT_TRUE(sink.seen.empty());
    WritePassbook(s);
    EXPECT_FALSE(std::filesystem::exists(path()));
}

TEST_F(PassbookStore, FileNameIsFoundWithoutRegardToCase) {
    auto lines = NumberedLines(32);
    std::u16string t;
    for (auto& l : lines) t += l.text() + u"\r\n";
    dir.writeText("KORVANE.TXT", t, false);
    ReadPassbook(s);
    EXPECT_EQ(s.Passbook[0], Entry(u"20010101", 1, 10, 9));
    // By name, since a file system without case finds "Korvane.txt" too.
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(tmp.path()))
        names.push_back(e.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"KORVANE.TXT"});
}

TEST_F(PassbookStore, ThirtyTwoLineFile) {
    writeLines(NumberedLines(32));
    ReadPassbook(s);
    ASSERT_EQ(s.Passbook.size(), 11u);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(s.Passbook[static_cast<std::size_t>(i)].stake, i + 1);
    for (int i = 0; i <= 9; ++i) {
        EXPECT_EQ(s.BestDays(i).stake, 11 + i);
        EXPECT_EQ(s.WorstDays(i).stake, 21 + i);
    }
    EXPECT_EQ(s.BestDays(10), Entry(u"20010131", 31, 310, 279));
    EXPECT_EQ(s.WorstDays(10), Entry(u"20010201", 32, 320, 288));
    EXPECT_EQ(s.Passbook[10], Empty());
    EXPECT_EQ(s.PassbookCount, 10);
    EXPECT_EQ(s.PassbookStakeSum, 55);
    EXPECT_EQ(s.PassbookPayoutSum, 550);
    EXPECT_EQ(s.PassbookProfitSum, 495);
}

TEST_F(PassbookStore, ThirtyThreeAndThirtyFiveLineFiles) {
    writeLines(NumberedLines(33));
    ReadPassbook(s);
    ASSERT_EQ(s.Passbook.size(), 12u);
    EXPECT_EQ(s.Passbook[10], Entry(u"20010202", 33, 330, 297));
    EXPECT_EQ(s.Passbook[11], Empty());
    EXPECT_EQ(s.PassbookCount, 11);

    writeLines(NumberedLines(35));
    ReadPassbook(s);
    ASSERT_EQ(s.Passbook.size(), 14u);
    EXPECT_EQ(s.Passbook[9].stake, 10);
    EXPECT_EQ(s.Passbook[10].stake, 33);
    EXPECT_EQ(s.Passbook[12].stake, 35);
    EXPECT_EQ(s.Passbook[13], Empty());
    EXPECT_EQ(s.PassbookCount, 13);
    // Lines 1-10 and 33-35; the two lists are not summed.
    EXPECT_EQ(s.PassbookStakeSum, 55 + 33 + 34 + 35);
    EXPECT_TRUE(sink.seen.empty());
}

TEST_F(PassbookStore, ThirtyLineFileEmptiesTheEleventhPlacesWithoutMessage) {
    s.BestDays(10) = Entry(u"19990101", 1, 2, 1);
    s.WorstDays(10) = Entry(u"19990102", 1, 0, -1);
    writeLines(NumberedLines(30));
    ReadPassbook(s);
    EXPECT_TRUE(sink.seen.empty());
    EXPECT_EQ(s.BestDays(9).stake, 20);
    EXPECT_EQ(s.WorstDays(9).stake, 30);
    EXPECT_EQ(s.BestDays(10), Empty());
    EXPECT_EQ(s.WorstDays(10), Empty());
    EXPECT_EQ(s.Passbook.size(), 10u);  // no open slot
    EXPECT_EQ(s.PassbookCount, 9);
    EXPECT_EQ(s.PassbookBusy, 0);
}

TEST_F(PassbookStore, ShorterFileKeepsUnreadDaySlotsBlank) {
    writeLines(NumberedLines(4));
    ReadPassbook(s);
    EXPECT_TRUE(sink.seen.empty());
    EXPECT_EQ(s.Passbook.size(), 10u);
    EXPECT_EQ(s.PassbookCount, 9);
    EXPECT_EQ(s.Passbook[3].stake, 4);
    EXPECT_EQ(s.Passbook[4], Entry(u"", 0, 0, 0));
    EXPECT_EQ(s.PassbookStakeSum, 10);
}

// What carries nothing may differ from the written form; see the shapes test
// for lines that refuse the file.
TEST_F(PassbookStore, LinesThatLoseNothingAreRead) {
    auto lines = NumberedLines(32);
    lines[0] = Line().at(1, "20010101");                // short line
    lines[1] = Line(33).at(1, "20010102");              // blank amounts
    lines[2] = Line(40).at(1, "20010103").at(9, "45");  // blanks after the profit
    lines[3] = Line();                                  // empty line
    lines[4] = Line().at(1, kZeroLine);                 // a created empty slot
    lines[5] = Line().at(1, "20010106").at(9, "00000000").at(17, "-7").at(25, "-7");
    writeLines(lines);
    ReadPassbook(s);
    EXPECT_TRUE(sink.seen.empty());
    EXPECT_EQ(s.Passbook[0], Entry(u"20010101", 0, 0, 0));
    EXPECT_EQ(s.Passbook[1], Entry(u"20010102", 0, 0, 0));
    EXPECT_EQ(s.Passbook[2], Entry(u"20010103", 45, 0, 0));
    EXPECT_EQ(s.Passbook[3], Entry(u"", 0, 0, 0));
    EXPECT_EQ(s.Passbook[4], Empty());
    EXPECT_EQ(s.Passbook[5], Entry(u"20010106", 0, -7, -7));
    EXPECT_EQ(s.PassbookCount, 10);
}

TEST_F(PassbookStore, SumOverflowIsReportedWithTheCurrentProcedure) {
    auto lines = NumberedLines(32);
    lines[0] = BookLine("20010101", 99999999, 0, 0);
    for (int i = 1; i <= 25; ++i) lines.push_back(BookLine(test::NthDate(i), 99999999, 0, 0));
    writeLines(lines);
    s.CurrentProc = "comp";
    ReadPassbook(s);
    ASSERT_EQ(sink.seen.size(), 1u);
    EXPECT_EQ(sink.seen[0].first, "comp  6");
    EXPECT_EQ(s.CurrentProc, "comp");
    EXPECT_EQ(s.PassbookCount, static_cast<int32_t>(s.Passbook.size()) - 1);
    EXPECT_EQ(s.PassbookBusy, 0);
}

TEST_F(PassbookStore, BusyReadAndWriteDoNothing) {
    writeLines(NumberedLines(32));
    const std::string before = fileText();
    s.PassbookBusy = 1;
    ReadPassbook(s);
    EXPECT_TRUE(s.Passbook.empty());
    s.Passbook.assign(11, Entry(u"20020202", 1, 1, 0));
    WritePassbook(s);
    EXPECT_EQ(fileText(), before);
    EXPECT_EQ(s.PassbookBusy, 1);
}

TEST_F(PassbookStore, LineLayoutOfNegativeAndWideAmounts) {
    EXPECT_EQ(PassbookLine(Entry(u"20010504", 1200, 0, -1234567)),
              "20010504"
              "1200    "
              "0       "
              "-1234567 ");
    EXPECT_EQ(PassbookLine(Entry(u"20010504", 99999999, -9999999, -99999999)),
              "20010504"
              "99999999"
              "-9999999"
              "-99999999");
    EXPECT_EQ(PassbookLine(Entry(u"2001", 1, 2, 3)),
              "2001    "
              "1       "
              "2       "
              "3        ");
    auto failure = [](const PassbookEntry& e) {
        try {
            PassbookLine(e);
        } catch (const RunError& err) {
            return err.number;
        }
        return 0;
    };
    EXPECT_EQ(failure(Entry(u"20010504", 100000000, 0, 0)), kErrOverflow);
    EXPECT_EQ(failure(Entry(u"20010504", 0, -10000000, 0)), kErrOverflow);
    EXPECT_EQ(failure(Entry(u"20010504", 0, 0, 1000000000)), kErrOverflow);
    EXPECT_EQ(failure(Entry(u"20010504", 0, 0, -100000000)), kErrOverflow);
}

TEST_F(PassbookStore, WriteAfterFreshReadAddsTheOpenSlotAsLineThirtyThree) {
    ReadPassbook(s);
    WritePassbook(s);
    auto lines = fileLines();
    ASSERT_EQ(lines.size(), 33u);
    // Zeros read from the created file come back as numbers.
    for (std::size_t i = 0; i < 32; ++i) EXPECT_EQ(lines[i], lines[32]) << i;
    EXPECT_EQ(lines[32],
              "00000000"
              "0       "
              "0       "
              "0        ");
    ReadPassbook(s);
    EXPECT_EQ(s.PassbookCount, 11);
}

TEST_F(PassbookStore, WriteOrderAndRoundTrip) {
    s.Passbook.clear();
    for (int i = 0; i < 12; ++i) s.Passbook.push_back(Entry(u"200101" + Dec(i + 10), i, 0, -i));
    s.Passbook.push_back(Empty());
    s.PassbookCount = 12;
    for (int i = 0; i <= 10; ++i) {
        s.BestDays(i) = Entry(u"20020101", 100 + i, 0, 0);
        s.WorstDays(i) = Entry(u"20030101", 200 + i, 0, 0);
    }
    WritePassbook(s);
    auto lines = fileLines();
    ASSERT_EQ(lines.size(), 35u);
    auto stakeOf = [&](std::size_t line) { return lines[line - 1].substr(8, 8); };
    EXPECT_EQ(stakeOf(1), "0       ");
    EXPECT_EQ(stakeOf(10), "9       ");
    EXPECT_EQ(stakeOf(11), "100     ");
    EXPECT_EQ(stakeOf(20), "109     ");
    EXPECT_EQ(stakeOf(21), "200     ");
    EXPECT_EQ(stakeOf(30), "209     ");
    EXPECT_EQ(stakeOf(31), "110     ");
    EXPECT_EQ(stakeOf(32), "210     ");
    EXPECT_EQ(stakeOf(33), "10      ");
    EXPECT_EQ(stakeOf(34), "11      ");
    EXPECT_EQ(lines[34].substr(0, 8), "00000000");

    auto written = s.Passbook;
    auto best = s.BestDays;
    ReadPassbook(s);
    written.push_back(Empty());  // the open slot of the new read
    EXPECT_EQ(s.Passbook, written);
    for (int i = 0; i <= 10; ++i) EXPECT_EQ(s.BestDays(i), best(i));
    EXPECT_EQ(s.PassbookCount, 13);
}

TEST_F(PassbookStore, TooWideAmountWritesNothingAndReportsOverflow) {
    writeLines(NumberedLines(32));
    const std::string before = fileText();
    ReadPassbook(s);
    s.Passbook[3].stake = 123456789;
    s.CurrentProc = "MAIN";
    WritePassbook(s);
    ASSERT_EQ(sink.seen.size(), 1u);
    EXPECT_EQ(sink.seen[0].first, "MAIN  6");
    EXPECT_EQ(fileText(), before);
    EXPECT_EQ(s.PassbookBusy, 0);
}

TEST_F(PassbookStore, WriteIntoAFolderThatIsAFileIsReported) {
    dir.writeText("notafolder", u"x");
    s.HomeFolder = dir.file("notafolder");
    ReadPassbook(s);  // cannot create: reported, the book is fresh in memory
    ASSERT_EQ(sink.seen.size(), 1u);
    EXPECT_EQ(sink.seen[0].first, "MAIN  76");
    EXPECT_EQ(s.Passbook.size(), 11u);
    EXPECT_EQ(s.PassbookCount, 10);
    WritePassbook(s);
    ASSERT_EQ(sink.seen.size(), 2u);
    EXPECT_EQ(sink.seen[1].first, "MAIN  76");
    EXPECT_EQ(s.PassbookBusy, 0);
}

TEST_F(PassbookStore, WriteIntoAMissingFolderIsReported) {
    s.HomeFolder = dir.file("gone");
    s.Passbook.assign(11, Empty());
    s.PassbookCount = 10;
    WritePassbook(s);
    ASSERT_EQ(sink.seen.size(), 1u);
    EXPECT_EQ(sink.seen[0].first, "MAIN  76");
    EXPECT_FALSE(std::filesystem::exists(dir.file("gone")));
}

// A write cut short (here by a file size limit, which holds for root too)
// leaves the old passbook whole and no temporary file behind.
TEST_F(PassbookStore, InterruptedWriteLeavesTheOldFileWhole) {
#ifdef _WIN32
    GTEST_SKIP() << "file size limits are POSIX";
#else
    writeLines(NumberedLines(35));
    const std::string before = fileText();
    ReadPassbook(s);
    for (auto& e : s.Passbook) e.stake = 7;
    struct rlimit old;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    WritePassbook(s);
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, oldHandler);
    ASSERT_EQ(sink.seen.size(), 1u);
    EXPECT_EQ(sink.seen[0].first, "MAIN  70");
    EXPECT_EQ(fileText(), before);
    int files = 0;
    for (auto& entry : std::filesystem::directory_iterator(tmp.path())) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 1);
    EXPECT_EQ(s.PassbookBusy, 0);
#endif
}

}  // namespace
}  // namespace zb
