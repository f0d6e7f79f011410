#pragma once
// What a screen reader says for the figures the windows show: amounts
// without grouping commas, signs as words, units spoken. A window sets the
// name and value on the widget that shows the figure.

#include <cstdint>
#include <string>
#include <string_view>

namespace zb {

struct Spoken {
    std::u16string name;   // what the figure is: "損益", "東京 5R 投票"
    std::u16string value;  // the figure as said: "マイナス 3400円"
    bool operator==(const Spoken&) const = default;
};

// -3400 "マイナス 3400円", 0 "0円", 12000 "12000円".
std::u16string SpokenYen(int64_t yen);
// A profit the window shows with "+": 250 "プラス 250円"; others as SpokenYen.
std::u16string SpokenProfit(int64_t yen);
// Tenths of a percent: 853 "85.3パーセント", 1000 "100パーセント".
std::u16string SpokenRate(int64_t tenths);
// "20261205", "2026/12/05" or "2026-12-05" "2026年12月5日", "2026-01" "2026年1月",
// "2026" "2026年"; any other text as it stands.
std::u16string SpokenDate(std::u16string_view text);

// A caption and an amount: {"損益", "マイナス 3400円"}.
Spoken SpokenAmount(std::u16string_view caption, int64_t yen);
// Name and value in one: "損益 マイナス 3400円".
std::u16string Said(const Spoken& s);

}  // namespace zb
