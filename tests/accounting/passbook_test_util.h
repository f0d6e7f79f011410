#pragma once
// Shared by the passbook tests: passbook lines built from fields, a message
// recorder and a state whose HomeFolder is a temporary folder.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "accounting/passbook.h"
#include "fixtures/pat98_writer.h"
#include "platform/sjis.h"
#include "startup/text.h"

namespace zb::test {

struct RecordingSink : MessageSink {
    std::vector<std::pair<std::string, std::string>> seen;
    void critical(const std::string& title, const std::string& text) override {
        seen.emplace_back(title, text);
    }
};

inline PassbookEntry Entry(std::u16string_view date, int32_t stake, int32_t payout,
                           int32_t profit) {
    PassbookEntry e;
    e.date.assign(date);
    e.stake = stake;
    e.payout = payout;
    e.profit = profit;
    return e;
}
inline PassbookEntry Empty() {
    return Entry(u"00000000", 0, 0, 0);
}

// Distinct days for books of many lines: day n (from 0) of a calendar of
// 28-day months, from January 1900.
inline std::string NthDate(int n) {
    auto two = [](int v) { return std::string(v < 10 ? "0" : "") + std::to_string(v); };
    return std::to_string(1900 + n / 336) + two(n / 28 % 12 + 1) + two(n % 28 + 1);
}

// A line of the file with the fields at their positions.
inline fixture::Line BookLine(std::string_view date, long long stake, long long payout,
                              long long profit) {
    fixture::Line l(33);
    l.at(1, date)
        .at(9, std::string_view(std::to_string(stake)))
        .at(17, std::string_view(std::to_string(payout)))
        .at(25, std::string_view(std::to_string(profit)));
    return l;
}

struct BookFolder {
    fixture::TempDir tmp;
    fixture::Pat98Dir dir{tmp.path()};
    std::unique_ptr<AppState> st = std::make_unique<AppState>();
    AppState& s = *st;
    RecordingSink sink;
    BookFolder() {
        s.HomeFolder = tmp.path();
        s.Messages = &sink;
        s.CurrentProc = "MAIN";
    }
    std::string path() const { return dir.file("Korvane.txt"); }
    std::string fileText() const { return fixture::ReadAll(path()); }
    // Writes the file from lines, each ended with CR LF.
    void writeLines(const std::vector<fixture::Line>& lines) const {
        std::u16string t;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (i > 0) t += u"\r\n";
            t += lines[i].text();
        }
        dir.writeText("Korvane.txt", t, !lines.empty());
    }
    // The file's lines without their ends.
    std::vector<std::string> fileLines() const {
        std::vector<std::string> out;
        std::string t = fileText();
        std::size_t p = 0;
        while (p < t.size()) {
            std::size_t e = t.find("\r\n", p);
            if (e == std::string::npos) {
                out.push_back(t.substr(p) + "<no line end>");
                break;
            }
            out.push_back(t.substr(p, e - p));
            p = e + 2;
        }
        return out;
    }
};

}  // namespace zb::test
