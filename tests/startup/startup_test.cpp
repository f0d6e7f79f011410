#include "program/startup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "fixtures/pat98_writer.h"
#include "fixtures/race_day_writer.h"
#include "fixtures/recording_sink.h"
#include "platform/file_lookup.h"

namespace zb {
namespace {

using fixture::Pat98Dir;
using fixture::ProgrammeFile;
using fixture::RecordingSink;
using fixture::TempDir;

struct StartupTest : ::testing::Test {
    TempDir pat98Dir, appDir;
    Pat98Dir pat{pat98Dir.path()};
    RecordingSink sink;
    std::unique_ptr<AppState> s = std::make_unique<AppState>();
    StartPlatform platform;
    void SetUp() override {
        s->Messages = &sink;
        platform.currentDir = pat98Dir.path();
        platform.programFolder = appDir.path();
        platform.screenHeight = 11520;
        platform.screenWidth = 15360;
    }
    void settings(const std::string& body) {
        Pat98Dir(appDir.path()).writeBytes("Zubrica98.ini", body);
    }
    void fullFolder() {
        pat.pat98Exe();
        pat.programme('A', ProgrammeFile{});
    }
};

TEST_F(StartupTest, NoPat98ExeIsMessageTwoEvenWithDataFiles) {
    pat.programme('A', ProgrammeFile{});
    EXPECT_FALSE(Main(*s, platform));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].title, "Zubrica98");
    EXPECT_EQ(sink.messages[0].text, "本ｿﾌﾄをPAT98ｲﾝｽﾄｰﾙﾌｫﾙﾀﾞに移動させてください。");
    EXPECT_EQ(s->ErrorCode, 2);
    EXPECT_EQ(s->RaceDate.view(), u"        ");  // programme not read
}

TEST_F(StartupTest, NoProgrammeIsMessageOne) {
    pat.pat98Exe();
    EXPECT_FALSE(Main(*s, platform));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, "投票要項が取得されていません。");
}

TEST_F(StartupTest, NoPurchaseLogIsMessageThreeAndGoesOn) {
    fullFolder();
    EXPECT_TRUE(Main(*s, platform));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].title, "Zubrica98");
    EXPECT_EQ(sink.messages[0].text, "ﾛｸﾞﾌｧｲﾙがありません。");
    EXPECT_EQ(s->ListView, 1);
    EXPECT_EQ(s->HomeFolder, pat98Dir.path());
    EXPECT_EQ(s->AppFolder, appDir.path() + "\\");
}

TEST_F(StartupTest, AFailedPassAfterNoResultYetShowsOnlyTheFailure) {
    // Race 1's result file holds no result yet (code 1), then the win payout
    // file of the meeting is too short for its header.
    fullFolder();
    fixture::WriteResultFile(pat, "KS-51381.JRA", fixture::RaceResult().text());
    pat.writeBytes("TH-5138.JRA", "HARAI");
    EXPECT_TRUE(Main(*s, platform));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].title, "Aharai  62");
    EXPECT_EQ(s->ErrorCode, 1);
}

TEST_F(StartupTest, StartErrorTexts) {
    EXPECT_EQ(StartErrorText(0), "????");
    EXPECT_EQ(StartErrorText(4), "????");
}

TEST_F(StartupTest, DefaultPositionsAndTheirReplacement) {
    settings("[WINDOW]\r\nLeft3=-100\r\nTop3=1\r\nTop0=250\r\n");
    fullFolder();
    ASSERT_TRUE(Main(*s, platform));
    const int32_t h = 11520, w = 15360;
    EXPECT_EQ(s->DefaultTop(0), h - 6155);
    EXPECT_EQ(s->DefaultLeft(0), w - 6780);
    EXPECT_EQ(s->DefaultTop(1), h - 4640);
    EXPECT_EQ(s->DefaultLeft(1), w - 8565);
    EXPECT_EQ(s->DefaultTop(2), h - 4355);
    EXPECT_EQ(s->DefaultLeft(2), w - 5025);
    EXPECT_EQ(s->DefaultTop(3), h - 4550);
    EXPECT_EQ(s->DefaultLeft(3), w - 6195);
    EXPECT_EQ(s->DefaultTop(5), h - 3185);
    EXPECT_EQ(s->DefaultLeft(5), w - 1965);
    EXPECT_EQ(s->settings.Top(5), h - 3185);   // missing key
    EXPECT_EQ(s->settings.Left(3), w - 6195);  // -100 replaced
    EXPECT_EQ(s->settings.Top(3), 1);          // 1 stays
    EXPECT_EQ(s->settings.Top(0), 250);
    EXPECT_EQ(s->settings.Top(4), 0);  // the passbook slot has no default
    EXPECT_EQ(s->settings.Left(4), 0);
    // The analysis window's slot, missing from a file of an older version.
    EXPECT_EQ(s->settings.Top(6), s->DefaultTop(6));
    EXPECT_EQ(s->DefaultTop(6), h - kAnalysisHeight - kFrameAllowance - 800);
    EXPECT_EQ(s->settings.Left(6), w - kAnalysisWidth - 2145);
}

