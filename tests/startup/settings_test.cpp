#include "startup/settings.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>

#include "fixtures/case_name.h"
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

// One value the program cannot use: the key's default, and one message that
// names the file and the value.
struct ValueCase {
    const char* name;
    const char* file;
    long long (*field)(const Settings&);
    long long value;
    const char* reported;  // "" for no message
};

class SettingsValue : public SettingsTest, public ::testing::WithParamInterface<ValueCase> {};

TEST_P(SettingsValue, BadValueGivesTheDefaultAndOneMessage) {
    const ValueCase& c = GetParam();
    fixture::RecordingSink sink;
    s->Messages = &sink;
    ini(c.file);
    LoadSettings(*s);
    EXPECT_EQ(c.field(s->settings), c.value);
    if (*c.reported == '\0') {
        EXPECT_TRUE(sink.messages.empty());
        return;
    }
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].title, "Zubrica98");
    EXPECT_EQ(sink.messages[0].text, "設定ファイルの次の値は使えないため、初期値にしました。\n" +
                                         SettingsPath(*s) + "\n" + c.reported);
}

long long BackClor(const Settings& st) {
    return st.BackClor;
}
long long ForeClor3(const Settings& st) {
    return st.ForeClor(3);
}
long long Top2(const Settings& st) {
    return st.Top(2);
}
long long Left1(const Settings& st) {
    return st.Left(1);
}
long long Pos(const Settings& st) {
    return st.Pos;
}
long long Bar(const Settings& st) {
    return st.Bar;
}
long long Debug(const Settings& st) {
    return st.Debug;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsValue,
    ::testing::Values(
        ValueCase{"ColourWord", "[OPTION]\r\nForeClor3=red\r\n", ForeClor3, 0, "ForeClor3=red"},
        ValueCase{"ColourBlanksAround", "[OPTION]\r\nForeClor3= 255 \r\n", ForeClor3, 255, ""},
        ValueCase{"ColourWhite", "[OPTION]\r\nBackClor=16777215\r\n", BackClor, 16777215, ""},
        ValueCase{"ColourAboveWhite", "[OPTION]\r\nBackClor=16777216\r\n", BackClor, 16777215,
                  "BackClor=16777216"},
        ValueCase{"ColourNegative", "[OPTION]\r\nBackClor=-1\r\n", BackClor, 16777215,
                  "BackClor=-1"},
        ValueCase{"ColourBeyond32Bits", "[OPTION]\r\nBackClor=99999999999\r\n", BackClor, 16777215,
                  "BackClor=99999999999"},
        ValueCase{"ColourShiftJisWord", "[OPTION]\r\nForeClor3=\x90\xd4\r\n", ForeClor3, 0,
                  "ForeClor3=赤"},
        ValueCase{"PositionBeyond32Bits", "[WINDOW]\r\nTop2=2147483648\r\n", Top2, 0,
                  "Top2=2147483648"},
        ValueCase{"PositionLowest", "[WINDOW]\r\nLeft1=-2147483648\r\n", Left1, INT32_MIN, ""},
        ValueCase{"PositionWithUnit", "[WINDOW]\r\nTop2=100px\r\n", Top2, 0, "Top2=100px"},
        ValueCase{"PosBeyond16Bits", "[OPTION]\r\nPos=32768\r\n", Pos, 0, "Pos=32768"},
        ValueCase{"BarWord", "[OPTION]\r\nBar=no\r\n", Bar, 1, "Bar=no"},
        ValueCase{"DebugWord", "[OPTION]\r\nDebug=on\r\n", Debug, 0, "Debug=on"},
        ValueCase{"ByteOrderMark", "\xEF\xBB\xBF[OPTION]\r\nBackClor=255\r\n", BackClor, 255, ""}),
    fixture::CaseName<ValueCase>);

// The message comes once: the save at close writes sane values over the bad
// ones, the mark and the second section included.
TEST_F(SettingsTest, BadValuesAreReportedOnceAndWrittenSaneAtClose) {
    fixture::RecordingSink sink;
    s->Messages = &sink;
    ini("\xEF\xBB\xBF[OPTION]\r\nBackClor=black\r\nDebug=yes\r\nMine=x\r\n"
        "[WINDOW]\r\nTop0=1e99\r\nLeft0=120\r\n");
    LoadSettings(*s);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text.substr(sink.messages[0].text.rfind(".ini\n") + 5),
              "BackClor=black\nTop0=1e99\nDebug=yes");
    SaveSettings(*s);
    const std::string file = saved();
    EXPECT_EQ(file.rfind("[OPTION]\r\nBackClor=16777215\r\nDebug=0\r\nMine=x\r\n", 0), 0u);
    EXPECT_EQ(file.find("[OPTION]", 1), std::string::npos);
    EXPECT_NE(file.find("[WINDOW]\r\nTop0=0\r\nLeft0=120\r\n"), std::string::npos);
    LoadSettings(*s);
    EXPECT_EQ(sink.messages.size(), 1u);
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
    for (int i = 0; i <= 5; ++i)
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
