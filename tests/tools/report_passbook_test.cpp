#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "accounting/passbook_test_util.h"
#include "fixtures/pat98_writer.h"
#include "tools/report_run.h"

namespace zb {
namespace {

using fixture::Pat98Dir;
using fixture::TempDir;

std::string ReportOut(const std::vector<std::string>& args) {
    return test::RunReport(args).out;
}

struct ReportPassbook : ::testing::Test {
    TempDir tmp;
    Pat98Dir dir{tmp.path()};
    void SetUp() override {
        dir.pat98Exe();
        fixture::ProgrammeFile p;
        p.amounts[0] = 15400;
        dir.programme('A', p);
    }
    std::string book() const { return dir.file("Korvane.txt"); }
};

TEST_F(ReportPassbook, MissingPassbookIsNotCreatedAndShowsTheFreshBook) {
    std::string json = ReportOut({"--folder", tmp.path(), "--json"});
    EXPECT_FALSE(std::filesystem::exists(book()));
    EXPECT_NE(json.find("\"PassbookCount\":10"), std::string::npos) << json;
    EXPECT_NE(json.find("\"Caption\":\"Zubrica98\""), std::string::npos);
    EXPECT_NE(json.find("\"label\":[\"2001年5月4日 FRI\",\"本日は未投票です\",\"投票\""),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("\"StakeToolTip\":\"\""), std::string::npos);
}

TEST_F(ReportPassbook, PassbookEntriesAsObjectsAndTheFileLeftAlone) {
    std::u16string t;
    for (int i = 1; i <= 33; ++i) {
        auto line = i == 1    ? test::BookLine("20010428", 1200, 0, -1200)
                    : i == 11 ? test::BookLine("20010421", 1000, 3000, 2000)
                    : i == 33 ? test::BookLine("20000101", 100, 50, -50)
                              : test::BookLine("00000000", 0, 0, 0);
        t += line.text() + u"\r\n";
    }
    dir.writeText("Korvane.txt", t, false);
    const std::string before = fixture::ReadAll(book());
    std::string json = ReportOut({"--folder", tmp.path(), "--json"});
    EXPECT_EQ(fixture::ReadAll(book()), before);
    EXPECT_NE(
        json.find(
            "\"Passbook\":[{\"date\":\"20010428\",\"stake\":1200,\"payout\":0,\"profit\":-1200}"),
        std::string::npos)
        << json;
    EXPECT_NE(
        json.find(
            "{\"date\":\"20000101\",\"stake\":100,\"payout\":50,\"profit\":-50},"
            "{\"date\":\"00000000\",\"stake\":0,\"payout\":0,\"profit\":0}],\"PassbookCount\":11"),
        std::string::npos)
        << json;
    EXPECT_NE(
        json.find(
            "\"BestDays\":[{\"date\":\"20010421\",\"stake\":1000,\"payout\":3000,\"profit\":2000}"),
        std::string::npos);
    EXPECT_NE(
        json.find("\"PassbookStakeSum\":1300,\"PassbookPayoutSum\":50,\"PassbookProfitSum\":-1250"),
        std::string::npos);
}

TEST_F(ReportPassbook, TextOutputListsTheLabels) {
    std::string out = ReportOut({"--folder", tmp.path()});
    EXPECT_NE(out.find("Zubrica98\n2001年5月4日 "
                       "FRI\n本日は未投票です\n投票\n払戻\n損益\n回収\n残高\n円\n円\n円\n％\n円\n0"
                       "\n0\n0\n0\n15400\n"),
              std::string::npos)
        << out;
    EXPECT_FALSE(std::filesystem::exists(book()));
}

TEST_F(ReportPassbook, HistoryModesPrintCsvOrNothingOfABookNotRead) {
    std::u16string t;
    for (int i = 1; i <= 33; ++i) {
        auto line = i == 1    ? test::BookLine("20010428", 1200, 0, -1200)
                    : i == 33 ? test::BookLine("20001231", 100, 250, 150)
                              : test::BookLine("00000000", 0, 0, 0);
        t += line.text() + u"\r\n";
    }
    dir.writeText("Korvane.txt", t, false);
    EXPECT_EQ(ReportOut({"--folder", tmp.path(), "--passbook"}),
              "日付,投票,払戻,損益\r\n2000-12-31,100,250,150\r\n2001-04-28,1200,0,-1200\r\n");
    EXPECT_EQ(ReportOut({"--folder", tmp.path(), "--passbook-totals"}),
              "期間,日数,投票,払戻,損益,回収率\r\n2000,1,100,250,150,250.0\r\n"
              "2000-12,1,100,250,150,250.0\r\n2001,1,1200,0,-1200,0.0\r\n"
              "2001-04,1,1200,0,-1200,0.0\r\n計,2,1300,250,-1050,19.2\r\n");
    dir.writeText("Korvane.txt", u"# notes\r\n" + t, false);
    const test::ReportRun r = test::RunReport({"--folder", tmp.path(), "--passbook"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("1 行目"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace zb
