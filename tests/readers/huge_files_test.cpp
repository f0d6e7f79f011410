// A PAT98 file far longer than its layout reads as its layout: the same
// figures as the file of its proper length, and nothing past the bytes the
// layout can use is read (a 64 GiB file would not fit in memory).

#include <gtest/gtest.h>

#ifdef _WIN32
TEST(HugeFiles, ReadAsTheirLayout) {
    GTEST_SKIP() << "sparse files by truncate are POSIX";
}
#else
#include <unistd.h>

#include "fixtures/case_name.h"
#include "fixtures/loaded_day.h"
#include "program/startup.h"
#include "readers/readers.h"

namespace zb {
namespace {

using namespace fixture;

constexpr off_t kHuge = off_t{64} << 30;

struct Family {
    const char* name;
    const char* file;  // "ZO-" and "UO-" take the race stem
};

const Family kFamilies[] = {
    {"Programme", "UY-A.JRA"},      {"Result", "KS-56521.JRA"},  {"WinPayouts", "TH-5652.JRA"},
    {"WidePayouts", "KH-5652.JRA"}, {"LogIndex", "LG-FILE.JRA"}, {"Purchase", "P0001.JRA"},
    {"WinPlaceOdds", "ZO-"},        {"QuinellaOdds", "UO-"},
};

// What the day shows: the figures and the odds of race 3.
std::string Figures(LoadedDay& d) {
    EXPECT_TRUE(RefreshData(*d.s)) << d.titles();
    ReadWinPlaceOdds(*d.s, d.tmp.path() + "/ZO-" + RaceStem({5, 5, 2}, 3, false) + ".JRA");
    ReadQuinellaOdds(*d.s, d.tmp.path() + "/UO-" + RaceStem({5, 5, 2}, 3, false) + ".JRA");
    const AppState& s = *d.s;
    std::string f = std::to_string(s.MeetingCount) + " " + std::to_string(s.AccountBalance) + " " +
                    std::to_string(s.BetCount) + " " + std::to_string(s.StakeTotal) + " " +
                    std::to_string(s.PayoutCount) + " " + std::to_string(s.PayoutTotal) + " " +
                    std::to_string(s.OpenStake) + " " + std::to_string(s.RunnerCount);
    return f + U16ToUtf8(s.WinOdds(4)) + U16ToUtf8(s.QuinellaOdds(17, 18)) + d.titles();
}

struct HugeFiles : ::testing::TestWithParam<Family> {};

TEST_P(HugeFiles, ReadAsTheirLayout) {
    LoadedDay d;
    d.load(SmallSettledDay());
    const std::string proper = Figures(d);
    std::string file = GetParam().file;
    if (file.size() == 3) file += RaceStem({5, 5, 2}, 3, false) + ".JRA";
    // The rest of the file is a hole of zero bytes, which costs no disk.
    ASSERT_EQ(::truncate(d.dir.file(file).c_str(), kHuge), 0);
    EXPECT_EQ(Figures(d), proper);
}

INSTANTIATE_TEST_SUITE_P(Families, HugeFiles, ::testing::ValuesIn(kFamilies), CaseName<Family>);

// "../" components up to the seed's bound of 64 KiB, line end included.
std::string DotsTo(std::size_t bytes, const std::string& folder) {
    std::string path;
    while (path.size() + 3 + folder.size() + 2 <= bytes) path += "../";
    return path + folder.substr(1);
}

TEST(LongSeed, UpToTheBoundIsTaken) {
    LoadedDay d;
    d.load(SmallSettledDay());
    TempDir home;
    const std::string path = DotsTo(65536, d.tmp.path());
    ASSERT_GT(path.size(), 65530u);
    Pat98Dir(home.path()).seed(path);
    d.s->HomeFolder = home.path();
    EXPECT_TRUE(RefreshData(*d.s));
    // Longer than the system opens: no such folder, reported, and the folder
    // in use stays with its programme.
    EXPECT_EQ(d.s->Pat98Folder, d.tmp.path());
    EXPECT_EQ(d.s->RaceDate.view(), u"20261206");
    EXPECT_EQ(d.titles(), "Zubrica98\n");
    EXPECT_NE(d.sink.messages.at(0).text.find("\n" + path + "\n"), std::string::npos);
}

TEST(LongSeed, BeyondTheBoundIsAFailureAndKeepsTheFolder) {
    LoadedDay d;
    d.load(SmallSettledDay());
    TempDir home;
    Pat98Dir(home.path()).seed(DotsTo(300000, d.tmp.path()));
    d.s->HomeFolder = home.path();
    d.s->CurrentProc = "Blog";
    EXPECT_FALSE(RefreshData(*d.s));
    EXPECT_EQ(d.titles(), "Blog  75\n");
    EXPECT_TRUE(d.s->LastPassFailed);
    EXPECT_EQ(d.s->Pat98Folder, d.tmp.path());
    Pat98Dir(home.path()).seed(d.tmp.path());
    EXPECT_TRUE(RefreshData(*d.s));
    EXPECT_FALSE(d.s->LastPassFailed);
}

}  // namespace
}  // namespace zb
#endif