TEST_F(StartupTest, DefaultsOfATinyScreenOverflowNothing) {
    platform.screenHeight = INT32_MIN + 10;
    fullFolder();
    EXPECT_FALSE(Main(*s, platform));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].title, "MAIN  6");
    EXPECT_EQ(sink.messages[0].text, "オーバーフローしました。");
}

TEST_F(StartupTest, DebugReadsTheFixedFolder) {
    settings("[OPTION]\r\nDebug=1\r\n");
    fullFolder();
    EXPECT_FALSE(Main(*s, platform));  // no PAT98 there
    EXPECT_EQ(s->Pat98Folder, "c:\\program files\\pat98");
    EXPECT_EQ(s->HomeFolder, "c:\\program files\\pat98");
    EXPECT_EQ(sink.messages.at(0).text, "本ｿﾌﾄをPAT98ｲﾝｽﾄｰﾙﾌｫﾙﾀﾞに移動させてください。");
}

TEST_F(StartupTest, SettingsOverflowIsReportedAndStartUpGoesOn) {
    settings("[OPTION]\r\nPos=99999\r\n");
    fullFolder();
    EXPECT_TRUE(Main(*s, platform));
    ASSERT_GE(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].title, "Zubrica98");
    EXPECT_EQ(sink.messages[0].text.substr(sink.messages[0].text.rfind('\n')), "\nPos=99999");
    EXPECT_EQ(s->settings.Pos, 0);
}

TEST_F(StartupTest, BadProgrammeAtStartIsReportedUnderInit) {
    pat.pat98Exe();
    ProgrammeFile p;
    p.venue = "AB";
    pat.programme('A', p);
    EXPECT_FALSE(Main(*s, platform));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].title, "init  13");
    EXPECT_EQ(sink.messages[0].text,
              "型が一致しません。\n" + JoinPath(platform.currentDir, "\\UY-A.JRA"));
}

TEST_F(StartupTest, ReportRunErrorTitle) {
    s->CurrentProc = "comp";
    ReportRunError(*s, RunError(6, ErrorDescription(6)));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].title, "comp  6");
    EXPECT_EQ(sink.messages[0].text, "オーバーフローしました。");
}

TEST_F(StartupTest, RefreshSurvivesABadProgrammeAndRecovers) {
    fullFolder();
    ASSERT_TRUE(Main(*s, platform));
    sink.messages.clear();
    ProgrammeFile bad;
    bad.date = "20990101";
    bad.second = "  ";
    pat.programme('A', bad);
    EXPECT_FALSE(RefreshData(*s));
    ASSERT_EQ(sink.messages.size(), 1u);
    // The programme reader names no procedure: the last one that did is shown.
    EXPECT_EQ(sink.messages[0].title, "Alog  13");
    EXPECT_TRUE(s->LastPassFailed);
    EXPECT_EQ(s->LoadBusy, 0);
    EXPECT_EQ(s->RaceDate.view(), u"20010504");  // the last good read
    // The next refresh works once the file is whole again.
    pat.programme('A', ProgrammeFile{});
    EXPECT_TRUE(RefreshData(*s));
    EXPECT_FALSE(s->LastPassFailed);
}

TEST_F(StartupTest, RefreshFollowsTheSeedFile) {
    fullFolder();
    ASSERT_TRUE(Main(*s, platform));
    TempDir other;
    Pat98Dir o(other.path());
    ProgrammeFile p;
    p.date = "20020202";
    o.programme('A', p);
    pat.seed(other.path());
    EXPECT_TRUE(RefreshData(*s));
    EXPECT_EQ(s->Pat98Folder, other.path());
    EXPECT_EQ(s->RaceDate.view(), u"20020202");
    pat.remove("zubrica.txt");
    EXPECT_TRUE(RefreshData(*s));
    EXPECT_EQ(s->Pat98Folder, pat98Dir.path());
    EXPECT_EQ(s->RaceDate.view(), u"20010504");
}

TEST_F(StartupTest, RefreshWithoutProgrammeGoesOnQuietly) {
    fullFolder();
    ASSERT_TRUE(Main(*s, platform));
    sink.messages.clear();
    pat.remove("UY-A.JRA");
    EXPECT_TRUE(RefreshData(*s));
    EXPECT_EQ(s->MeetingCount, 0);
    EXPECT_EQ(s->RaceDate.view(), u"20010504");
    // Only the missing purchase log's code remains; refresh shows no start message.
    EXPECT_TRUE(sink.messages.empty());
}

}  // namespace
}  // namespace zb
