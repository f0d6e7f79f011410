#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

#include "fixtures/demo_day.h"
#include "fixtures/pat98_writer.h"
#include "tools/report_run.h"

namespace zb {
namespace {

using fixture::Pat98Dir;
using fixture::ProgrammeFile;
using fixture::TempDir;

using test::ReportRun;
using test::RunReport;

TEST(Report, OutsideAPat98FolderExitsTwo) {
    TempDir t;
    ReportRun r = RunReport({"--folder", t.path()});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "Zubrica98\t本ｿﾌﾄをPAT98ｲﾝｽﾄｰﾙﾌｫﾙﾀﾞに移動させてください。\n");
}

TEST(Report, WithoutProgrammeExitsTwo) {
    TempDir t;
    Pat98Dir(t.path()).pat98Exe();
    ReportRun r = RunReport({"--folder", t.path()});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "Zubrica98\t投票要項が取得されていません。\n");
}

TEST(Report, WithoutPurchaseLogGoesOnAndWritesNothing) {
    TempDir t;
    Pat98Dir d(t.path());
    d.pat98Exe();
    ProgrammeFile p;
    p.amounts[0] = 100;
    p.amounts[1] = 30;
    p.amounts[2] = 5;
    d.programme('A', p);
    ReportRun r = RunReport({"--folder", t.path(), "--json"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "Zubrica98\tﾛｸﾞﾌｧｲﾙがありません。\n");
    EXPECT_NE(r.out.find("\"ErrorCode\":3"), std::string::npos);
    EXPECT_NE(r.out.find("\"RaceDate\":\"20010504\""), std::string::npos);
    EXPECT_NE(r.out.find("\"AccountBalance\":75"), std::string::npos);
    EXPECT_NE(r.out.find("\"MeetingTable\":[[5,3,8],[0,0,0]"), std::string::npos);
    int files = 0;
    for (auto& e : std::filesystem::directory_iterator(t.path())) files += e.is_regular_file();
    EXPECT_EQ(files, 2);  // pat98.exe and UY-A.JRA: no passbook, no settings
}

TEST(Report, UnknownArgumentIsAUsageError) {
    EXPECT_EQ(RunReport({"--bogus"}).status, 1);
    EXPECT_EQ(RunReport({"--json", "--bank"}).status, 1);
}

TEST(Report, BankChartOfTheDemoDay) {
    TempDir t;
    fixture::WriteDemoDay(t.path());
    ReportRun r = RunReport({"--folder", t.path(), "--bank"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    // Hanshin: settled races signed, open ones grey; Chukyo runs ten races
    // and not tomorrow.
    EXPECT_NE(r.out.find("阪神 5回 2日\n1R\t0\t0\tgrey\n"), std::string::npos);
    EXPECT_NE(r.out.find("9R\t600\t+1990\n10R\t500\t0\n11R\t500\t+5690\tgrey\n"
                         "12R\t100\t-100\tgrey\n前日\t200\n計\t1900\t+7580\n"),
              std::string::npos);
    EXPECT_NE(r.out.find("10R\t0\t0\tgrey\n計\t400\t+560\n"), std::string::npos);
    ReportRun j = RunReport({"--folder", t.path(), "--json"});
    EXPECT_NE(j.out.find("\"BankTable\":[[1300,0,0,0,1100,0,0,0,0,0,1500,300,300],"),
              std::string::npos);
    EXPECT_NE(j.out.find("\"CurrentProc\":\"comp\""), std::string::npos);
}

}  // namespace
}  // namespace zb
