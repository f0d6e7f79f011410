#include "tools/state_json.h"

#include "accounting/day_figures.h"
#include "startup/run_error.h"
#include "tools/json.h"

namespace zb {

namespace {

template <typename T, int Lo, int Hi>
void TableMember(JsonWriter& j, std::string_view name, const Table<T, Lo, Hi>& t) {
    j.key(name);
    j.beginArray();
    for (int i = Lo; i <= Hi; ++i) j.value(t(i));
    j.endArray();
}

template <typename T, int R0, int R1, int C0, int C1>
void GridMember(JsonWriter& j, std::string_view name, const Grid<T, R0, R1, C0, C1>& g) {
    j.key(name);
    j.beginArray();
    for (int r = R0; r <= R1; ++r) {
        j.beginArray();
        for (int c = C0; c <= C1; ++c) j.value(g(r, c));
        j.endArray();
    }
    j.endArray();
}

void StartupMembers(JsonWriter& j, const AppState& s) {
    j.member("CurrentProc", std::string_view(s.CurrentProc));
    j.member("Pat98Folder", std::string_view(s.Pat98Folder));
    j.member("HomeFolder", std::string_view(s.HomeFolder));
    j.member("ErrorCode", s.ErrorCode);
    j.member("LoadBusy", s.LoadBusy);
    j.member("LastPassFailed", s.LastPassFailed);
    j.member("ScreenHeight", s.ScreenHeight);
    j.member("ScreenWidth", s.ScreenWidth);
    TableMember(j, "DefaultTop", s.DefaultTop);
    TableMember(j, "DefaultLeft", s.DefaultLeft);
    const Settings& st = s.settings;
    j.key("Settings");
    j.beginObject();
    j.member("BackClor", st.BackClor);
    j.member("Border", st.Border);
    j.member("Border3D", st.Border3D);
    j.member("Bold", st.Bold);
    j.member("Pos", st.Pos);
    j.member("Bar", st.Bar);
    TableMember(j, "ForeClor", st.ForeClor);
    TableMember(j, "Top", st.Top);
    TableMember(j, "Left", st.Left);
    j.member("Debug", st.Debug);
    j.endObject();
}

void ProgrammeMembers(JsonWriter& j, const AppState& s) {
    j.member("RaceDate", s.RaceDate.view());
    j.member("ProgrammeSerial", s.ProgrammeSerial);
    j.member("AccountBalance", s.AccountBalance);
    j.member("MeetingCount", s.MeetingCount);
    GridMember(j, "MeetingTable", s.MeetingTable);
    GridMember(j, "RaceFlags", s.RaceFlags);
}

void EntryValue(JsonWriter& j, const PassbookEntry& e) {
    j.beginObject();
    j.member("date", e.date.view());
    j.member("stake", e.stake);
    j.member("payout", e.payout);
    j.member("profit", e.profit);
    j.endObject();
}

// What the main window shows after its redraw (the report never posts).
void MainWindowMembers(JsonWriter& j, const AppState& s) {
    MainTexts t;
    try {
        t = ComputeMainTexts(s);
    } catch (const RunError& e) {
        // An overflowing figure: the texts stay empty and the failure is shown.
        if (s.Messages)
            s.Messages->critical(s.CurrentProc + "  " + std::to_string(e.number), e.description);
        t = MainTexts{};
    }
    j.key("label");
    j.beginArray();
    for (const auto& text : t.label) j.value(std::u16string_view(text));
    j.endArray();
    j.member("Caption", std::u16string_view(t.caption));
    j.member("StakeToolTip", std::u16string_view(t.stakeToolTip));
}

void PassbookMembers(JsonWriter& j, const AppState& s) {
    j.key("Passbook");
    j.beginArray();
    for (long i = 0; i <= s.PassbookCount && i < static_cast<long>(s.Passbook.size()); ++i)
        EntryValue(j, s.Passbook[static_cast<std::size_t>(i)]);
    j.endArray();
    j.member("PassbookCount", s.PassbookCount);
    j.key("BestDays");
    j.beginArray();
    for (int i = 0; i <= 10; ++i) EntryValue(j, s.BestDays(i));
    j.endArray();
    j.key("WorstDays");
    j.beginArray();
    for (int i = 0; i <= 10; ++i) EntryValue(j, s.WorstDays(i));
    j.endArray();
    j.member("PassbookStakeSum", s.PassbookStakeSum);
    j.member("PassbookPayoutSum", s.PassbookPayoutSum);
    j.member("PassbookProfitSum", s.PassbookProfitSum);
}

void ReadingMembers(JsonWriter& j, const AppState& s) {
    j.key("BetLog");
    j.beginArray();
    for (int i = 0; i < s.BetCount && i < kMaxBets; ++i) j.value(s.BetLog(i).view());
    j.endArray();
    j.member("BetCount", s.BetCount);
    j.member("StakeTotal", s.StakeTotal);
    j.member("AdvanceStakeNet", s.AdvanceStakeNet);
    j.member("PayoutTotal", s.PayoutTotal);
    j.member("OpenStake", s.OpenStake);
    j.member("TodayBetCount", s.TodayBetCount);
    j.key("PayoutTable");
    j.beginArray();
    for (int i = 0; i < s.PayoutCount && i < kMaxPayoutEntries; ++i)
        j.value(s.PayoutTable(i).view());
    j.endArray();
    j.member("PayoutCount", s.PayoutCount);
    GridMember(j, "RaceStatus", s.RaceStatus);
    GridMember(j, "BankTable", s.BankTable);  // 6 columns of 13 rows
}

}  // namespace

std::string StateJson(const AppState& s) {
    JsonWriter j;
    j.beginObject();
    StartupMembers(j, s);
    ProgrammeMembers(j, s);
    ReadingMembers(j, s);
    MainWindowMembers(j, s);
    PassbookMembers(j, s);
    j.endObject();
    return j.str();
}

}  // namespace zb
