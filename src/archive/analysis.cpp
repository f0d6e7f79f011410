#include "archive/analysis.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <map>
#include <tuple>

#include "accounting/passbook_history.h"
#include "archive/sqlite_db.h"
#include "platform/file_lookup.h"
#include "platform/replace_file.h"
#include "startup/settings.h"

namespace zb {

namespace {

constexpr std::array<const char*, 7> kOddsBands = {"1.0-1.9",   "2.0-4.9",   "5.0-9.9", "10.0-19.9",
                                                   "20.0-49.9", "50.0-99.9", "100.0-"};
constexpr std::array<const char*, 6> kPopularityBands = {"1", "2", "3", "4-5", "6-9", "10-"};
constexpr std::array<const char*, 5> kStakeBands = {"100", "200-500", "600-1000", "1100-5000",
                                                    "5100-"};
constexpr int64_t kUnknown = INT64_MAX;  // bets without odds or popularity: last

int64_t OddsBand(int64_t tenths) {
    constexpr std::array<int64_t, 6> upper = {20, 50, 100, 200, 500, 1000};
    return std::upper_bound(upper.begin(), upper.end(), tenths) - upper.begin();
}

int64_t PopularityBand(int64_t p) {
    return p <= 3 ? std::max<int64_t>(p, 1) - 1 : p <= 5 ? 3 : p <= 9 ? 4 : 5;
}

int64_t StakeBand(int64_t yen) {
    return yen <= 100 ? 0 : yen <= 500 ? 1 : yen <= 1000 ? 2 : yen <= 5000 ? 3 : 4;
}

std::string TwoDigit(int64_t n) {
    return (n < 10 ? "0" : "") + std::to_string(n);
}

std::string Label(AnalysisKey key, int64_t g) {
    if (g == kUnknown) return "不明";
    switch (key) {
        case AnalysisKey::kType:
            return BetTypeName(static_cast<int>(g));
        case AnalysisKey::kVenue:
            return VenueName(static_cast<int>(g));
        case AnalysisKey::kMonth:
            return std::to_string(g / 100) + "-" + TwoDigit(g % 100);
        case AnalysisKey::kOdds:
            return kOddsBands.at(static_cast<std::size_t>(g));
        case AnalysisKey::kPopularity:
            return kPopularityBands.at(static_cast<std::size_t>(g));
        case AnalysisKey::kStake:
            return kStakeBands.at(static_cast<std::size_t>(g));
        default:
            return std::to_string(g);
    }
}

const char* KeyColumn(AnalysisKey key) {
    switch (key) {
        case AnalysisKey::kType:
            return "bet_type";
        case AnalysisKey::kVenue:
            return "venue";
        case AnalysisKey::kRace:
            return "race";
        case AnalysisKey::kYear:
        case AnalysisKey::kMonth:
            return "race_date";
        case AnalysisKey::kOdds:
            return "odds";
        case AnalysisKey::kPopularity:
            return "popularity";
        case AnalysisKey::kStake:
        default:
            return "stake";
    }
}

int64_t Group(AnalysisKey key, int64_t v) {
    switch (key) {
        case AnalysisKey::kYear:
            return v / 10000;
        case AnalysisKey::kMonth:
            return v / 100;
        case AnalysisKey::kOdds:
            return OddsBand(v);
        case AnalysisKey::kPopularity:
            return PopularityBand(v);
        case AnalysisKey::kStake:
            return StakeBand(v);
        default:
            return v;
    }
}

// "1,3" of the set bits: codes are numbers, so the list is safe in the SQL.
std::string InList(uint32_t bits) {
    std::string t;
    for (int n = 0; n < 32; ++n)
        if (bits & (uint32_t{1} << n)) t += (t.empty() ? "" : ",") + std::to_string(n);
    return t;
}

std::string Csv(std::initializer_list<std::string> fields) {
    std::string t;
    for (const std::string& f : fields) t += (t.empty() ? "" : ",") + f;
    return t + "\r\n";
}

}  // namespace

std::optional<AnalysisKey> ParseAnalysisKey(std::string_view name) {
    static constexpr std::array<std::pair<std::string_view, AnalysisKey>, 8> kKeys = {{
        {"type", AnalysisKey::kType},
        {"venue", AnalysisKey::kVenue},
        {"race", AnalysisKey::kRace},
        {"year", AnalysisKey::kYear},
        {"month", AnalysisKey::kMonth},
        {"odds", AnalysisKey::kOdds},
        {"popularity", AnalysisKey::kPopularity},
        {"stake", AnalysisKey::kStake},
    }};
    for (const auto& [n, k] : kKeys)
        if (n == name) return k;
    return std::nullopt;
}

std::vector<AnalysisRow> Analyse(const std::string& path, AnalysisKey key,
                                 const AnalysisFilter& filter) {
    std::map<int64_t, AnalysisRow> groups;
    AnalysisRow total;
    total.label = "計";
    if (FileExists(path)) {
        Database db(path, Database::Mode::kReadOnly, kArchiveBusyMillis);
        if (db.scalar("PRAGMA user_version") >= 1) {
            std::string sql = std::string("SELECT ") + KeyColumn(key) +
                              ", stake, result, payout FROM bets WHERE id BETWEEN ?1 AND ?2";
            if (filter.types) sql += " AND bet_type IN (" + InList(filter.types) + ")";
            if (filter.venues) sql += " AND venue IN (" + InList(filter.venues) + ")";
            Statement st = db.prepare(sql.c_str());
            st.bind(1, int64_t{filter.from} * 10000).bind(2, int64_t{filter.to} * 10000 + 9999);
            // Rows come in date order, so a run of one group is the rule.
            auto last = groups.end();
            while (st.step()) {
                const int64_t g = st.isNull(0) ? kUnknown : Group(key, st.integer(0));
                if (last == groups.end() || last->first != g) last = groups.try_emplace(g).first;
                AnalysisRow& r = last->second;
                const int64_t stake = st.integer(1), payout = st.integer(3);
                const bool hit = st.integer(2) == 1;
                r.bets += 1;
                r.hits += hit;
                r.stake += stake;
                r.payout += payout;
            }
        }
    }
    std::vector<AnalysisRow> rows;
    rows.reserve(groups.size() + 1);
    for (auto& [g, r] : groups) {
        r.label = Label(key, g);
        total.bets += r.bets;
        total.hits += r.hits;
        total.stake += r.stake;
        total.payout += r.payout;
        rows.push_back(std::move(r));
    }
    rows.push_back(std::move(total));
    return rows;
}

std::vector<std::string> AnalysisCells(const AnalysisRow& r) {
    return {r.label,
            std::to_string(r.bets),
            std::to_string(r.hits),
            ReturnRateText(r.bets, r.hits),
            std::to_string(r.stake),
            std::to_string(r.payout),
            std::to_string(r.payout - r.stake),
            ReturnRateText(r.stake, r.payout)};
}

std::optional<int64_t> ReturnTenths(const AnalysisRow& r) {
    if (r.stake <= 0) return std::nullopt;
    return r.payout * 1000 / r.stake;
}

void SortAnalysisRows(std::vector<AnalysisRow>& rows, int column, bool descending) {
    if (rows.size() < 2) return;
    auto value = [column](const AnalysisRow& r) -> int64_t {
        switch (column) {
            case 1:
                return r.bets;
            case 2:
                return r.hits;
            case 3:
                return r.bets ? r.hits * 1000 / r.bets : -1;
            case 4:
                return r.stake;
            case 5:
                return r.payout;
            case 6:
                return r.payout - r.stake;
            case 7:
                return ReturnTenths(r).value_or(-1);
            default:
                return 0;
        }
    };
    std::stable_sort(rows.begin(), rows.end() - 1, [&](const AnalysisRow& a, const AnalysisRow& b) {
        if (column == 0) return descending ? b.label < a.label : a.label < b.label;
        return descending ? value(b) < value(a) : value(a) < value(b);
    });
}

int32_t ArchiveFirstDate(const std::string& path) {
    if (!FileExists(path)) return 0;
    Database db(path, Database::Mode::kReadOnly, kArchiveBusyMillis);
    if (db.scalar("PRAGMA user_version") < 1) return 0;
    return static_cast<int32_t>(db.scalar("SELECT min(id) / 10000 FROM bets"));
}

void SaveAnalysisCsv(const AppState& s, const std::string& path,
                     const std::vector<AnalysisRow>& rows) {
    const std::string target = FindFile(path).value_or(path);
    std::string name = std::filesystem::path(target).filename().string();
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const bool pat98 =
        name == "PAT98.EXE" || (name.size() > 4 && name.compare(name.size() - 4, 4, ".JRA") == 0);
    bool own = false;
    for (const std::string& f :
         {JoinPath(s.HomeFolder, "\\Korvane.txt"), JoinPath(s.HomeFolder, "\\Korvane.db"),
          JoinPath(s.Pat98Folder, "\\Zubrica98.lock"), SettingsPath(s)})
        own = own || SameFile(target, f);
    if (pat98 || own) throw FileFailure(kErrPermission, path);
    ReplaceFile(path, "\xEF\xBB\xBF" + AnalysisCsv(rows));
}

std::string AnalysisCsv(const std::vector<AnalysisRow>& rows) {
    std::string t = "区分,点数,的中,的中率,投票,払戻,損益,回収率\r\n";
    for (const AnalysisRow& r : rows) {
        std::string line;
        for (const std::string& c : AnalysisCells(r)) line += (line.empty() ? "" : ",") + c;
        t += line + "\r\n";
    }
    return t;
}

std::string BetsCsv(std::vector<ArchivedBet> bets) {
    std::stable_sort(bets.begin(), bets.end(), [](const ArchivedBet& a, const ArchivedBet& b) {
        return std::tie(a.date, a.venue, a.race, a.type, a.first, a.second) <
               std::tie(b.date, b.venue, b.race, b.type, b.first, b.second);
    });
    std::string t = "日付,場,R,券種,組番,金額,結果,払戻,オッズ,人気\r\n";
    for (const ArchivedBet& b : bets) {
        const std::string date = std::to_string(b.date / 10000) + "-" +
                                 TwoDigit(b.date / 100 % 100) + "-" + TwoDigit(b.date % 100);
        const std::string numbers = b.type == 1 || b.type == 2
                                        ? std::to_string(b.second)
                                        : std::to_string(b.first) + "-" + std::to_string(b.second);
        const char* result = b.result == 1 ? "的中" : b.result == 3 ? "返還" : "不的中";
        const std::string odds =
            b.odds ? std::to_string(*b.odds / 10) + "." + std::to_string(*b.odds % 10) : "";
        t += Csv({date, VenueName(b.venue), std::to_string(b.race), BetTypeName(b.type), numbers,
                  std::to_string(b.stake), result, std::to_string(b.payout), odds,
                  b.popularity ? std::to_string(*b.popularity) : ""});
    }
    return t;
}

std::optional<int32_t> ParseIsoDate(std::string_view t) {
    if (t.size() != 10 || t[4] != '-' || t[7] != '-') return std::nullopt;
    int32_t v = 0;
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (i == 4 || i == 7) continue;
        if (t[i] < '0' || t[i] > '9') return std::nullopt;
        v = v * 10 + (t[i] - '0');
    }
    using namespace std::chrono;
    const year_month_day d{year{v / 10000}, month{static_cast<unsigned>(v / 100 % 100)},
                           day{static_cast<unsigned>(v % 100)}};
    if (!d.ok() || v < 10000101) return std::nullopt;
    return v;
}

std::optional<uint32_t> ParseCodeList(std::string_view t, int hi) {
    uint32_t bits = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = std::min(t.find(',', start), t.size());
        const std::string_view n = t.substr(start, comma - start);
        if (n.empty() || n.size() > 2) return std::nullopt;
        int v = 0;
        for (char c : n) {
            if (c < '0' || c > '9') return std::nullopt;
            v = v * 10 + (c - '0');
        }
        if (v < 1 || v > hi) return std::nullopt;
        bits |= uint32_t{1} << v;
        if (comma == t.size()) return bits;
        start = comma + 1;
    }
}

}  // namespace zb
