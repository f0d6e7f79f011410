#include "startup/settings.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>

#include "fixtures/pat98_writer.h"
#include "fixtures/recording_sink.h"
#include "startup/ini.h"

namespace zb {
namespace {

using fixture::Pat98Dir;
using fixture::ReadAll;
using fixture::TempDir;

struct SettingsTest : ::testing::Test {
    TempDir dir;
    std::unique_ptr<AppState> s = std::make_unique<AppState>();
    void SetUp() override { s->AppFolder = dir.path() + "\\"; }
    void ini(const std::string& body) { Pat98Dir(dir.path()).writeBytes("Zubrica98.ini", body); }
    std::string saved() { return ReadAll(dir.path() + "/Zubrica98.ini"); }
};

TEST_F(SettingsTest, MissingFileGivesTheDefaults) {
    LoadSettings(*s);
    const Settings& st = s->settings;
    EXPECT_EQ(st.BackClor, 16777215);
    EXPECT_EQ(st.Border, 1);
    EXPECT_EQ(st.Border3D, 0);
    EXPECT_EQ(st.Bold, 1);
    EXPECT_EQ(st.Pos, 0);
    EXPECT_TRUE(st.Bar);
    for (int i = 0; i <= 16; ++i) EXPECT_EQ(st.ForeClor(i), 0);
    for (int i = 0; i <= 5; ++i) EXPECT_EQ(st.Top(i) + st.Left(i), 0);
    EXPECT_EQ(st.Debug, 0);
}

TEST_F(SettingsTest, OddValues) {
    ini("[OPTION]\r\nBar=0\r\nBorder=0\r\n3D=1\r\nBold=0\r\nBackClor=0\r\nForeClor16=255\r\n"
        "ForeClor17=99\r\nPos=1\r\nDebug=2\r\n[WINDOW]\r\nTop3=12.5\r\nLeft3=-100\r\n");
    LoadSettings(*s);
    const Settings& st = s->settings;
    EXPECT_FALSE(st.Bar);
    EXPECT_EQ(st.Border, 1);
    EXPECT_EQ(st.Border3D, 0);
    EXPECT_EQ(st.Bold, 1);
    EXPECT_EQ(st.BackClor, 0);
    EXPECT_EQ(st.ForeClor(16), 255);
    EXPECT_EQ(st.Pos, 1);
    EXPECT_EQ(st.Debug, 2);
    EXPECT_EQ(st.Top(3), 12);  // halves go to even
    EXPECT_EQ(st.Left(3), -100);
}

TEST_F(SettingsTest, BarValues) {
    ini("[OPTION]\r\nBar=\r\n");
    LoadSettings(*s);
    EXPECT_TRUE(s->settings.Bar);
    ini("[OPTION]\r\nBar=abc\r\n");  // not a number: the default
    LoadSettings(*s);
    EXPECT_TRUE(s->settings.Bar);
    ini("[OPTION]\r\nBar=0\r\n");
    LoadSettings(*s);
    EXPECT_FALSE(s->settings.Bar);
    ini("[OPTION]\r\nBar=-1\r\nBackClor=\r\n");
    LoadSettings(*s);
    EXPECT_TRUE(s->settings.Bar);
    EXPECT_EQ(s->settings.BackClor, 16777215);
}

TEST_F(SettingsTest, ValueBeyondItsFieldGivesTheDefault) {
    ini("[OPTION]\r\nPos=40000\r\n");
    LoadSettings(*s);
    EXPECT_EQ(s->settings.Pos, 0);
}

// A value the program cannot use: the key's default, one message naming the
// file and the value, and a save that writes the default (without the mark),
// so the next start is quiet.
TEST_F(SettingsTest, BadValueGivesTheDefaultOnceAndIsSavedSane) {
    const std::pair<std::string, std::string> cases[] = {
        // the file's value, its line after the save
        {"ForeClor3=red", "ForeClor3=0"},
        {"ForeClor3=255", "ForeClor3=255"},
        {"BackClor=16777216", "BackClor=16777215"},
        {"BackClor=-1", "BackClor=16777215"},
        {"Pos=32768", "Pos=0"},
        {"Bar=no", "Bar=1"},
        {"Debug=on", "Debug=0"},
        {"[WINDOW]\r\nTop2=1e9", "Top2=0"},
        {"[WINDOW]\r\nTop2=2147483648", "Top2=0"},
        {"\xEF\xBB\xBF[OPTION]\r\nPos=1", "Pos=1"}};
    for (const auto& [value, line] : cases) {
        fixture::RecordingSink sink;
        s->Messages = &sink;
        ini(value.find('[') == std::string::npos ? "[OPTION]\r\n" + value : value);
        LoadSettings(*s);
        SaveSettings(*s);
        LoadSettings(*s);
        const std::string v = value.substr(value.rfind('\n') + 1);
        EXPECT_EQ(sink.messages.empty() ? "" : sink.messages[0].text,
                  v == line ? ""
                            : "設定ファイルの次の値は使えないため、初期値にしました。\n" +
                                  SettingsPath(*s) + "\n" + v);
        EXPECT_LE(sink.messages.size(), 1u);
        const std::string file = saved();
        EXPECT_NE(file.find("\n" + line + "\r"), std::string::npos) << file;
        EXPECT_EQ(file.find("[OPTION]"), file.rfind("[OPTION]")) << file;
        EXPECT_EQ(file.rfind("[", 0), 0u) << file;
    }
}

TEST_F(SettingsTest, FolderWithOrWithoutTrailingBackslashGivesOnePath) {
    auto a = std::make_unique<AppState>(), b = std::make_unique<AppState>();
    a->AppFolder = "/x/y\\";
    b->AppFolder = "/x/y/";
#ifdef _WIN32
    const std::string expected = "\\x\\y\\Zubrica98.ini";
#else
    const std::string expected = "/x/y/Zubrica98.ini";
#endif
    EXPECT_EQ(SettingsPath(*a), expected);
    EXPECT_EQ(SettingsPath(*b), expected);
}

TEST_F(SettingsTest, SaveWritesEveryKeyInOrderAndKeepsDebug) {
    ini("[OPTION]\r\nDebug=0\r\nBorder=0\r\nMine=7\r\n");
    LoadSettings(*s);
    s->settings.Bar = false;
    s->settings.ForeClor(4) = 255;
    s->settings.Top(5) = -20;
    SaveSettings(*s);
    std::string expect =
        "[OPTION]\r\nDebug=0\r\nBorder=1\r\nMine=7\r\nBackClor=16777215\r\n3D=0\r\nBold=1\r\n"
        "Pos=0\r\nBar=0\r\n";
    for (int i = 0; i <= 16; ++i)
        expect += "ForeClor" + std::to_string(i) + "=" + (i == 4 ? "255" : "0") + "\r\n";
    expect += "[WINDOW]\r\n";
    for (int i = 0; i <= 6; ++i)
        expect += "Top" + std::to_string(i) + "=" + (i == 5 ? "-20" : "0") + "\r\nLeft" +
                  std::to_string(i) + "=0\r\n";
    EXPECT_EQ(saved(), expect);
    // Read back, the same values.
    auto again = std::make_unique<AppState>();
    again->AppFolder = s->AppFolder;
    LoadSettings(*again);
    EXPECT_FALSE(again->settings.Bar);
    EXPECT_EQ(again->settings.ForeClor(4), 255);
    EXPECT_EQ(again->settings.Top(5), -20);
}

TEST_F(SettingsTest, ReadOnlyModeWritesNothing) {
    s->ReadOnly = true;
    LoadSettings(*s);
    SaveSettings(*s);
    EXPECT_FALSE(std::filesystem::exists(dir.path() + "/Zubrica98.ini"));
}

TEST_F(SettingsTest, FailedSaveLeavesTheOldFile) {
    ini("[OPTION]\r\nPos=1\r\n");
    LoadSettings(*s);
    s->AppFolder = dir.path() + "/gone\\";
    SaveSettings(*s);  // ignored
    EXPECT_EQ(saved(), "[OPTION]\r\nPos=1\r\n");
}

}  // namespace
}  // namespace zb
