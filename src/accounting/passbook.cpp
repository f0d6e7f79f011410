#include "accounting/passbook.h"

#include <charconv>
#include <new>
#include <unordered_map>

#include "accounting/day_figures.h"
#include "platform/replace_file.h"
#include "platform/sjis.h"
#include "readers/pat98_file.h"
#include "readers/quick_text.h"
#include "startup/messages.h"

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
// last line without an end still counts. A UTF-8 byte-order mark some editors
// put first is not part of the text, nor is one empty line at the end.
class LineReader {
  public:
    explicit LineReader(std::string data) : data_(std::move(data)) {
        if (data_.starts_with("\xEF\xBB\xBF")) pos_ = 3;
        DropOneEmptyLastLine();
    }
    bool eof() const { return pos_ >= data_.size(); }
    // The number of the line next() returned last, from 1.
    int lineNumber() const { return line_; }
    std::string_view next() {
        if (eof()) Fail(kErrPastEnd);
        std::size_t e = data_.find_first_of("\r\n", pos_);
        if (e == std::string::npos) e = data_.size();
        std::string_view line = std::string_view(data_).substr(pos_, e - pos_);
        pos_ = e;
        if (pos_ < data_.size() && data_[pos_] == '\r') ++pos_;
        if (pos_ < data_.size() && data_[pos_] == '\n') ++pos_;
        ++line_;
        return line;
    }

  private:
    // The text ends with a line end; if the one before it ends a line too,
    // the last line is empty and goes.
    void DropOneEmptyLastLine() {
        auto endBefore = [&](std::size_t end) -> std::size_t {  // length of the line end
            if (end >= pos_ + 2 && data_.compare(end - 2, 2, "\r\n") == 0) return 2;
            if (end >= pos_ + 1 && (data_[end - 1] == '\r' || data_[end - 1] == '\n')) return 1;
            return 0;
        };
        const std::size_t last = endBefore(data_.size());
        if (last == 0) return;
        const std::size_t before = endBefore(data_.size() - last);
        // "\r" then "\n" is one CR LF, not two line ends.
        if (before == 0 ||
            (last == 1 && before == 1 && data_.back() == '\n' && data_[data_.size() - 2] == '\r'))
            return;
        data_.resize(data_.size() - last);
    }

    std::string data_;
    std::size_t pos_ = 0;
    int line_ = 0;
};

bool Blank(std::string_view t) {
    return t.find_first_not_of(' ') == std::string_view::npos;
}

bool IsBlank(std::u16string_view t) {
    return t.find_first_not_of(u' ') == std::u16string_view::npos;
}

// One amount field, as the store writes it: the number, then blanks. A field
// left blank or all zeros carries 0. False for anything the next write would
// change (leading blanks or zeros, a plus sign, a number too wide).
bool ReadAmount(std::string_view field, int32_t& v) {
    const std::size_t end = field.find_last_not_of(' ');
    if (end == std::string_view::npos || field.find_first_not_of('0') == std::string_view::npos) {
        v = 0;
        return true;
    }
    const std::string_view text = field.substr(0, end + 1);
    const auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || p != text.data() + text.size()) return false;
    char back[16];
    const auto [q, ec2] = std::to_chars(back, back + sizeof back, v);
    return ec2 == std::errc() && std::string_view(back, static_cast<std::size_t>(q - back)) == text;
}

// A line of the file read into an entry, when writing the entry back gives
// the line again. What carries nothing may differ: blanks after the last
// field (or none where an editor cut them), an amount left blank or all
// zeros, a blank empty slot (written as "00000000"). Anything else would be
// cut, moved or lost by the next write, or is no day at all; so is any byte
// but printable ASCII, and a date that is not eight digits.
bool ReadDayLine(std::string_view line, PassbookEntry& e) {
    for (unsigned char c : line)
        if (c < 0x20 || c > 0x7E) return false;
    if (line.size() > kPassbookLineLength) {
        if (!Blank(line.substr(kPassbookLineLength))) return false;
        line = line.substr(0, kPassbookLineLength);
    }
    auto field = [&](std::size_t pos, std::size_t len) {
        return pos < line.size() ? line.substr(pos, len) : std::string_view{};
    };
    if (!ReadAmount(field(8, 8), e.stake) || !ReadAmount(field(16, 8), e.payout) ||
        !ReadAmount(field(24, 9), e.profit))
        return false;
    const std::string_view date = field(0, 8);
    if (Blank(date)) {
        e.date = FixedText<8>();
        return e.stake == 0 && e.payout == 0 && e.profit == 0;
    }
    if (date.size() != 8 || date.find_first_not_of("0123456789") != std::string_view::npos)
        return false;
    char16_t d[8];
    for (std::size_t i = 0; i < 8; ++i) d[i] = static_cast<char16_t>(date[i]);
    e.date.assign(std::u16string_view(d, 8));
    return true;
}

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

