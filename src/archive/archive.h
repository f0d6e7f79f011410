#pragma once
// The bet archive "Korvane.db" beside the passbook: every settled bet of the
// days posted, one row each, kept in SQLite so that the money can be followed
// by bet type, venue, odds and time long after PAT98's log has rolled over.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "startup/app_state.h"

namespace zb {

struct SqliteError;

constexpr int kArchiveVersion = 1;  // PRAGMA user_version of the schema below
constexpr int kArchiveBusyMillis = 250;

struct ArchivedBet {
    int32_t date = 0;  // yyyymmdd
    int16_t venue = 0, race = 0, kind = 0, type = 0, first = 0, second = 0;
    int32_t stake = 0;   // yen
    int16_t result = 0;  // 1 hit, 2 miss, 3 refund
    int32_t payout = 0;  // yen for this bet
    std::string reference;
    std::optional<int32_t> odds;  // tenths
    std::optional<int32_t> popularity;
    bool operator==(const ArchivedBet&) const = default;
    // The same bet with the same outcome, whatever odds were read.
    bool sameOutcome(const ArchivedBet& o) const;
};

std::string ArchivePath(const AppState& s);

// The day's accepted bets on its own races (day kinds 1 and 3) as settled,
// without odds.
std::vector<ArchivedBet> DayBets(const AppState& s);
// Adds the odds and popularity of each bet from the race's odds files in
// Pat98Folder, where they are there.
void AddOdds(const AppState& s, std::vector<ArchivedBet>& bets);
// The odds text a reader stores ("  4.5", " 999.9") in tenths; nothing for a
// scratched horse or an odds table left at its reset value.
std::optional<int32_t> OddsTenths(std::u16string_view text);

// Replaces the rows of the date with the bets in one transaction. Throws
// SqliteError (busy, damaged, other).
void WriteDay(const std::string& path, int32_t date, const std::vector<ArchivedBet>& bets);
// The same for several days in one transaction.
using ArchiveDays = std::map<int32_t, std::vector<ArchivedBet>>;
void WriteDays(const std::string& path, const ArchiveDays& days);
// The rows of one day or of a date range (yyyymmdd, inclusive), in the
// order they were written. A missing file gives none; it is never created.
std::vector<ArchivedBet> ReadBets(const std::string& path, int32_t from, int32_t to);

// The integrity check of an existing archive. Opened for writing, so that
// SQLite rolls back a write a crash interrupted (a read-only connection
// cannot, and fails until that is done).
enum class ArchiveCheck { kOk, kBusy, kDamaged, kFault };
ArchiveCheck CheckArchiveFile(const std::string& path, std::string* why = nullptr);

// The archive as the program keeps it: called after each redraw's posting.
// A settled day whose bets changed is written; a day that cannot be written
// now (the database locked by another program) waits in memory for the next
// pass. A file that is not an archive turns the archive off, with one
// message, until it is moved away.
class BetArchive {
  public:
    void Pass(AppState& s);
    bool off() const { return off_; }
    std::size_t pending() const { return pending_.size(); }

  private:
    bool usable(AppState& s, const std::string& path);
    void damaged(AppState& s, const std::string& path);
    void writePending(AppState& s, const std::string& path);
    void fault(AppState& s, const std::string& path, const std::string& why);

    std::string checkedPath_;  // the file that passed its integrity check
    bool off_ = false;
    bool faultShown_ = false;
    std::map<int32_t, std::vector<ArchivedBet>> pending_;
    std::map<int32_t, std::vector<ArchivedBet>> written_;  // as last written or read
};

}  // namespace zb
