#include "accounting/passbook.h"

#include <new>

#include "accounting/day_figures.h"
#include "platform/replace_file.h"
#include "platform/sjis.h"
#include "readers/pat98_file.h"
#include "readers/quick_text.h"
#include "startup/startup.h"

namespace zb {

namespace {

const FixedText<8> kEmptyDate(u"00000000");

PassbookEntry EmptyEntry() {
    PassbookEntry e;
    e.date = kEmptyDate;
    return e;
}

std::string Field(int32_t v, std::size_t width) {
    std::string t = std::to_string(v);
    // A wider number would push every later field out of place.
    if (t.size() > width) Fail(kErrOverflow);
    t.resize(width, ' ');
    return t;
}

std::string CreatedFileText() {
    std::string line(kPassbookLineLength, '0');
    std::string t;
    for (int i = 0; i < kPassbookCreatedLines; ++i) t += line + "\r\n";
    return t;
}

// Lines as text input reads them: CR LF, or a lone CR or LF, ends a line; a
// last line without an end still counts. Only a line's first 33 characters
// (66 bytes at most) are kept, so a long line costs no memory.
class LineReader {
  public:
    explicit LineReader(std::string data) : data_(std::move(data)) {}
    bool eof() const { return pos_ >= data_.size(); }
    std::string_view next() {
        if (eof()) Fail(kErrPastEnd);
        std::size_t e = data_.find_first_of("\r\n", pos_);
        if (e == std::string::npos) e = data_.size();
        std::string_view line = std::string_view(data_).substr(pos_, e - pos_);
        pos_ = e;
        if (pos_ < data_.size() && data_[pos_] == '\r') ++pos_;
        if (pos_ < data_.size() && data_[pos_] == '\n') ++pos_;
        return line.substr(0, 2 * kPassbookLineLength);
    }

