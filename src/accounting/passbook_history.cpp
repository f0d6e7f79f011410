#include "accounting/passbook_history.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "accounting/passbook.h"
#include "platform/file_lookup.h"
#include "platform/folder_index.h"
#include "platform/replace_file.h"
#include "platform/sjis.h"
#include "startup/checked.h"
#include "startup/settings.h"

namespace zb {

namespace {

std::string DateOf(const PassbookEntry& e) {
    return U16ToUtf8(e.date.view());
}

// yyyymmdd as yyyy-mm-dd.
std::string Dashed(const std::string& d) {
    return d.substr(0, 4) + "-" + d.substr(4, 2) + "-" + d.substr(6, 2);
}

// Floor division: a negative quotient rounds down, as the main window's does.
int64_t FloorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

// Totals over many years pass 32 bits; 64 bits hold them, checked all the same.
void AddDay(PeriodTotal& t, const PassbookEntry& e) {
    t.days = Add<int64_t>(t.days, 1);
    t.stake = Add<int64_t>(t.stake, e.stake);
    t.payout = Add<int64_t>(t.payout, e.payout);
    t.profit = Add<int64_t>(t.profit, e.profit);
}

double Magnitude(int64_t v) {
    return std::abs(static_cast<double>(v));
}

}  // namespace

std::vector<PassbookEntry> HistoryDays(const AppState& s) {
    std::vector<PassbookEntry> days;
    const std::size_t end =
        std::min(s.Passbook.size(), static_cast<std::size_t>(std::max(s.PassbookCount, 0)) + 1);
    days.reserve(end);
    for (std::size_t i = 0; i < end; ++i)
        if (!IsEmptyDay(s.Passbook[i])) days.push_back(s.Passbook[i]);
    std::stable_sort(days.begin(), days.end(), [](const PassbookEntry& a, const PassbookEntry& b) {
        return a.date < b.date;
    });
    return days;
}

std::vector<PeriodTotal> PeriodTotals(const std::vector<PassbookEntry>& days) {
    std::vector<PeriodTotal> out;
    PeriodTotal all{"計", false};
    std::size_t yearAt = 0;
    for (const PassbookEntry& e : days) {
        const std::string d = DateOf(e);
        const std::string year = d.substr(0, 4), month = year + "-" + d.substr(4, 2);
        if (out.empty() || out[yearAt].period != year) {
            yearAt = out.size();
            out.push_back(PeriodTotal{year, true});
        }
        if (out.back().period != month) out.push_back(PeriodTotal{month, false});
        AddDay(out[yearAt], e);
        AddDay(out.back(), e);
        AddDay(all, e);
    }
    out.push_back(all);
    return out;
}

std::string ReturnRateText(int64_t stake, int64_t payout) {
    if (stake == 0) return {};
    int64_t t = FloorDiv(Mul<int64_t>(payout, 1000), stake);
    const std::string sign = t < 0 ? "-" : "";
    if (t < 0) t = -t;
    return sign + std::to_string(t / 10) + "." + std::to_string(t % 10);
}

std::string PassbookCsv(const std::vector<PassbookEntry>& days) {
    std::string t = "日付,投票,払戻,損益\r\n";
    for (const PassbookEntry& e : days)
        t += Dashed(DateOf(e)) + "," + std::to_string(e.stake) + "," + std::to_string(e.payout) +
             "," + std::to_string(e.profit) + "\r\n";
    return t;
}

std::string PassbookTotalsCsv(const std::vector<PeriodTotal>& totals) {
    std::string t = "期間,日数,投票,払戻,損益,回収率\r\n";
    for (const PeriodTotal& p : totals)
        t += p.period + "," + std::to_string(p.days) + "," + std::to_string(p.stake) + "," +
             std::to_string(p.payout) + "," + std::to_string(p.profit) + "," +
             ReturnRateText(p.stake, p.payout) + "\r\n";
    return t;
}

PassbookRow TotalsRowOf(const PeriodTotal& t) {
    PassbookRow r;
    r.date = Utf8ToU16(t.period);
    r.stake = Utf8ToU16(std::to_string(t.stake));
    r.payout = Utf8ToU16(std::to_string(t.payout));
    r.profit = Utf8ToU16(std::to_string(t.profit));
    r.negative = t.profit < 0;
    r.filled = true;
    r.spoken = SpokenRow(u"期間", r.date, t.stake, t.payout, t.profit);
    return r;
}

std::u16string TotalsRowTip(const PeriodTotal& t) {
    std::u16string tip = u"日数 " + Utf8ToU16(std::to_string(t.days));
    const std::string rate = ReturnRateText(t.stake, t.payout);
    if (!rate.empty()) tip += u"   回収率 " + Utf8ToU16(rate) + u"%";
    return tip;
}

namespace {

// The program's own files, their backups and PAT98's data, by name in any
// folder: Windows ignores case and trailing dots and blanks.
bool ReservedName(std::string_view path) {
    std::string name(path.substr(platform::NameStart(path)));
    while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
    for (char& c : name)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    for (std::string_view own : {"korvane.txt", "zubrica98.ini", "zubrica98.lock"})
        if (name == own || name == std::string(own) + ".bak") return true;
    return name.ends_with(".jra");
}

}  // namespace

void SavePassbookCsv(const AppState& s, const std::string& path) {
    const std::string target = FindFile(path).value_or(path);
    const std::string book = PassbookPath(s), settings = SettingsPath(s);
    // Compared as files too: a link, or on Windows a short name, may stand
    // for one of them.
    const std::string own[] = {book, BackupPath(book), settings, BackupPath(settings),
                               JoinPath(s.Pat98Folder, "\\Zubrica98.lock")};
    bool refused = ReservedName(path) || ReservedName(target);
    for (const std::string& p : own) refused = refused || SameFile(target, FindFile(p).value_or(p));
    if (refused) throw FileFailure(kErrPermission, path);
    ReplaceFile(path, "\xEF\xBB\xBF" + PassbookCsv(HistoryDays(s)));
}

std::vector<int64_t> RunningProfit(const std::vector<PassbookEntry>& days) {
    std::vector<int64_t> out;
    out.reserve(days.size());
    int64_t sum = 0;
    for (const PassbookEntry& e : days) out.push_back(sum = Add<int64_t>(sum, e.profit));
    return out;
}

std::u16string ChartSaid(const std::vector<PassbookEntry>& days) {
    if (days.empty()) return u"記録はありません";
    const std::vector<int64_t> running = RunningProfit(days);
    const auto [low, high] = std::minmax_element(running.begin(), running.end());
    return SpokenDate(days.front().date.view()) + u"から" + SpokenDate(days.back().date.view()) +
           u"まで " + Utf8ToU16(std::to_string(days.size())) + u"日 累計 " +
           SpokenYen(running.back()) + u" 最高 " + SpokenYen(*high) + u" 最低 " + SpokenYen(*low);
}

double ChartScale::at(int64_t v) const {
    auto f = [&](int64_t x) {
        if (unit <= 0) return static_cast<double>(x);
        const double m = std::log10(1 + Magnitude(x) / unit);
        return x < 0 ? -m : m;
    };
    const double span = f(high) - f(low);
    return span <= 0 ? 0.5 : (f(v) - f(low)) / span;
}

ChartScale ChartScaleOf(const std::vector<PassbookEntry>& days) {
    ChartScale scale;
    for (int64_t r : RunningProfit(days)) {
        scale.low = std::min(scale.low, r);
        scale.high = std::max(scale.high, r);
    }
    if (days.size() < 2) return scale;
    std::vector<double> sizes;
    sizes.reserve(days.size());
    for (const PassbookEntry& e : days) sizes.push_back(Magnitude(e.profit));
    std::sort(sizes.begin(), sizes.end());
    // The usual day: nine days in ten are no bigger. One twenty times that
    // would flatten the rest into a line. The logarithm starts at a tenth of
    // it, so that a usual day keeps a good part of the height.
    const double usual = std::max(sizes[(sizes.size() - 1) * 9 / 10], 10.0);
    if (sizes.back() > 20 * usual) scale.unit = usual / 10;
    return scale;
}

std::vector<int64_t> ChartMarks(const ChartScale& scale) {
    std::vector<int64_t> marks{0};
    if (scale.high != 0) marks.push_back(scale.high);
    if (scale.low != 0) marks.push_back(scale.low);
    if (scale.unit <= 0) return marks;
    // Big to small, so that the steps the eye needs come first.
    for (int64_t p = 1'000'000'000'000'000'000; p >= 10 && static_cast<double>(p) >= scale.unit;
         p /= 10) {
        if (p < scale.high) marks.push_back(p);
        if (-p > scale.low) marks.push_back(-p);
    }
    return marks;
}

std::vector<std::size_t> ChartDays(std::size_t dayCount, int width) {
    std::vector<std::size_t> out;
    if (dayCount == 0 || width <= 0) return out;
    const std::size_t columns = static_cast<std::size_t>(width);
    if (dayCount <= columns) {
        for (std::size_t i = 0; i < dayCount; ++i) out.push_back(i);
        return out;
    }
    // Column c holds days [c * n / w, (c + 1) * n / w); its last day stands for it.
    for (std::size_t c = 0; c < columns; ++c) out.push_back((c + 1) * dayCount / columns - 1);
    return out;
}

}  // namespace zb
