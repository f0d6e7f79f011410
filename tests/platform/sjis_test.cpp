#include "platform/sjis.h"

#include <gtest/gtest.h>

#include "fixtures/case_name.h"

namespace zb {
namespace {

TEST(ShiftJis, DecodesOneUnitPerCharacter) {
    // 投 = 93 8A, half-width ｿ = BF, backslash stays a backslash.
    std::u16string t = DecodeSjis("\x93\x8A\xBF\\A");
    ASSERT_EQ(t.size(), 4u);
    EXPECT_EQ(t[0], u'投');
    EXPECT_EQ(t[1], u'ｿ');
    EXPECT_EQ(t[2], u'\\');
    EXPECT_EQ(t[3], u'A');
}

TEST(ShiftJis, BrokenBytesBecomeReplacementCharacters) {
    std::u16string t = DecodeSjis("A\x93");  // lead byte without its trail
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[1], u'\uFFFD');
    EXPECT_EQ(DecodeSjis("\xFF"
                         "B"),
              u"\uFFFDB");
}

TEST(ShiftJis, EncodesRoundTrip) {
    std::u16string s = u"本ｿﾌﾄ　円％";
    EXPECT_EQ(DecodeSjis(EncodeSjis(s)), s);
    EXPECT_EQ(EncodeSjis(u"円"), "\x89\x7E");
}

// Plain ASCII skips the converter: each unit below 0x80, alone and inside
// a text, encodes as the code page does.
TEST(ShiftJis, EncodesEveryAsciiUnitAsTheCodePage) {
    for (char16_t c = 0; c < 0x80; ++c) {
        const std::u16string alone(1, c), inside = u"AB" + alone + u"9";
        EXPECT_EQ(EncodeSjis(alone), platform::EncodeSjis(alone)) << int(c);
        EXPECT_EQ(EncodeSjis(inside), platform::EncodeSjis(inside)) << int(c);
    }
    EXPECT_EQ(EncodeSjis(u"20261206  4500"), "20261206  4500");
}

struct DecodeCase {
    const char* name;
    std::string bytes;
    std::u16string text;
};

class Decode : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(Decode, OneUnitPerCharacter) {
    EXPECT_EQ(DecodeSjis(GetParam().bytes), GetParam().text);
}

// 0x85 0x40 and 0xEB 0x40 lie in lead-byte rows code page 932 leaves empty.
INSTANTIATE_TEST_SUITE_P(ShiftJis, Decode,
                         ::testing::Values(DecodeCase{"Assigned", "\x93\x8A\xBF\\A~", u"投ｿ\\A~"},
                                           DecodeCase{"UnassignedPair",
                                                      "\x85\x40"
                                                      "05",
                                                      u"\uFFFD05"},
                                           DecodeCase{"UnassignedPairBetweenKanji",
                                                      "\x93\x8A\xEB\x40\x95\x5B", u"投\uFFFD票"},
                                           DecodeCase{"LeadWithBadTrail",
                                                      "\x93\x20"
                                                      "A",
                                                      u"\uFFFDA"},
                                           DecodeCase{"LeadAtTheEnd", "A\x93", u"A\uFFFD"},
                                           DecodeCase{"NoCharacterStartsHere",
                                                      "\xFF"
                                                      "B",
                                                      u"\uFFFDB"},
                                           DecodeCase{"TrailByteIsABackslash",
                                                      "\x83\x5C"
                                                      "1",
                                                      u"ソ1"}),
                         fixture::CaseName<DecodeCase>);

}  // namespace
}  // namespace zb
