// The parsers given a file's bytes fill the state as the readers do from the
// folder, and bytes beyond the layout's bound change nothing.

#include <gtest/gtest.h>

#include "accounting/settlement.h"
#include "fixtures/loaded_day.h"
#include "program/startup.h"

namespace zb {
namespace {

using namespace fixture;

std::string Figures(const AppState& s) {
    std::string f = std::to_string(s.MeetingCount) + " " + std::to_string(s.AccountBalance) + " " +
                    std::to_string(s.BetCount) + " " + std::to_string(s.StakeTotal) + " " +
                    std::to_string(s.PayoutCount) + " " + std::to_string(s.PayoutTotal) + " " +
                    std::to_string(s.OpenStake);
    for (int i = 0; i < s.BetCount; ++i) f += "|" + U16ToUtf8(s.BetLog(i).view());
    return f;
}

// tail: appended to every file's bytes; far past each layout's bound.
void ParseDay(const LoadedDay& d, AppState& s, const std::string& tail) {
    auto bytes = [&](const std::string& name) { return ReadAll(d.dir.file(name)) + tail; };
    const std::string programme = bytes("UY-A.JRA");
    ParseProgramme(s, {programme});
    s.RaceStatus.fill(0);
    s.PayoutCount = 0;
    ParseRaceResultFile(s, 5, 1, bytes("KS-56521.JRA"));
    const char* payouts[] = {"TH-5652.JRA", "FH-5652.JRA", "WH-5652.JRA", "UH-5652.JRA",
                             "KH-5652.JRA"};
    for (int k = 0; k < 5; ++k)
        ParsePayoutFile(s, static_cast<PayoutFile>(k), 5, bytes(payouts[k]));
    const std::string index = bytes("LG-FILE.JRA");
    const PurchaseFiles files = [&](std::u16string_view name) -> std::optional<std::string> {
        if (name != u"P0001") return std::nullopt;
        return bytes("P0001.JRA");
    };
    ParseAlog(s, index, files);
    ParseBlog(s, index, files);
    comp(s);
}

TEST(Parsers, FillTheStateAsTheReadersDo) {
    LoadedDay d;
    d.load(SmallSettledDay());
    LoadAll(*d.s);
    ASSERT_FALSE(d.s->LastPassFailed) << d.titles();
    const std::string read = Figures(*d.s);
    EXPECT_EQ(read,
              "1 100000 2 500 60 3150 0|105011000700030110004500001|105024030700020110009000001");

    for (const std::string& tail : {std::string(), std::string(1 << 20, '9')}) {
        auto s = std::make_unique<AppState>();
        ParseDay(d, *s, tail);
        EXPECT_EQ(Figures(*s), read) << tail.size();
    }
}

}  // namespace
}  // namespace zb
