#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "readers/readers.h"

namespace zb {
namespace {

// The packed-key sort against std::sort on random records: few letters so
// that keys tie and whole records repeat (one letter: only the short last key
// decides), bytes on both sides of 0x80 and up to 0xFF where the packing is at
// its edge, and characters of 0x100 and over, in the 8-character keys or in
// the last one, that take the plain path.
TEST(SortRecords, OrdersAsStdSortOnRandomRecords) {
    struct Case {
        std::u16string_view letters;  // of the first 24 characters
        std::u16string_view tail;     // of the last 3
        std::size_t count;
    };
    const Case cases[] = {{u"01", u"01", 0},
                          {u"01", u"01", 1},
                          {u"01", u"01", 2},
                          {u"01", u"01", 1000},
                          {u" 09AZ", u" 09AZ", 777},
                          {u"\u007F\u0080\u00FE\u00FF", u"\u0080\u00FF", 500},
                          {u"0", u"\u007F\u0080\u00FF", 300},
                          {u"0\u0100", u"0", 300},
                          {u"0", u"0\u0100", 300},
                          {u"0\uFF11", u"0\uFF11", 300}};
    std::mt19937 random(20261209);
    for (const Case& c : cases) {
        std::vector<BetRecord> records;
        for (std::size_t i = 0; i < c.count; ++i) {
            if (i > 0 && random() % 4 == 0) {
                records.push_back(records[random() % i]);
                continue;
            }
            std::u16string text;
            for (int k = 0; k < kBetRecordLength; ++k) {
                const std::u16string_view from = k < 24 ? c.letters : c.tail;
                text += from[random() % from.size()];
            }
            records.emplace_back(text);
        }
        std::vector<BetRecord> expected = records;
        std::sort(expected.begin(), expected.end());
        SortRecords(records.data(), records.size());
        EXPECT_TRUE(records == expected) << c.count << " records";
    }
}

}  // namespace
}  // namespace zb
