#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

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

// The folder as the command got it, below the box's text.
TEST(Report, OutsideAPat98FolderExitsTwo) {
    TempDir t;
    for (const std::string& folder : {t.path(), t.path() + "/missing"}) {
        ReportRun r = RunReport({"--folder", folder});
        EXPECT_EQ(r.status, 2);
        const std::string quoted = test::ShellPath(folder);
        const std::string given = quoted.substr(1, quoted.size() - 2);
        EXPECT_EQ(
            r.err,
            "Zubrica98\t本ｿﾌﾄをPAT98ｲﾝｽﾄｰﾙﾌｫﾙﾀﾞに移動させてください。\n"
            "zubrica98-report: " +
                given +
                (folder == t.path() ? ": no pat98.exe in this folder\n" : ": no such folder\n"));
    }
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

// The detail and board texts of the demo day: a settled race with a dead
// heat, an open race with odds and post time, tomorrow's bets.
TEST(Report, DetailOfDemoRaces) {
    TempDir t;
    fixture::WriteDemoDay(t.path());
    auto detail = [&](std::vector<std::string> more) {
        std::vector<std::string> args{"--folder", t.path(), "--detail"};
        args.insert(args.end(), more.begin(), more.end());
        return RunReport(args);
    };
    ReportRun settled = detail({"0", "4"});
    EXPECT_EQ(settled.status, 0);
    EXPECT_EQ(settled.out,
              "詳細 - 東京 5回 2日 5R\n"
              " 単  6       400 ○    2.5\r\n"
              " 単  9       200 ○    3.1\r\n"
              " 複  4       200 ×\r\n"
              " 馬  6- 9    300 ○    8.8\r\n"
              "投票\t1100\n払戻\t4260\n損益\t+3160\n回収率\t387.2\n"
              "　単勝　\t    6       250\n"
              "　　　　\t    9       310\n"
              "　複勝　\t    6       120\n"
              "　　　　\t    9       130\n"
              "　　　　\t    1       380\n"
              "　枠連　\t 4- 5       560\n"
              "　馬連　\t 6- 9       880\n"
              "　ワイド\t 1- 6       640\n"
              "　　　　\t 1- 9       720\n"
              "　　　　\t 6- 9       310\n");
    EXPECT_EQ(detail({"0", "11"}).out,
              "詳細 - 東京 5回 2日 12R\n"
              " 単  5       300  [   9.0]\r\n"
              "投票\t300\n払戻\t0\n損益\t-300\n回収率\t0\n発走時刻　16時30分\n");
    EXPECT_EQ(detail({"1", "1", "--tomorrow"}).out,
              "詳細 - 阪神 5回 2日 前売\n"
              " 馬  4- 8    200  [  47.2]\r\n"
              "投票\t200\n払戻\t0\n損益\t-200\n回収率\t0\n");
    // Tomorrow's race is the one the chart's click picks, whatever R says.
    const ReportRun click = detail({"1", "--tomorrow"});
    EXPECT_EQ(click.status, 0);
    EXPECT_EQ(click.out, detail({"1", "1", "--tomorrow"}).out);
    EXPECT_EQ(detail({"1", "7", "--tomorrow"}).out, click.out);
    EXPECT_EQ(detail({"2", "--tomorrow"}).status, 1);  // Chukyo: nothing on tomorrow
    EXPECT_EQ(detail({"0"}).status, 1);                // a race of today needs R
    ReportRun none = detail({"0", "2"});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.out, "");
    EXPECT_EQ(detail({"3", "0"}).status, 1);
    EXPECT_EQ(RunReport({"--tomorrow"}).status, 1);
}

TEST(Report, UnknownOrRepeatedArgumentIsAUsageError) {
    const std::vector<std::vector<std::string>> cases{{"--bogus"},
                                                      {"--json", "--bank"},
                                                      {"--json", "--json"},
                                                      {"--folder", "a", "--folder", "b"},
                                                      {"--list", "0", "--list", "0"}};
    for (const auto& args : cases) EXPECT_EQ(RunReport(args).status, 1) << args.at(0);
}

// Windows hands argv over in the ANSI code page, which has no 競.
TEST(Report, FolderNamedInJapanese) {
    TempDir t;
    const std::string folder = t.path() + "/競馬 2026";
    std::filesystem::create_directory(
        std::filesystem::path(std::u8string(folder.begin(), folder.end())));
    fixture::WriteDemoDay(folder);
    ReportRun r = RunReport({"--folder", folder, "--json"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
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

TEST(Report, HelpPrintsTheUsageAndSucceeds) {
    ReportRun r = RunReport({"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("usage: zubrica98-report [--folder DIR]\n", 0), 0u);
    EXPECT_EQ(r.err, "");
}

TEST(Demo, OptionsAreNoFolderNames) {
    for (const char* arg : {"--help", "--bogus"}) {
        ReportRun r = test::RunProgram(ZB_DEMO_BINARY, {arg});
        EXPECT_EQ(r.status, arg[2] == 'h' ? 0 : 1);
        // Windows ends the line with CR LF.
        EXPECT_EQ((r.out + r.err).rfind("usage: zubrica98-demo DIR", 0), 0u);
        EXPECT_FALSE(std::filesystem::exists(arg));
    }
}

TEST(Report, JsonIsUtf8ForAShiftJisFolderName) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows names files in UTF-16, never in raw Shift-JIS bytes";
#endif
    // "テスト" in Shift-JIS bytes, as a folder copied from Windows may be named.
    TempDir t;
    const std::string folder = t.path() + "/\x83\x65\x83\x58\x83\x67";
    std::filesystem::create_directory(folder);
    Pat98Dir d(folder);
    d.pat98Exe();
    d.programme('A', ProgrammeFile{});
    ReportRun r = RunReport({"--folder", folder, "--json"});
    EXPECT_EQ(r.status, 0);
    const nlohmann::json j = nlohmann::json::parse(r.out);  // throws on bytes that are not UTF-8
    EXPECT_EQ(j.at("Pat98Folder"), t.path() + "/\uFFFDe\uFFFDX\uFFFDg");
    EXPECT_EQ(j.at("ErrorCode"), 3);
    EXPECT_EQ(j.at("MeetingTable").at(0), nlohmann::json::parse("[5,3,8]"));
}

}  // namespace
}  // namespace zb
