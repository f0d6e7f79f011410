// An unassigned double-byte character is one character in every reader: the
// fields after it keep their positions.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "fixtures/case_name.h"
#include "fixtures/loaded_day.h"
#include "program/startup.h"

namespace zb {
namespace {

using fixture::Bet;
using fixture::LoadedDay;
using fixture::RaceDay;
using fixture::RaceResult;

// Turns the first "漢" of a written file into the unassigned pair 0x85 0x40.
void Unassign(const LoadedDay& d, const std::string& name) {
    std::string bytes = fixture::ReadAll(d.dir.file(name));
    const std::size_t at = bytes.find(EncodeSjis(u"漢"));
    ASSERT_NE(at, std::string::npos) << name;
    bytes.replace(at, 2, "\x85\x40");
    d.dir.writeBytes(name, bytes);
}

struct ReaderCase {
    const char* name;
    std::function<void(LoadedDay&)> write;  // with one "漢" where nothing is read
    std::function<void(const LoadedDay&)> check;
};

class UnassignedCharacter : public ::testing::TestWithParam<ReaderCase> {};

TEST_P(UnassignedCharacter, KeepsTheFieldsAfterIt) {
    LoadedDay d;
    RaceDay day("20261206");
    day.meeting(5, 5, 2).buy("20261206", {Bet::Win(5, 1, 6, 2)});
    day.result(5, 1, RaceResult().win(1, 250).scratched(6));
    day.write(d.dir);
    GetParam().write(d);
    RefreshData(*d.s);
    EXPECT_EQ(d.titles(), "");
    GetParam().check(d);
}

void Settled(const LoadedDay& d) {
    EXPECT_EQ(d.bet(0), "10501100060002013   1000001");
}

INSTANTIATE_TEST_SUITE_P(
    Readers, UnassignedCharacter,
    ::testing::Values(
        ReaderCase{"Programme",
                   [](LoadedDay& d) {
                       fixture::ProgrammeFile p;
                       p.date = "20261206";
                       p.second = "05";
                       p.third = "02";
                       d.dir.writeText("UY-A.JRA", d.dir.programmeLine(p).at(13, "漢"));
                       Unassign(d, "UY-A.JRA");
                   },
                   [](const LoadedDay& d) {
                       EXPECT_EQ(d.s->MeetingTable(1, 1), 5);
                       EXPECT_EQ(d.s->MeetingTable(1, 2), 5);
                       EXPECT_EQ(d.s->MeetingTable(1, 3), 2);
                       Settled(d);
                   }},
        ReaderCase{"LogIndex",
                   [](LoadedDay& d) {
                       d.dir.writeText("LG-FILE.JRA",
                                       fixture::LogIndexLine({{"P0001", "20261206"}}).at(1, "漢"));
                       Unassign(d, "LG-FILE.JRA");
                   },
                   Settled},
        ReaderCase{"PurchaseFile",
                   [](LoadedDay& d) {
                       d.dir.writeText(
                           "P0001.JRA",
                           fixture::PurchaseLine("0001", {Bet::Win(5, 1, 6, 2)}).at(1, "漢"));
                       Unassign(d, "P0001.JRA");
                   },
                   Settled},
        ReaderCase{"ResultFile",
                   [](LoadedDay& d) {
                       fixture::WriteResultFile(
                           d.dir, "KS-56521.JRA",
                           RaceResult().win(1, 250).scratched(6).text().at(230, "漢"));
                       Unassign(d, "KS-56521.JRA");
                   },
                   [](const LoadedDay& d) {
                       EXPECT_EQ(d.s->PayoutCount, 1 + 36);  // one win, horse 6's refunds
                       Settled(d);
                   }},
        ReaderCase{
            "SeedFile",
            [](LoadedDay& d) {
                d.dir.seed(d.tmp.path() + "/漢x");
                Unassign(d, "zubrica.txt");
                // The folder it then names, with the programme: a redirect is taken.
                const std::string far = d.tmp.path() + "/\uFFFDx";
                std::filesystem::create_directory(std::filesystem::path(d.tmp.path()) /
                                                  std::filesystem::path(u8"\uFFFDx"));
                fixture::Pat98Dir(far).writeBytes("UY-A.JRA",
                                                  fixture::ReadAll(d.dir.file("UY-A.JRA")));
            },
            [](const LoadedDay& d) { EXPECT_EQ(d.s->Pat98Folder, d.tmp.path() + "/\uFFFDx"); }}),
    fixture::CaseName<ReaderCase>);

}  // namespace
}  // namespace zb
