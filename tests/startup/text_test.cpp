#include "startup/text.h"

#include <gtest/gtest.h>

#include "fixtures/failure_of.h"
#include "platform/run_error.h"

namespace zb {
namespace {

using test::FailureOf;

TEST(Lenient, TakesTheNumberAtTheStart) {
    EXPECT_EQ(LenientI16(u"  12ab"), 12);
    EXPECT_EQ(LenientI16(u"ab12"), 0);
    EXPECT_EQ(LenientI16(u""), 0);
    EXPECT_EQ(LenientI16(u"    "), 0);
    EXPECT_EQ(LenientI32(u"-30 5"), -30);
    EXPECT_EQ(LenientI32(u"00000075"), 75);
    EXPECT_EQ(LenientI16("7x"), 7);
}

TEST(Lenient, RoundsHalvesToEven) {
    EXPECT_EQ(LenientI16(u"2.5"), 2);
    EXPECT_EQ(LenientI16(u"3.5"), 4);
    EXPECT_EQ(LenientI16(u"1.49"), 1);
}

TEST(Lenient, WidthBoundaries) {
    EXPECT_EQ(LenientI16(u"32767"), 32767);
    EXPECT_EQ(LenientI16(u"-32768"), -32768);
    EXPECT_EQ(FailureOf([] { LenientI16(u"32768"); }), kErrOverflow);
    EXPECT_EQ(FailureOf([] { LenientI16(u"-32769"); }), kErrOverflow);
    EXPECT_EQ(LenientI32(u"2147483647"), 2147483647);
    EXPECT_EQ(LenientI32(u"-2147483648"), INT32_MIN);
    EXPECT_EQ(FailureOf([] { LenientI32(u"2147483648"); }), kErrOverflow);
    EXPECT_EQ(FailureOf([] { LenientI32(u"99999999999999999999999"); }), kErrOverflow);
}

TEST(Strict, WholeTextMustBeANumber) {
    EXPECT_EQ(StrictI16(u" 5"), 5);
    EXPECT_EQ(StrictI16(u"05"), 5);
    EXPECT_EQ(StrictI16(u" 12 "), 12);
    EXPECT_EQ(FailureOf([] { StrictI16(u"  "); }), kErrTypeMismatch);
    EXPECT_EQ(FailureOf([] { StrictI16(u""); }), kErrTypeMismatch);
    EXPECT_EQ(FailureOf([] { StrictI16(u"1a"); }), kErrTypeMismatch);
    EXPECT_EQ(FailureOf([] { StrictI16(u"5 1"); }), kErrTypeMismatch);
    EXPECT_EQ(FailureOf([] { StrictI16(u"32768"); }), kErrOverflow);
    EXPECT_EQ(StrictI32(u"-2147483648"), INT32_MIN);
    EXPECT_EQ(FailureOf([] { StrictI32(u"2147483648"); }), kErrOverflow);
}

TEST(Digits, TwoDigitsAndHex) {
    EXPECT_EQ(TwoDigits(5), u"05");
    EXPECT_EQ(TwoDigits(0), u"00");
    EXPECT_EQ(TwoDigits(12), u"12");
    EXPECT_EQ(TwoDigits(123), u"123");
    EXPECT_EQ(Hex(10), u"A");
    EXPECT_EQ(Hex(12), u"C");
    EXPECT_EQ(Hex(9), u"9");
    EXPECT_EQ(Hex(255), u"FF");
}

TEST(Fields, MidCutsAtOneBasedPositions) {
    EXPECT_EQ(Mid(u"abcdef", 2, 3), u"bcd");
    EXPECT_EQ(Mid(u"abcdef", 5, 10), u"ef");
    EXPECT_EQ(Mid(u"abc", 4, 1), u"");
    EXPECT_EQ(Mid(u"abc", 0, 1), u"");
    FixedText<4> f(u"ab");
    EXPECT_EQ(f.view(), u"ab  ");
    f.assign(u"abcdef");
    EXPECT_EQ(f.view(), u"abcd");
    EXPECT_EQ(PadTo(u"xy", 4), u"xy  ");
}

}  // namespace
}  // namespace zb