// A failure while reading a line names the file and the line, so that the
// user can mend it.
RunError AtLine(const RunError& e, const std::string& path, int line, std::string_view why = {}) {
    std::string text = e.description + "\n" + path + "\n" + std::to_string(line) + " 行目";
    if (!why.empty()) text += "\n" + std::string(why);
    return RunError(e.number, text);
}

// An empty slot, or a day of the calendar.
bool DateFits(const PassbookEntry& e) {
    if (IsBlank(e.date.view())) return true;
    if (e.date == kEmptyDate) return e.stake == 0 && e.payout == 0 && e.profit == 0;
    return IsPossibleDate(e.date.view());
}

uint64_t DateKey(const PassbookEntry& e) {
    uint64_t k = 0;
    for (char16_t c : e.date.view()) k = k << 8 | (c & 0xFF);
    return k;
}

void ReadLines(AppState& s, LineReader& in, const std::string& path) {
    auto refuse = [&](std::string_view why) {
        throw AtLine(RunError(kErrTypeMismatch, ErrorDescription(kErrTypeMismatch)), path,
                     in.lineNumber(), why);
    };
    auto line = [&]() {
        PassbookEntry e;
        if (!ReadDayLine(in.next(), e)) refuse({});
        if (!DateFits(e)) refuse("日付が正しくありません。");
        return e;
    };
    // A day listed twice would count twice in every total, and which of the
    // two is right only the user can tell.
    std::unordered_map<uint64_t, int> firstLine;
    auto day = [&](PassbookEntry e) {
        if (!IsBlank(e.date.view()) && e.date != kEmptyDate) {
            const auto [at, fresh] = firstLine.emplace(DateKey(e), in.lineNumber());
            if (!fresh) refuse(std::to_string(at->second) + " 行目と同じ日付です。");
        }
        try {
            AddToSums(s, e);
        } catch (const RunError& err) {
            throw AtLine(err, path, in.lineNumber());
        }
        return e;
    };
    for (int i = 0; i < kPassbookDaySlots; ++i) At(s.Passbook, i) = day(line());
    for (int i = 0; i <= 9; ++i) s.BestDays(i) = line();
    for (int i = 0; i <= 9; ++i) s.WorstDays(i) = line();
    s.BestDays(10) = line();
    s.WorstDays(10) = line();
    while (!in.eof()) {
        if (s.Passbook.size() >= static_cast<std::size_t>(kPassbookMaxDays))
            throw FileFailure(kErrOutOfMemory, path);
        s.Passbook.push_back(day(line()));
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

bool IsPossibleDate(std::u16string_view yyyymmdd) {
    if (yyyymmdd.size() != 8) return false;
    int v[3] = {0, 0, 0};
    const int widths[3] = {4, 2, 2};
    std::size_t at = 0;
    for (int f = 0; f < 3; ++f)
        for (int i = 0; i < widths[f]; ++i, ++at) {
            const char16_t c = yyyymmdd[at];
            if (c < u'0' || c > u'9') return false;
            v[f] = v[f] * 10 + (c - u'0');
        }
    const int year = v[0], month = v[1], day = v[2];
    if (year < 1 || month < 1 || month > 12 || day < 1) return false;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

std::string PassbookPath(const AppState& s) {
    return JoinPath(s.HomeFolder, "\\Korvane.txt");
}

std::string PassbookLine(const PassbookEntry& e) {
    // A slot never filled has a blank date; the file marks it as empty.
    const bool blank = e.date.view().find_first_not_of(u' ') == std::u16string_view::npos;
    return EncodeSjis(blank ? kEmptyDate.view() : e.date.view()) + Field(e.stake, 8) +
           Field(e.payout, 8) + Field(e.profit, 9);
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
    auto empty = [](const PassbookEntry& e) {
        return e.stake == 0 && e.payout == 0 && e.profit == 0 &&
               (e.date == kEmptyDate || e.date == FixedText<8>());
    };
    while (end > kPassbookDaySlots + 1 && empty(s.Passbook[end - 1]) && empty(s.Passbook[end - 2]))
        --end;
    for (std::size_t i = kPassbookDaySlots; i < end; ++i) put(s.Passbook[i]);
    return t;
}

PassbookEntry ParsePassbookLine(std::string_view line) {
    // 33 characters take 66 bytes at most: a long line costs no more.
    std::u16string t =
        PadTo(QuickDecodeSjis(line.substr(0, 2 * kPassbookLineLength)), kPassbookLineLength);
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
// like a malformed text. A failure is shown unless quiet is set and the last
// read failed too (the user has been told).
template <typename F>
void FillPassbook(AppState& s, F&& contentOf, bool quiet = false) {
    const bool failedBefore = s.PassbookReadFailed;
    const std::string path = PassbookPath(s);
    s.Passbook.assign(kPassbookDaySlots, PassbookEntry{});
    s.PassbookCount = kPassbookDaySlots - 1;
    s.PassbookStakeSum = 0;
    s.PassbookPayoutSum = 0;
    s.PassbookProfitSum = 0;
    s.PassbookReadFailed = false;
    // A short file has no lists beyond its last line: nothing of an earlier
    // read may come back from memory.
    for (int i = 0; i <= 10; ++i) s.BestDays(i) = s.WorstDays(i) = EmptyEntry();
    auto failed = [&](const RunError& e) {
        s.PassbookCount = Narrow<int32_t>(s.Passbook.size()) - 1;
        s.PassbookReadFailed = true;
        if (!(quiet && failedBefore)) ReportRunError(s, e);
    };
    try {
        std::string content = contentOf();
        if (content.size() > kPassbookMaxBytes) throw FileFailure(kErrOutOfMemory, path);
        LineReader in(std::move(content));
        ReadLines(s, in, path);
    } catch (const RunError& e) {
        // A short file lost nothing by being read: every line it has is in
        // the tables, so it may be written again.
        if (e.number == kErrPastEnd) {
            s.PassbookCount = Narrow<int32_t>(s.Passbook.size()) - 1;
        } else {
            failed(e.description.find('\n') == std::string::npos ? FileFailure(e.number, path) : e);
        }
    } catch (const std::bad_alloc&) {
        failed(FileFailure(kErrOutOfMemory, path));
    }
}

void ReadPassbookFile(AppState& s, bool quiet) {
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
        // The report command writes nothing: the fresh book lives in memory
        // only. A book the look above missed (a network drive gone for a
        // moment) is read, never replaced by a blank one.
        if (!s.ReadOnly && !CreateNewFile(path, content)) {
            created = false;
            content.clear();
        }
    });
    // A book that could not be created is still read as a fresh one, so the
    // tables hold the ten empty day slots the posting relies on.
    FillPassbook(
        s, [&] { return created ? std::move(content) : ReadFileUpTo(path, kPassbookMaxBytes); },
        quiet);
}

}  // namespace

void ReadPassbook(AppState& s) {
    ReadPassbookFile(s, false);
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
    Reported(s,
             [&] { ReplaceFile(PassbookPath(s), PassbookFileText(s), OldFile::kKeepDaysFirst); });
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

// A book found missing is written only as a new file: false when one is
// there after all.
bool WriteNewPassbook(AppState& s) {
    if (s.PassbookBusy == 1 || s.PassbookReadFailed) return true;
    s.PassbookBusy = 1;
    BusyGuard busy{s};
    bool done = true;
    Reported(s, [&] { done = CreateNewFile(PassbookPath(s), PassbookFileText(s)); });
    return done;
}

// Enters the day into the tables; true when they changed.
bool EnterDay(AppState& s, const PassbookEntry& today) {
    // Worked on copies: a failure half-way leaves the tables as they were.
    std::vector<PassbookEntry> book = s.Passbook;
    int32_t count = s.PassbookCount;
    auto best = s.BestDays;
    auto worst = s.WorstDays;
    bool changed = false;

    // The whole list is searched first: a list out of date order (a hand
    // edit, another tool) may hold the day below an older one.
    int32_t found = -1;
    for (int32_t i = 0; i <= count && found < 0; ++i)
        if (At(book, i).date == today.date) found = i;
    if (found >= 0) {
        // A corrected result changes the payout; later bets the stake.
        PassbookEntry& e = At(book, found);
        if (e.stake != today.stake || e.payout != today.payout) {
            e = today;
            changed = true;
        }
    } else {
        for (int32_t i = 0; i <= count; ++i) {
            if (!(today.date > At(book, i).date)) continue;
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
    return changed;
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
        // A date no calendar has (a damaged race programme) would make the
        // book unreadable from the next start on.
        if (!IsPossibleDate(today.date.view())) return;

        for (int attempt = 0; attempt < 2; ++attempt) {
            // Another copy of the program, or a hand edit, may have changed
            // the file since it was read: post into what it holds now. A file
            // that cannot be read now is not written (the read marks it); one
            // deleted meanwhile is written again from what was read before.
            const bool onDisk = !s.ReadOnly && FileExists(PassbookPath(s));
            if (onDisk) ReadPassbookFile(s, true);
            if (!EnterDay(s, today)) return;
            if (onDisk || s.ReadOnly) {
                WritePassbook(s);
                return;
            }
            if (WriteNewPassbook(s)) return;
        }
    } catch (const RunError& e) {
        ReportRunError(s, e);
    } catch (const std::bad_alloc&) {
        ReportRunError(s, RunError(kErrOutOfMemory, ErrorDescription(kErrOutOfMemory)));
    }
}

}  // namespace zb
