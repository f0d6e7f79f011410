#include "tools/state_json.h"

#include <nlohmann/json.hpp>

#include "accounting/day_figures.h"
#include "platform/run_error.h"
#include "platform/sjis.h"

namespace zb {

namespace {

// Members keep the order they are written in.
using Json = nlohmann::ordered_json;

Json Text(std::u16string_view t) {
    return U16ToUtf8(t);
}

template <typename T, int Lo, int Hi>
Json TableValue(const Table<T, Lo, Hi>& t) {
    Json a = Json::array();
    for (int i = Lo; i <= Hi; ++i) a.push_back(t(i));
    return a;
}

template <typename T, int R0, int R1, int C0, int C1>
Json GridValue(const Grid<T, R0, R1, C0, C1>& g) {
    Json a = Json::array();
    for (int r = R0; r <= R1; ++r) {
        Json row = Json::array();
        for (int c = C0; c <= C1; ++c) row.push_back(g(r, c));
        a.push_back(std::move(row));
    }
    return a;
}

void StartupMembers(Json& j, const AppState& s) {
    j["CurrentProc"] = s.CurrentProc;
    j["Pat98Folder"] = s.Pat98Folder;
    j["HomeFolder"] = s.HomeFolder;
    j["ErrorCode"] = s.ErrorCode;
    j["LoadBusy"] = s.LoadBusy;
    j["LastPassFailed"] = s.LastPassFailed;
    j["ScreenHeight"] = s.ScreenHeight;
    j["ScreenWidth"] = s.ScreenWidth;
    j["DefaultTop"] = TableValue(s.DefaultTop);
    j["DefaultLeft"] = TableValue(s.DefaultLeft);
    const Settings& st = s.settings;
    Json& k = j["Settings"];
    k["BackClor"] = st.BackClor;
    k["Border"] = st.Border;
    k["Border3D"] = st.Border3D;
    k["Bold"] = st.Bold;
    k["Pos"] = st.Pos;
    k["Bar"] = st.Bar;
    k["ForeClor"] = TableValue(st.ForeClor);
    k["Top"] = TableValue(st.Top);
    k["Left"] = TableValue(st.Left);
    k["Debug"] = st.Debug;
}

void ProgrammeMembers(Json& j, const AppState& s) {
    j["RaceDate"] = Text(s.RaceDate.view());
    j["ProgrammeSerial"] = s.ProgrammeSerial;
    j["AccountBalance"] = s.AccountBalance;
    j["MeetingCount"] = s.MeetingCount;
    j["MeetingTable"] = GridValue(s.MeetingTable);
    j["RaceFlags"] = GridValue(s.RaceFlags);
}

Json EntryValue(const PassbookEntry& e) {
    Json j;
    j["date"] = Text(e.date.view());
    j["stake"] = e.stake;
    j["payout"] = e.payout;
    j["profit"] = e.profit;
    return j;
}

// What the main window shows after its redraw (the report never posts).
void MainWindowMembers(Json& j, const AppState& s) {
    MainTexts t;
    try {
        t = ComputeMainTexts(s);
    } catch (const RunError& e) {
        // An overflowing figure: the texts stay empty and the failure is shown.
        if (s.Messages)
            s.Messages->critical(s.CurrentProc + "  " + std::to_string(e.number), e.description);
        t = MainTexts{};
    }
    Json& labels = j["label"] = Json::array();
    for (const auto& text : t.label) labels.push_back(Text(text));
    j["Caption"] = Text(t.caption);
    j["StakeToolTip"] = Text(t.stakeToolTip);
}

void PassbookMembers(Json& j, const AppState& s) {
    Json& book = j["Passbook"] = Json::array();
    for (long i = 0; i <= s.PassbookCount && i < static_cast<long>(s.Passbook.size()); ++i)
        book.push_back(EntryValue(s.Passbook[static_cast<std::size_t>(i)]));
    j["PassbookCount"] = s.PassbookCount;
    Json& best = j["BestDays"] = Json::array();
    for (int i = 0; i <= 10; ++i) best.push_back(EntryValue(s.BestDays(i)));
    Json& worst = j["WorstDays"] = Json::array();
    for (int i = 0; i <= 10; ++i) worst.push_back(EntryValue(s.WorstDays(i)));
    j["PassbookStakeSum"] = s.PassbookStakeSum;
    j["PassbookPayoutSum"] = s.PassbookPayoutSum;
    j["PassbookProfitSum"] = s.PassbookProfitSum;
}

void ReadingMembers(Json& j, const AppState& s) {
    Json& bets = j["BetLog"] = Json::array();
    for (int i = 0; i < s.BetCount && i < kMaxBets; ++i) bets.push_back(Text(s.BetLog(i).view()));
    j["BetCount"] = s.BetCount;
    j["StakeTotal"] = s.StakeTotal;
    j["AdvanceStakeNet"] = s.AdvanceStakeNet;
    j["PayoutTotal"] = s.PayoutTotal;
    j["OpenStake"] = s.OpenStake;
    j["TodayBetCount"] = s.TodayBetCount;
    Json& payouts = j["PayoutTable"] = Json::array();
    for (int i = 0; i < s.PayoutCount && i < kMaxPayoutEntries; ++i)
        payouts.push_back(Text(s.PayoutTable(i).view()));
    j["PayoutCount"] = s.PayoutCount;
    j["RaceStatus"] = GridValue(s.RaceStatus);
    j["BankTable"] = GridValue(s.BankTable);  // 6 columns of 13 rows
}

}  // namespace

std::string StateJson(const AppState& s) {
    Json j = Json::object();
    StartupMembers(j, s);
    ProgrammeMembers(j, s);
    ReadingMembers(j, s);
    MainWindowMembers(j, s);
    PassbookMembers(j, s);
    // Folder names are bytes from the file system: what is not UTF-8 becomes U+FFFD.
    return j.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace zb
