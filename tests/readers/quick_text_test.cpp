#include "readers/quick_text.h"

#include <gtest/gtest.h>

#include <string>

#include "fixtures/case_name.h"
#include "platform/sjis.h"
#include "readers/packed_text.h"

namespace zb {
namespace {

// Every byte value at every place of an eight-byte word and of the tail:
// the quick path decodes exactly as the code page does, or leaves the text
// to it.
TEST(QuickDecode, EveryByteAtEveryPlaceAsTheCodePage) {
    for (int b = 0; b < 256; ++b) {
        for (std::size_t at = 0; at < 11; ++at) {
            std::string bytes(11, 'A');
            bytes[at] = static_cast<char>(b);
            SCOPED_TRACE(testing::Message() << "byte " << b << " at " << at);
            const bool plain = IsPlainSjisByte(static_cast<unsigned char>(b));
            EXPECT_EQ(IsPlainAscii(bytes), plain);
            EXPECT_EQ(QuickDecodeSjis(bytes), DecodeSjis(bytes));
        }
    }
}

struct PackCase {
    const char* name;
    std::u16string a, b;
};

class Pack : public ::testing::TestWithParam<PackCase> {};

// Eight characters take the word-wide path, fewer the one by one: both
// order keys as the texts order.
TEST_P(Pack, KeysOrderAsTheTexts) {
    const PackCase& c = GetParam();
    ASSERT_EQ(c.a.size(), c.b.size());
    uint64_t ka = 0, kb = 0;
    ASSERT_TRUE(PackText(c.a.data(), c.a.size(), ka));
    ASSERT_TRUE(PackText(c.b.data(), c.b.size(), kb));
    EXPECT_EQ(ka < kb, c.a < c.b);
    EXPECT_EQ(ka == kb, c.a == c.b);
}

INSTANTIATE_TEST_SUITE_P(
    Quick, Pack,
    ::testing::Values(PackCase{"LastOfEight", u"10512301", u"10512302"},
                      PackCase{"FirstOfEight", u"20000000", u"19999999"},
                      PackCase{"FifthOfEight", u"1234 678", u"12340678"},
                      PackCase{"HighLatin", u"\u00FF0000000", u"\u00800000000"},
                      PackCase{"Equal", u"3051", u"3051"}, PackCase{"Three", u"0A1", u"0A0"},
                      PackCase{"BlankBeforeDigit", u"  1", u"0  "}),
    fixture::CaseName<PackCase>);

TEST(Pack, CharactersFromU0100AreRefused) {
    uint64_t k = 0;
    const std::u16string eight = u"1234567\uFF9F";
    EXPECT_FALSE(PackText(eight.data(), 8, k));
    const std::u16string three = u"\u0100ab";
    EXPECT_FALSE(PackText(three.data(), 3, k));
}

}  // namespace
}  // namespace zb
