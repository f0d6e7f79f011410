#pragma once
// The one set of program-wide variables through which every reader, report and
// window exchanges data. Created zeroed (numbers 0, texts blank or empty).

#include <cstdint>
#include <string>
#include <vector>

#include "startup/checked.h"
#include "startup/text.h"

namespace zb {

constexpr int kMaxBets = 1000;  // BetLog 0..999
// PayoutTable holds everything the result and payout files of three meetings
// can give. A race gets its entries either from its result file or from its
// five payout records, and both carry at most 19 paid slots (3 win, 5 place,
// 3 bracket, 3 quinella, 5 wide), 5 scratched horses of 36 refunds each (win,
// place, 17 quinella, 17 wide) and 8 bracket refund codes of up to 8 pairs.
constexpr int kMaxEntriesPerRace = 19 + 5 * 36 + 8 * 8;         // 263
constexpr int kMaxPayoutEntries = 3 * 12 * kMaxEntriesPerRace;  // 9468: 0..9467
constexpr int kBetRecordLength = 27;
constexpr int kPayoutEntryLength = 15;
constexpr int kSettledCount = 5;  // RaceStatus of a settled race
constexpr int kLabelCount = 17;   // labels of the main window
constexpr int kWindowSlots = 7;

using BetRecord = FixedText<kBetRecordLength>;
using PayoutEntry = FixedText<kPayoutEntryLength>;

// Window slots: which saved position pair a window uses.
enum WindowSlot : int {
    kSlotBetList = 0,
    kSlotBankChart = 1,
    kSlotRaceDetail = 2,
    kSlotResultsBoard = 3,
    kSlotPassbook = 4,
    kSlotMain = 5,
    kSlotAnalysis = 6,  // keys "Top6", "Left6" after the others: older files lack them
};

// The analysis window's fixed client size in twips, from which its default
// place is worked out.
constexpr int32_t kAnalysisWidth = 10200;
constexpr int32_t kAnalysisHeight = 6600;
constexpr int32_t kFrameAllowance = 480;  // a title bar and borders

struct Settings {
    int32_t BackClor = 0;
    int16_t Border = 0;
    int16_t Border3D = 0;
    int16_t Bold = 0;
    int16_t Pos = 0;
    bool Bar = false;
    bool AutoRefresh = false;  // follow PAT98's files without a click on 更新
    bool HitNotice = false;    // tell new hits and the settled day in the tray
    Table<int32_t, 0, 16> ForeClor;
    Table<int32_t, 0, kWindowSlots - 1> Top;
    Table<int32_t, 0, kWindowSlots - 1> Left;
    int16_t Debug = 0;
};

struct PassbookEntry {
    FixedText<8> date;  // yyyymmdd; "00000000" marks an empty slot
    int32_t stake = 0;
    int32_t payout = 0;
    int32_t profit = 0;
    bool operator==(const PassbookEntry&) const = default;
};

// Where the core shows its message boxes: Qt in the program, standard error in
// the report command, a list in the tests. Texts are UTF-8.
class MessageSink {
  public:
    virtual ~MessageSink() = default;
    virtual void critical(const std::string& title, const std::string& text) = 0;
};

// The figures the main window shows, kept from the last reading pass that
// succeeded: a failed pass leaves its totals half built.
struct DayTotals {
    FixedText<8> RaceDate;
    int32_t AccountBalance = 0;
    int32_t StakeTotal = 0;
    int32_t AdvanceStakeNet = 0;
    int32_t PayoutTotal = 0;
    int32_t OpenStake = 0;
    int16_t TodayBetCount = 0;
};

struct AppState {
    // Every member starts at its own initial value: no zero-filling of the
    // large tables first, which "new AppState()" would otherwise do.
    AppState() {}

    // Control and paths.
    std::string CurrentProc;
    std::string Pat98Folder;  // no trailing separator
    std::string HomeFolder;   // no trailing separator
    std::string AppFolder;    // with a trailing backslash
    int16_t ErrorCode = 0;
    int16_t LoadBusy = 0;
    int16_t PassbookBusy = 0;
    // Set when the passbook file exists but could not be read: writing the
    // partly read tables would lose the days not read, so nothing writes the
    // file until a later read succeeds.
    bool PassbookReadFailed = false;
    // Set when the last reading pass ended through a run-time failure: its
    // totals are partial or stale and must not be posted to the passbook.
    bool LastPassFailed = false;
    // The report command: compute everything, write no file.
    bool ReadOnly = false;
    MessageSink* Messages = nullptr;

    // Screen and window positions, twips.
    int32_t ScreenHeight = 0;
    int32_t ScreenWidth = 0;
    Table<int32_t, 0, kWindowSlots - 1> DefaultTop;
    Table<int32_t, 0, kWindowSlots - 1> DefaultLeft;
    Settings settings;

    // Race programme.
    FixedText<8> RaceDate;
    int16_t ProgrammeSerial = 0;
    int32_t AccountBalance = 0;
    int16_t MeetingCount = 0;
    Grid<int16_t, 1, 6, 1, 3> MeetingTable;
    Grid<int16_t, 1, 6, 1, 12> RaceFlags;

    // Bets and totals.
    Table<BetRecord, 0, kMaxBets - 1> BetLog;
    int16_t BetCount = 0;
    int32_t StakeTotal = 0;
    int32_t AdvanceStakeNet = 0;
    int32_t PayoutTotal = 0;
    int32_t OpenStake = 0;
    int16_t TodayBetCount = 0;
    DayTotals ShownDay;  // shown instead of the totals while LastPassFailed

    // Payouts.
    Table<PayoutEntry, 0, kMaxPayoutEntries - 1> PayoutTable;
    int16_t PayoutCount = 0;
    Grid<int16_t, 1, 10, 1, 12> RaceStatus;

    // Odds and post time of the race in the detail window.
    int16_t RunnerCount = 0;
    Table<std::u16string, 1, 18> WinOdds, PlaceOddsLow, PlaceOddsHigh;
    Grid<std::u16string, 1, 8, 1, 8> BracketOdds;
    Grid<std::u16string, 1, 18, 1, 18> QuinellaOdds, WideOddsLow, WideOddsHigh;
    std::u16string PostTime;

    // Reports.
    std::u16string ReportText;
    int16_t ListView = 0;
    int16_t AcceptedCount = 0;
    Grid<int32_t, 0, 5, 0, 12> BankTable;  // (meeting column, race row)
    int16_t DetailVenue = 0;
    int16_t DetailRace = 0;
    int16_t DetailTomorrow = 0;

    // Passbook.
    std::vector<PassbookEntry> Passbook;
    Table<PassbookEntry, 0, 10> BestDays;
    Table<PassbookEntry, 0, 10> WorstDays;
    int32_t PassbookCount = 0;
    int32_t PassbookStakeSum = 0;
    int32_t PassbookPayoutSum = 0;
    int32_t PassbookProfitSum = 0;

    double MainFrameHeight = 0;
};

}  // namespace zb
