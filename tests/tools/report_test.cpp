#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

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
}

}  // namespace
}  // namespace zb
