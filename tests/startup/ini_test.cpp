#include "startup/ini.h"

#include <gtest/gtest.h>

#include "fixtures/pat98_writer.h"

namespace zb {
namespace {

using fixture::ReadAll;
using fixture::TempDir;

TEST(Ini, ReadsSectionsAndKeysWithoutRegardToCase) {
    auto doc = IniDocument::Parse("[option]\r\n  bar = 0 \r\n[WINDOW]\r\nTop5=\"12\"\r\n");
    EXPECT_EQ(doc.get("OPTION", "Bar"), "0");
    EXPECT_EQ(doc.get("Window", "TOP5"), "12");
    EXPECT_EQ(doc.get("WINDOW", "Bar"), std::nullopt);
    EXPECT_EQ(doc.get("NONE", "Bar"), std::nullopt);
}

TEST(Ini, MissingFileSectionOrKeyReadsEmpty) {
    TempDir t;
    std::string p = t.path() + "/Zubrica98.ini";
    EXPECT_EQ(IniGet(p, "OPTION", "Bar"), "");
    fixture::Pat98Dir(t.path()).writeBytes("Zubrica98.ini", "[OPTION]\r\nPos=1\r\n");
    EXPECT_EQ(IniGet(p, "OPTION", "Bar"), "");
    EXPECT_EQ(IniGet(p, "WINDOW", "Pos"), "");
    EXPECT_EQ(IniGet(p, "OPTION", "Pos"), "1");
}

TEST(Ini, LongValuesAreCutTo254Characters) {
    TempDir t;
    std::string p = t.path() + "/x.ini";
    fixture::Pat98Dir(t.path()).writeBytes("x.ini", "[A]\r\nK=" + std::string(300, '7') + "\r\n");
    EXPECT_EQ(IniGet(p, "A", "K"), std::string(254, '7'));
}

TEST(Ini, PutCreatesFileSectionAndKey) {
    TempDir t;
    std::string p = t.path() + "/new.ini";
    EXPECT_TRUE(IniPut(p, "OPTION", "Pos", "1"));
    EXPECT_TRUE(IniPut(p, "WINDOW", "Top0", "-5"));
    EXPECT_TRUE(IniPut(p, "OPTION", "Bar", "0"));
    EXPECT_EQ(ReadAll(p), "[OPTION]\r\nPos=1\r\nBar=0\r\n[WINDOW]\r\nTop0=-5\r\n");
}

TEST(Ini, PutKeepsForeignLines) {
    TempDir t;
    std::string p = t.path() + "/keep.ini";
    fixture::Pat98Dir(t.path()).writeBytes(
        "keep.ini", "; my notes\r\n[OPTION]\r\nDebug=1\r\npos=0\r\n\r\n[OTHER]\r\nX=y\r\n");
    EXPECT_TRUE(IniPut(p, "option", "Pos", "1"));
    EXPECT_TRUE(IniPut(p, "OPTION", "Bar", "1"));
    EXPECT_EQ(ReadAll(p),
              "; my notes\r\n[OPTION]\r\nDebug=1\r\nPos=1\r\nBar=1\r\n\r\n[OTHER]\r\nX=y\r\n");
}

TEST(Ini, PutIntoAMissingFolderFailsWithoutThrowing) {
    TempDir t;
    EXPECT_FALSE(IniPut(t.path() + "/none/x.ini", "A", "B", "C"));
}

}  // namespace
}  // namespace zb