  private:
    std::string data_;
    std::size_t pos_ = 0;
};

void AddToSums(AppState& s, const PassbookEntry& e) {
    s.PassbookStakeSum = Add(s.PassbookStakeSum, e.stake);
    s.PassbookPayoutSum = Add(s.PassbookPayoutSum, e.payout);
    s.PassbookProfitSum = Add(s.PassbookProfitSum, e.profit);
}

// Clears PassbookBusy however the procedure ends.
struct BusyGuard {
    AppState& s;
    ~BusyGuard() { s.PassbookBusy = 0; }
};

void ReadLines(AppState& s, LineReader& in) {
    for (int i = 0; i < kPassbookDaySlots; ++i) {
        At(s.Passbook, i) = ParsePassbookLine(in.next());
        AddToSums(s, At(s.Passbook, i));
    }
    for (int i = 0; i <= 9; ++i) s.BestDays(i) = ParsePassbookLine(in.next());
    for (int i = 0; i <= 9; ++i) s.WorstDays(i) = ParsePassbookLine(in.next());
    s.BestDays(10) = ParsePassbookLine(in.next());
    s.WorstDays(10) = ParsePassbookLine(in.next());
    while (!in.eof()) {
        if (s.Passbook.size() >= static_cast<std::size_t>(kPassbookMaxDays)) Fail(kErrOutOfMemory);
        s.Passbook.push_back(ParsePassbookLine(in.next()));
        AddToSums(s, s.Passbook.back());
    }
    s.PassbookCount = Narrow<int32_t>(s.Passbook.size());
    s.Passbook.push_back(EmptyEntry());
}

// Runs f; failures other than reading past the end are shown.
template <typename F>
void Reported(AppState& s, F&& f) {
    try {
        f();
    } catch (const RunError& e) {
        if (e.number != kErrPastEnd) ReportRunError(s, e);
    } catch (const std::bad_alloc&) {
        ReportRunError(s, RunError(kErrOutOfMemory, ErrorDescription(kErrOutOfMemory)));
    }
}

}  // namespace

std::string PassbookPath(const AppState& s) {
    return JoinPath(s.HomeFolder, "\\Korvane.txt");
}

std::string PassbookLine(const PassbookEntry& e) {
    return EncodeSjis(e.date.view()) + Field(e.stake, 8) + Field(e.payout, 8) + Field(e.profit, 9);
}

std::string PassbookFileText(const AppState& s) {
    std::string t;
    auto put = [&](const PassbookEntry& e) { t += PassbookLine(e) + "\r\n"; };
    for (int i = 0; i < kPassbookDaySlots; ++i) put(At(s.Passbook, i));
    for (int i = 0; i <= 9; ++i) put(s.BestDays(i));
    for (int i = 0; i <= 9; ++i) put(s.WorstDays(i));
    put(s.BestDays(10));
    put(s.WorstDays(10));
    // Every read adds an open slot; saving all of them would add a blank day
    // at each start.
    std::size_t end = s.Passbook.size();
    while (end > kPassbookDaySlots + 1 && s.Passbook[end - 1] == EmptyEntry() &&
           s.Passbook[end - 2] == EmptyEntry())
        --end;
    for (std::size_t i = kPassbookDaySlots; i < end; ++i) put(s.Passbook[i]);
    return t;
}

PassbookEntry ParsePassbookLine(std::string_view line) {
    std::u16string t = PadTo(QuickDecodeSjis(line), kPassbookLineLength);
    std::u16string_view v(t);
    PassbookEntry e;
    e.date.assign(v.substr(0, 8));
    e.stake = QuickLenientI32(v.substr(8, 8));
    e.payout = QuickLenientI32(v.substr(16, 8));
    e.profit = QuickLenientI32(v.substr(24, 9));
    return e;
}

namespace {

// Fills the tables from the text contentOf gives; a failure to get it counts
// like a malformed text.
template <typename F>
void FillPassbook(AppState& s, F&& contentOf) {
    s.Passbook.assign(kPassbookDaySlots, PassbookEntry{});
    s.PassbookCount = kPassbookDaySlots - 1;
    s.PassbookStakeSum = 0;
    s.PassbookPayoutSum = 0;
    s.PassbookProfitSum = 0;
    s.PassbookReadFailed = false;
    try {
        std::string content = contentOf();
        if (content.size() > kPassbookMaxBytes) Fail(kErrOutOfMemory);
        LineReader in(std::move(content));
        ReadLines(s, in);
    } catch (const RunError& e) {
        s.PassbookCount = Narrow<int32_t>(s.Passbook.size()) - 1;
        // A short file lost nothing by being read: every line it has is in
        // the tables, so it may be written again.
        if (e.number == kErrPastEnd) {
            s.BestDays(10) = EmptyEntry();
            s.WorstDays(10) = EmptyEntry();
        } else {
            s.PassbookReadFailed = true;
            ReportRunError(s, e);
        }
    } catch (const std::bad_alloc&) {
        s.PassbookCount = Narrow<int32_t>(s.Passbook.size()) - 1;
        s.PassbookReadFailed = true;
        ReportRunError(s, RunError(kErrOutOfMemory, ErrorDescription(kErrOutOfMemory)));
    }
}

}  // namespace

void ReadPassbook(AppState& s) {
    if (s.PassbookBusy == 1) return;
    s.PassbookBusy = 1;
    BusyGuard busy{s};
    const std::string path = PassbookPath(s);
    std::string content;
    bool created = false;
    Reported(s, [&] {
        if (FileExists(path)) return;
        content = CreatedFileText();
        created = true;
        // The report command writes nothing: the fresh book lives in memory only.
        if (!s.ReadOnly) ReplaceFile(path, content);
    });
    // A book that could not be created is still read as a fresh one, so the
    // tables hold the ten empty day slots the posting relies on.
    FillPassbook(
        s, [&] { return created ? std::move(content) : ReadFileUpTo(path, kPassbookMaxBytes); });
}

void ParsePassbook(AppState& s, std::string_view bytes) {
    FillPassbook(s, [&] { return std::string(bytes.substr(0, kPassbookMaxBytes + 1)); });
}

void WritePassbook(AppState& s) {
    if (s.PassbookBusy == 1) return;
    if (s.ReadOnly || s.PassbookReadFailed) return;
    s.PassbookBusy = 1;
    BusyGuard busy{s};
    // The text is built whole before the file is touched, and the file is
    // replaced in one step: a failure leaves the old passbook as it was.
    Reported(s, [&] { ReplaceFile(PassbookPath(s), PassbookFileText(s)); });
}

namespace {

void RemoveDay(Table<PassbookEntry, 0, 10>& list, const FixedText<8>& date, bool& changed) {
    for (int k = 0; k <= 10; ++k) {
        if (list(k).date == date) {
            for (int m = k; m <= 9; ++m) list(m) = list(m + 1);
            list(10) = EmptyEntry();
            changed = true;
            return;
        }
    }
}

template <typename Before>
void InsertDay(Table<PassbookEntry, 0, 10>& list, const PassbookEntry& today, Before before,
               bool& changed) {
    for (int k = 0; k <= 10; ++k) {
        if (before(today.profit, list(k).profit)) {
            for (int m = 10; m >= k + 1; --m) list(m) = list(m - 1);
            list(k) = today;
            changed = true;
            return;
        }
    }
}

}  // namespace

void PostPassbook(AppState& s) {
    try {
        const int32_t stake = DayStake(s);
        if (stake == 0) return;
        PassbookEntry today;
        today.date = s.RaceDate;
        today.stake = stake;
        today.payout = s.PayoutTotal;
        today.profit = DayProfit(s);

        // Worked on copies: a failure half-way leaves the tables as they were.
        std::vector<PassbookEntry> book = s.Passbook;
        int32_t count = s.PassbookCount;
        auto best = s.BestDays;
        auto worst = s.WorstDays;
        bool changed = false;

        for (int32_t i = 0; i <= count; ++i) {
            PassbookEntry& e = At(book, i);
            if (e.date == today.date) {
                if (e.stake < today.stake) {
                    e.stake = today.stake;
                    e.payout = today.payout;
                    e.profit = today.profit;
                    changed = true;
                }
                break;
            }
            if (today.date > e.date) {
                if (At(book, kPassbookDaySlots - 1).date != kEmptyDate) {
                    count = Add(count, int32_t{1});
                    book.resize(static_cast<std::size_t>(count) + 1);
                }
                for (int32_t j = count; j >= i + 1; --j) At(book, j) = At(book, j - 1);
                At(book, i) = today;
                changed = true;
                break;
            }
        }

        RemoveDay(best, today.date, changed);
        if (today.profit > 0)
            InsertDay(
                best, today, [](int32_t p, int32_t q) { return p >= q; }, changed);
        RemoveDay(worst, today.date, changed);
        if (today.profit < 0)
            InsertDay(
                worst, today, [](int32_t p, int32_t q) { return p <= q; }, changed);

        s.Passbook = std::move(book);
        s.PassbookCount = count;
        s.BestDays = best;
        s.WorstDays = worst;
        if (changed) WritePassbook(s);
    } catch (const RunError& e) {
        ReportRunError(s, e);
    } catch (const std::bad_alloc&) {
        ReportRunError(s, RunError(kErrOutOfMemory, ErrorDescription(kErrOutOfMemory)));
    }
}

}  // namespace zb
