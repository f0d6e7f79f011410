#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "fixtures/pat98_writer.h"
#include "fixtures/recording_sink.h"
#include "platform/run_error.h"
#include "readers/readers.h"

namespace zb {
namespace {

using fixture::Pat98Dir;
using fixture::ProgrammeFile;
using fixture::TempDir;

struct ProgrammeTest : ::testing::Test {
    TempDir dir;
    Pat98Dir pat{dir.path()};
    std::unique_ptr<AppState> s = std::make_unique<AppState>();
    void SetUp() override {
        s->Pat98Folder = dir.path();
        s->HomeFolder = dir.path();
    }
    int failure() {
        try {
            ReadProgramme(*s);
        } catch (const RunError& e) {
            return e.number;
        }
        return 0;
    }
};

TEST_F(ProgrammeTest, FileAFieldsAtTheirPositions) {
    ProgrammeFile a;
    a.date = "20010504";
    a.serial = "0012";
    a.amounts[0] = 100;
    a.amounts[1] = 30;
    a.amounts[2] = 5;
    a.venue = "10";
    a.second = "03";
    a.third = "08";
    a.flags = "123456789012";
    pat.programme('A', a);
    ReadProgramme(*s);
    EXPECT_EQ(s->ErrorCode, 0);
    EXPECT_EQ(s->RaceDate.view(), u"20010504");
    EXPECT_EQ(s->ProgrammeSerial, 12);
    EXPECT_EQ(s->AccountBalance, 75);
    EXPECT_EQ(s->MeetingCount, 1);
    EXPECT_EQ(s->MeetingTable(1, 1), 10);
    EXPECT_EQ(s->MeetingTable(1, 2), 3);
    EXPECT_EQ(s->MeetingTable(1, 3), 8);
    for (int k = 1; k <= 12; ++k) EXPECT_EQ(s->RaceFlags(1, k), k % 10) << k;
}

TEST_F(ProgrammeTest, OnlyFileAKeepsTheOtherRows) {
    s->MeetingTable(2, 1) = 7;
    s->MeetingTable(6, 3) = 4;
    s->RaceFlags(2, 1) = 9;
    pat.programme('A', ProgrammeFile{});
    ReadProgramme(*s);
    EXPECT_EQ(s->MeetingCount, 1);
    EXPECT_EQ(s->MeetingTable(2, 1), 7);
    EXPECT_EQ(s->MeetingTable(6, 3), 4);
    EXPECT_EQ(s->RaceFlags(2, 1), 0);  // flags are cleared at every read
}

TEST_F(ProgrammeTest, FilesDToFAreReadButNotCounted) {
    ProgrammeFile p;
    for (char c : {'A', 'B', 'C', 'D'}) {
        p.venue = std::string("0") + static_cast<char>('1' + (c - 'A'));
        p.flags = std::string(12, static_cast<char>('1' + (c - 'A')));
        pat.programme(c, p);
    }
    ReadProgramme(*s);
    EXPECT_EQ(s->MeetingCount, 3);
    EXPECT_EQ(s->MeetingTable(4, 1), 4);
    EXPECT_EQ(s->RaceFlags(4, 12), 4);
    EXPECT_EQ(s->RaceFlags(3, 1), 3);
}

TEST_F(ProgrammeTest, ZeroSerialReadsNoFlagsForAnyFile) {
    ProgrammeFile p;
    p.serial = "0000";
    pat.programme('A', p);
    pat.programme('B', p);
    ReadProgramme(*s);
    EXPECT_EQ(s->ProgrammeSerial, 0);
    for (int r = 1; r <= 6; ++r)
        for (int k = 1; k <= 12; ++k) EXPECT_EQ(s->RaceFlags(r, k), 0);
}

TEST_F(ProgrammeTest, ShortFilesGiveBlankFlags) {
    ProgrammeFile p;
    p.width = 600;
    pat.programme('A', p);
    ReadProgramme(*s);
    EXPECT_EQ(s->RaceFlags(1, 12), 1);
    p.width = 500;
    pat.programme('A', p);
    ReadProgramme(*s);
    EXPECT_EQ(s->RaceFlags(1, 1), 0);
}

TEST_F(ProgrammeTest, MissingFileAIsErrorOne) {
    s->MeetingTable(1, 1) = 5;
    s->RaceFlags(1, 1) = 1;
    ReadProgramme(*s);
    EXPECT_EQ(s->ErrorCode, 1);
    EXPECT_EQ(s->MeetingCount, 0);
    EXPECT_EQ(s->MeetingTable(1, 1), 5);
    EXPECT_EQ(s->RaceFlags(1, 1), 0);
}

TEST_F(ProgrammeTest, BadMeetingCodeFailsAndKeepsTheLastGoodRead) {
    pat.programme('A', ProgrammeFile{});
    ReadProgramme(*s);
    ProgrammeFile bad;
    bad.date = "20010505";
    bad.venue = "0x";
    pat.programme('A', bad);
    EXPECT_EQ(failure(), kErrTypeMismatch);
    EXPECT_EQ(s->RaceDate.view(), u"20010504");
    EXPECT_EQ(s->MeetingTable(1, 1), 5);
    // A file too short to reach the codes fails the same way.
    ProgrammeFile shortFile;
    shortFile.width = 50;
    pat.programme('B', ProgrammeFile{});
    pat.programme('A', shortFile);
    EXPECT_EQ(failure(), kErrTypeMismatch);
    pat.writeBytes("UY-A.JRA", "");
    EXPECT_EQ(failure(), kErrInvalidCall);
    EXPECT_EQ(s->MeetingCount, 1);
    // Cut inside the last code: "0" of "08" would read as meeting 0.
    shortFile.width = 67;
    pat.programme('A', shortFile);
    EXPECT_EQ(failure(), kErrTypeMismatch);
    shortFile.width = 68;
    pat.programme('A', shortFile);
    EXPECT_EQ(failure(), 0);
}

TEST_F(ProgrammeTest, BalanceBeyond32BitsIsOverflow) {
    ProgrammeFile p;
    p.amounts[0] = 99999999;
    p.amounts[2] = 99999999;
    p.amounts[3] = 99999999;
    pat.programme('A', p);
    EXPECT_EQ(failure(), 0);  // 299999997 fits
    EXPECT_EQ(s->AccountBalance, 299999997);
}

TEST_F(ProgrammeTest, DoubleByteTextCountsAsCharacters) {
    // A programme whose header holds Japanese text: positions count characters.
    auto line = Pat98Dir::programmeLine(ProgrammeFile{});
    line.at(13, "東京都");
    pat.writeText("UY-A.JRA", line);
    // Three characters of two bytes each: reading (length - 2) characters runs
    // past the end even with the line end.
    EXPECT_EQ(failure(), kErrPastEnd);
}

TEST(FolderRedirect, SeedFileSetsTheFolder) {
    TempDir t;
    Pat98Dir d(t.path());
    const std::string data = t.path() + "/data";
    std::filesystem::create_directory(data);
    Pat98Dir(data).programme('A', ProgrammeFile{});
    auto s = std::make_unique<AppState>();
    s->HomeFolder = t.path();
    s->Pat98Folder = "/elsewhere";
    ReadFolderRedirect(*s);
    EXPECT_EQ(s->Pat98Folder, t.path());
    d.seed("  " + data + " ");
    ReadFolderRedirect(*s);
    EXPECT_EQ(s->Pat98Folder, data);
#ifndef _WIN32  // two names differing only in case cannot both exist on Windows
    d.writeBytes("ZUBRICA.TXT", "x");  // a folder "x" that is not there
    d.remove("zubrica.txt");
    ReadFolderRedirect(*s);
    EXPECT_EQ(s->Pat98Folder, data);
    d.remove("ZUBRICA.TXT");
#endif
    d.writeBytes("zubrica.txt", "   \r\n");
    ReadFolderRedirect(*s);
    EXPECT_EQ(s->Pat98Folder, t.path());
}

// A seed is taken only when its folder holds the programme; otherwise a
// message names the folder and the one in use stays.
TEST(FolderRedirect, OnlyToAFolderWithTheProgramme) {
    TempDir t;
    for (const char* sub : {"/pat", "/empty"}) std::filesystem::create_directory(t.path() + sub);
    Pat98Dir(t.path() + "/pat").programme('A', ProgrammeFile{});
    Pat98Dir(t.path()).writeBytes("afile", "x");
    const std::pair<std::string, std::string> cases[] = {
        // the seed after the scratch folder, the folder taken or the message's first line
        {"/pat\n", "/pat"},
        {"/pat", "/pat"},
        {"/pat\r\n/empty\r\n", "/pat"},
        {"/gone\r\n", "zubrica.txt のフォルダがありません。"},
        {"/afile\n", "zubrica.txt の指すものはフォルダではありません。"},
        {"/empty", "zubrica.txt のフォルダに投票要項 (UY-A.JRA) がありません。"}};
    for (const auto& [seed, result] : cases) {
        fixture::RecordingSink sink;
        auto s = std::make_unique<AppState>();
        s->HomeFolder = t.path();
        s->Pat98Folder = "/in use";
        s->Messages = &sink;
        Pat98Dir(t.path()).writeBytes("zubrica.txt", t.path() + seed);
        ReadFolderRedirect(*s);
        const bool taken = result[0] == '/';
        const std::string named = t.path() + seed.substr(0, seed.find_first_of("\r\n"));
        EXPECT_EQ(s->Pat98Folder, taken ? t.path() + result : "/in use");
        EXPECT_EQ(sink.messages.empty() ? "" : sink.messages[0].text,
                  taken ? "" : result + "\n" + named + "\n/in use から読みます。");
    }
}

}  // namespace
}  // namespace zb
