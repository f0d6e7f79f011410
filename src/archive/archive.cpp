#include "archive/archive.h"

#include <sqlite3.h>

#include <algorithm>
#include <tuple>

#include "accounting/day_figures.h"
#include "accounting/race_detail.h"
#include "archive/sqlite_db.h"
#include "platform/file_lookup.h"
#include "platform/run_error.h"
#include "platform/sjis.h"
#include "readers/readers.h"

namespace zb {

namespace {

constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS bets ("
    " id INTEGER PRIMARY KEY,"
    " race_date INTEGER NOT NULL,"
    " venue INTEGER NOT NULL,"
    " race INTEGER NOT NULL,"
    " day_kind INTEGER NOT NULL,"
    " bet_type INTEGER NOT NULL,"
    " first INTEGER NOT NULL,"
    " second INTEGER NOT NULL,"
    " stake INTEGER NOT NULL,"
    " result INTEGER NOT NULL,"
    " payout INTEGER NOT NULL,"
    " reference TEXT NOT NULL,"
    " odds INTEGER,"
    " popularity INTEGER)";

// A day's rows have the ids date * 10000 + n: its rows are one range of the
// table's own key, so replacing a day needs no index of its own.
constexpr int64_t kDaySpan = 10000;

int64_t FirstId(int32_t date) {
    return int64_t{date} * kDaySpan;
}

int32_t DateValue(std::u16string_view d) {
    if (d.size() != 8) return 0;
    int32_t v = 0;
    for (char16_t c : d) {
        if (c < u'0' || c > u'9') return 0;
        v = v * 10 + (c - u'0');
    }
    return v;
}

bool InRange(long n, long hi) {
    return n >= 1 && n <= hi;
}

// The bet's own odds text in the tables of its race; empty when its numbers
// lie outside them.
std::u16string BetOddsText(const AppState& o, const ArchivedBet& b) {
    const long a = b.first, h = b.second;
    switch (b.type) {
        case 1:
            return InRange(h, 18) ? o.WinOdds(h) : u"";
        case 2:
            return InRange(h, 18) ? o.PlaceOddsLow(h) : u"";
        case 3:
            return InRange(a, 8) && InRange(h, 8) ? o.BracketOdds(a, h) : u"";
        case 4:
            return InRange(a, 18) && InRange(h, 18) && a != h ? o.QuinellaOdds(a, h) : u"";
        case 5:
            return InRange(a, 18) && InRange(h, 18) && a != h ? o.WideOddsLow(a, h) : u"";
        default:
            return u"";
    }
}

// The odds of every combination of a bet type in the race.
std::vector<int32_t> TypeOdds(const AppState& o, int type) {
    std::vector<int32_t> v;
    auto add = [&v](const std::u16string& t) {
        if (auto x = OddsTenths(t)) v.push_back(*x);
    };
    const int horses = std::clamp<int>(o.RunnerCount, 0, 18);
    switch (type) {
        case 1:
        case 2:
            for (int h = 1; h <= horses; ++h) add(type == 1 ? o.WinOdds(h) : o.PlaceOddsLow(h));
            break;
        case 3:
            for (int a = 1; a <= 8; ++a)
                for (int b = a; b <= 8; ++b) add(o.BracketOdds(a, b));
            break;
        case 4:
        case 5:
            for (int a = 1; a < horses; ++a)
                for (int b = a + 1; b <= horses; ++b)
                    add(type == 4 ? o.QuinellaOdds(a, b) : o.WideOddsLow(a, b));
            break;
        default:
            break;
    }
    return v;
}

void ClearOdds(AppState& o) {
    o.RunnerCount = 0;
    o.WinOdds.cell.fill(u"");
    o.PlaceOddsLow.cell.fill(u"");
    o.PlaceOddsHigh.cell.fill(u"");
    o.BracketOdds.fill(u"");
    o.QuinellaOdds.fill(u"");
    o.WideOddsLow.fill(u"");
    o.WideOddsHigh.fill(u"");
}

// Creates the table in a new file; refuses a schema of a later program.
void EnsureSchema(Database& db) {
    const int64_t version = db.scalar("PRAGMA user_version");
    if (version > kArchiveVersion) throw SqliteError(SQLITE_NOTADB, "archive of a later version");
    if (version < kArchiveVersion) {
        db.exec(kSchema);
        db.exec("PRAGMA user_version = 1");
    }
}

}  // namespace

bool ArchivedBet::sameOutcome(const ArchivedBet& o) const {
    return std::tie(date, venue, race, kind, type, first, second, stake, result, payout,
                    reference) == std::tie(o.date, o.venue, o.race, o.kind, o.type, o.first,
                                           o.second, o.stake, o.result, o.payout, o.reference);
}

std::string ArchivePath(const AppState& s) {
    return JoinPath(s.HomeFolder, "\\Korvane.db");
}

std::optional<int32_t> OddsTenths(std::u16string_view text) {
    const std::u16string_view t = TrimBlanks(text);
    const std::size_t dot = t.find(u'.');
    if (dot == std::u16string_view::npos || dot == 0 || dot + 2 != t.size() || dot > 6)
        return std::nullopt;
    int32_t v = 0;
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (i == dot) continue;
        if (t[i] < u'0' || t[i] > u'9') return std::nullopt;
        v = v * 10 + (t[i] - u'0');
    }
    // "0.0" is a table's reset value: no odds were read.
    if (v == 0) return std::nullopt;
    return v;
}

std::vector<ArchivedBet> DayBets(const AppState& s) {
    std::vector<ArchivedBet> bets;
    const int32_t date = DateValue(s.RaceDate.view());
    if (date == 0) return bets;
    for (int i = 0; i < s.BetCount; ++i) {
        const BetRecord& rec = s.BetLog(i);
        const BetFields f = ReadBetFields(rec);
        if ((f.kind != 1 && f.kind != 3) || f.accept != 1) continue;
        if (f.result < 1 || f.result > 3) continue;
        ArchivedBet b;
        b.date = date;
        b.venue = f.venue;
        b.race = f.race;
        b.kind = f.kind;
        b.type = f.type;
        b.first = f.first;
        b.second = f.second;
        b.stake = Mul<int32_t>(f.units, 100);
        b.result = f.result;
        b.payout = f.result == 2 ? 0 : Mul<int32_t>(f.units, f.payout);
        b.reference = U16ToUtf8(rec.mid(24, 4));
        bets.push_back(std::move(b));
    }
    return bets;
}

void AddOdds(const AppState& s, std::vector<ArchivedBet>& bets) {
    auto o = std::make_unique<AppState>();
    int lastVenue = -1, lastRace = -1;
    bool read = false;
    for (ArchivedBet& b : bets) {
        if (b.venue != lastVenue || b.race != lastRace) {
            lastVenue = b.venue;
            lastRace = b.race;
            ClearOdds(*o);
            read = false;
            for (int k = 1; k <= std::min<int>(s.MeetingCount, 6); ++k) {
                if (s.MeetingTable(k, 1) != b.venue) continue;
                const std::string stem = Narrow(RaceStem(b.venue, s.MeetingTable(k, 3), b.race));
                try {
                    // "UO-" is laid out by the runner count of "ZO-".
                    ReadWinPlaceOdds(*o, JoinPath(s.Pat98Folder, "\\ZO-" + stem + ".JRA"));
                    ReadQuinellaOdds(*o, JoinPath(s.Pat98Folder, "\\UO-" + stem + ".JRA"));
                    read = true;
                } catch (const RunError&) {
                    // An odds file that cannot be read leaves the race without odds.
                    ClearOdds(*o);
                }
                break;
            }
        }
        b.odds.reset();
        b.popularity.reset();
        if (!read) continue;
        b.odds = OddsTenths(BetOddsText(*o, b));
        if (!b.odds) continue;
        int32_t shorter = 0;
        for (int32_t v : TypeOdds(*o, b.type))
            if (v < *b.odds) ++shorter;
        b.popularity = shorter + 1;
    }
}

void WriteDay(const std::string& path, int32_t date, const std::vector<ArchivedBet>& bets) {
    WriteDays(path, {{date, bets}});
}

void WriteDays(const std::string& path, const ArchiveDays& days) {
    Database db(path, Database::Mode::kReadWriteCreate, kArchiveBusyMillis);
    Transaction t(db);
    EnsureSchema(db);
    Statement del = db.prepare("DELETE FROM bets WHERE id BETWEEN ?1 AND ?2");
    Statement ins = db.prepare(
        "INSERT INTO bets VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14)");
    for (const auto& [date, bets] : days) {
        if (bets.size() >= static_cast<std::size_t>(kDaySpan)) Fail(kErrSubscript);
        del.bind(1, FirstId(date)).bind(2, FirstId(date) + kDaySpan - 1).run();
        int64_t id = FirstId(date);
        for (const ArchivedBet& b : bets) {
            ins.bind(1, id++).bind(2, int64_t{date}).bind(3, int64_t{b.venue});
            ins.bind(4, int64_t{b.race}).bind(5, int64_t{b.kind}).bind(6, int64_t{b.type});
            ins.bind(7, int64_t{b.first}).bind(8, int64_t{b.second}).bind(9, int64_t{b.stake});
            ins.bind(10, int64_t{b.result}).bind(11, int64_t{b.payout}).bind(12, b.reference);
            ins.bind(13, b.odds).bind(14, b.popularity).run();
        }
    }
    t.commit();
}

std::vector<ArchivedBet> ReadBets(const std::string& path, int32_t from, int32_t to) {
    std::vector<ArchivedBet> bets;
    if (!FileExists(path)) return bets;
    Database db(path, Database::Mode::kReadOnly, kArchiveBusyMillis);
    if (db.scalar("PRAGMA user_version") < 1) return bets;
    Statement st = db.prepare(
        "SELECT race_date, venue, race, day_kind, bet_type, first, second, stake, result,"
        " payout, reference, odds, popularity FROM bets WHERE id BETWEEN ?1 AND ?2 ORDER BY id");
    st.bind(1, FirstId(from)).bind(2, FirstId(to) + kDaySpan - 1);
    auto i16 = [&st](int c) { return static_cast<int16_t>(st.integer(c)); };
    auto i32 = [&st](int c) { return static_cast<int32_t>(st.integer(c)); };
    while (st.step()) {
        ArchivedBet b;
        b.date = i32(0);
        b.venue = i16(1);
        b.race = i16(2);
        b.kind = i16(3);
        b.type = i16(4);
        b.first = i16(5);
        b.second = i16(6);
        b.stake = i32(7);
        b.result = i16(8);
        b.payout = i32(9);
        b.reference = st.text(10);
        if (!st.isNull(11)) b.odds = i32(11);
        if (!st.isNull(12)) b.popularity = i32(12);
        bets.push_back(std::move(b));
    }
    return bets;
}

void BetArchive::Pass(AppState& s) {
    if (s.ReadOnly) return;
    const std::string path = ArchivePath(s);
    if (off_) {
        // Off until the damaged file is moved away; then a new archive begins.
        if (FileExists(path)) return;
        off_ = false;
        faultShown_ = false;
        checkedPath_.clear();
        written_.clear();
    }
    try {
        if (s.OpenStake == 0 && !s.LastPassFailed && DayStake(s) != 0) {
            std::vector<ArchivedBet> bets = DayBets(s);
            const int32_t date = DateValue(s.RaceDate.view());
            if (date != 0 && !written_.count(date) && usable(s, path)) {
                try {
                    written_[date] = ReadBets(path, date, date);
                } catch (const SqliteError&) {
                    // Compared again at the next pass.
                }
            }
            const auto w = written_.find(date);
            const bool same = w != written_.end() && w->second.size() == bets.size() &&
                              std::equal(bets.begin(), bets.end(), w->second.begin(),
                                         [](const ArchivedBet& a, const ArchivedBet& b) {
                                             return a.sameOutcome(b);
                                         });
            if (date != 0 && !same) {
                // Odds as they stand when the day is written; a rewrite of an
                // unchanged day would lose them once PAT98 drops its files.
                AddOdds(s, bets);
                pending_[date] = std::move(bets);
            }
        }
    } catch (const RunError&) {
        // An overflow of the day's figures; the posting reports it.
    } catch (const std::bad_alloc&) {
    }
    writePending(s, path);
}

ArchiveCheck CheckArchiveFile(const std::string& path, std::string* why) {
    try {
        Database db(path, Database::Mode::kReadWrite, kArchiveBusyMillis);
        Statement st = db.prepare("PRAGMA quick_check");
        const bool ok = st.step() && st.text(0) == "ok" && !st.step();
        if (!ok || db.scalar("PRAGMA user_version") > kArchiveVersion)
            return ArchiveCheck::kDamaged;
        return ArchiveCheck::kOk;
    } catch (const SqliteError& e) {
        if (why) *why = e.what();
        return e.damaged() ? ArchiveCheck::kDamaged
               : e.busy()  ? ArchiveCheck::kBusy
                           : ArchiveCheck::kFault;
    }
}

bool BetArchive::usable(AppState& s, const std::string& path) {
    if (off_) return false;
    if (checkedPath_ == path) return true;
    if (!FileExists(path)) {
        checkedPath_ = path;
        return true;
    }
    std::string why;
    switch (CheckArchiveFile(path, &why)) {
        case ArchiveCheck::kOk:
            checkedPath_ = path;
            return true;
        case ArchiveCheck::kDamaged:
            damaged(s, path);
            return false;
        case ArchiveCheck::kFault:
            fault(s, path, why);
            return false;
        default:
            return false;
    }
}

void BetArchive::fault(AppState& s, const std::string& path, const std::string& why) {
    // The day is kept for the next pass; said once until a write succeeds.
    if (faultShown_ || !s.Messages) return;
    faultShown_ = true;
    s.Messages->critical("Zubrica98", "収支記録「" + path + "」に書き込めません: " + why);
}

void BetArchive::damaged(AppState& s, const std::string& path) {
    off_ = true;
    if (s.Messages)
        s.Messages->critical("Zubrica98", "「" + path +
                                              "」は収支記録のデータベースではないか、壊れています。"
                                              "このファイルには書き込みません。ファイルを別の場所へ"
                                              "移すと、新しい記録を始めます。");
}

void BetArchive::writePending(AppState& s, const std::string& path) {
    while (!pending_.empty() && usable(s, path)) {
        const auto day = pending_.begin();
        try {
            WriteDay(path, day->first, day->second);
        } catch (const SqliteError& e) {
            if (e.damaged()) {
                damaged(s, path);
            } else if (!e.busy()) {
                fault(s, path, e.what());
            }
            return;
        } catch (const RunError&) {
            pending_.erase(day);
            return;
        }
        faultShown_ = false;
        written_[day->first] = std::move(day->second);
        pending_.erase(day);
    }
}

}  // namespace zb
