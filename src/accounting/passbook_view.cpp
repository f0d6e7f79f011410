#include "accounting/passbook_view.h"

namespace zb {

namespace {

template <typename T>
PassbookRows RowsOf(const T& table) {
    PassbookRows rows;
    for (int r = 0; r < kPassbookRows; ++r)
        rows[static_cast<std::size_t>(r)] = PassbookRowOf(table(r));
    return rows;
}

}  // namespace

bool IsEmptyDay(const PassbookEntry& e) {
    return e.date.view() == u"00000000" || IsBlank(e.date.view());
}

PassbookRow PassbookRowOf(const PassbookEntry& e) {
    PassbookRow row;
    if (IsEmptyDay(e)) return row;
    const std::u16string_view d = e.date.view();
    row.date = std::u16string(d.substr(0, 4)) + u"/" + std::u16string(d.substr(4, 2)) + u"/" +
               std::u16string(d.substr(6, 2));
    row.stake = Dec(e.stake);
    row.payout = Dec(e.payout);
    row.profit = Dec(e.profit);
    row.negative = e.profit < 0;
    row.filled = true;
    row.spoken = SpokenRow(u"日付", row.date, e.stake, e.payout, e.profit);
    return row;
}

std::array<Spoken, 4> SpokenRow(std::u16string_view head, std::u16string_view shown, int64_t stake,
                                int64_t payout, int64_t profit) {
    const std::u16string when = SpokenDate(shown);
    return {Spoken{std::u16string(head), when}, SpokenAmount(when + u" 投票", stake),
            SpokenAmount(when + u" 払戻", payout), SpokenAmount(when + u" 損益", profit)};
}

int32_t PassbookLastPage(const AppState& s) {
    return (static_cast<int64_t>(s.PassbookCount) - 1) / kPassbookRows;
}

PassbookRows PassbookPage(const AppState& s, int32_t page) {
    PassbookRows rows;
    for (int r = 0; r < kPassbookRows; ++r) {
        const int64_t k = static_cast<int64_t>(page) * kPassbookRows + r;
        if (k >= 0 && k < static_cast<int64_t>(s.Passbook.size()))
            rows[static_cast<std::size_t>(r)] =
                PassbookRowOf(s.Passbook[static_cast<std::size_t>(k)]);
    }
    return rows;
}

PassbookRows BestDayRows(const AppState& s) {
    return RowsOf(s.BestDays);
}
PassbookRows WorstDayRows(const AppState& s) {
    return RowsOf(s.WorstDays);
}

std::u16string Grouped(int64_t v) {
    // The magnitude in unsigned arithmetic: no value overflows on negation.
    const uint64_t m = v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
    std::u16string digits;
    for (uint64_t r = m; digits.empty() || r > 0; r /= 10)
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + r % 10));
    std::u16string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += u',';
        out += digits[i];
    }
    return v < 0 ? u"-" + out : out;
}

std::u16string PassbookTotalsText(const AppState& s) {
    return u"投票 " + Grouped(s.PassbookStakeSum) + u"   払戻 " + Grouped(s.PassbookPayoutSum) +
           u"   損益 " + Grouped(s.PassbookProfitSum);
}

std::u16string PassbookTotalsSaid(const AppState& s) {
    return Said(SpokenAmount(u"投票", s.PassbookStakeSum)) + u" " +
           Said(SpokenAmount(u"払戻", s.PassbookPayoutSum)) + u" " +
           Said(SpokenAmount(u"損益", s.PassbookProfitSum));
}

}  // namespace zb
