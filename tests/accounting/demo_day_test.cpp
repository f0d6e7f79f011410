#include "fixtures/demo_day.h"

#include <gtest/gtest.h>

#include <string>

#include "fixtures/pat98_writer.h"
#include "tools/report_run.h"

namespace zb {
namespace {

std::string ReportJson(const std::string& folder) {
    return test::RunReport({"--folder", folder, "--json"}).out;
}

bool Has(const std::string& json, const std::string& part) {
    return json.find(part) != std::string::npos;
}

class DemoDay : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir_ = new fixture::TempDir;
        fixture::WriteDemoDay(dir_->path());
        json_ = new std::string(ReportJson(dir_->path()));
    }
    static void TearDownTestSuite() {
        delete json_;
        delete dir_;
    }
    static fixture::TempDir* dir_;
    static std::string* json_;
};
fixture::TempDir* DemoDay::dir_ = nullptr;
std::string* DemoDay::json_ = nullptr;

TEST_F(DemoDay, TokyoRaceOneWorkedByHand) {
    const std::string& j = *json_;
    // Win 3, 5 units at 340: 1700. Place 8, 3 units at 210: 630. Bracket 2-6,
    // 2 units at 1230: 2460. Quinella 3-11 missed (3-8 paid). Wide 3-11, 1 unit
    // at 1510. Win 1 came too late (31). Win 7 is tomorrow's race.
    EXPECT_TRUE(Has(j, "\"105011000300050110003400002\""));
    EXPECT_TRUE(Has(j, "\"105012000800030110002100002\""));
    EXPECT_TRUE(Has(j, "\"105013020600020110012300002\""));
    EXPECT_TRUE(Has(j, "\"10501403110002012      0002\""));
    EXPECT_TRUE(Has(j, "\"105015031100010110015100002\""));
    EXPECT_TRUE(Has(j, "\"10501100010002319      0002\""));
    EXPECT_TRUE(Has(j, "\"20501100070003019      0004\""));
    // The day-kind-1 bet bought the day before is not in the log.
    EXPECT_FALSE(Has(j, "\"105011000800010"));
}

TEST_F(DemoDay, TokyoRaceFiveDeadHeatWorkedByHand) {
    const std::string& j = *json_;
    // Both winners pay: 4 x 250 and 2 x 310; quinella 6-9, 3 x 880.
    EXPECT_TRUE(Has(j, "\"105051000600040110002500002\""));
    EXPECT_TRUE(Has(j, "\"105051000900020110003100002\""));
    EXPECT_TRUE(Has(j, "\"105054060900030110008800002\""));
    EXPECT_TRUE(Has(j, "\"10505200040002012      0002\""));
    EXPECT_TRUE(Has(j, "\"10505303030001219      0002\""));  // same bracket, 21
}

TEST_F(DemoDay, HanshinRaceTenFromPayoutFilesWorkedByHand) {
    const std::string& j = *json_;
    // Horse 5 scratched: the previous day's quinella 3-5 (3 units) and today's
    // place 5 (2 units) come back at 100.
    EXPECT_TRUE(Has(j, "\"30910403050003013   1000001\""));
    EXPECT_TRUE(Has(j, "\"10910200050002013   1000003\""));
    EXPECT_TRUE(Has(j, "\"RaceStatus\":[[0,0,0,0,0,0,0,0,0,0,0,0],"));
    EXPECT_TRUE(Has(j, "[5,0,0,0,5,0,0,0,0,0,5,0]"));  // Tokyo: results 1, 5, 11
    EXPECT_TRUE(Has(j, "[0,0,0,0,0,0,0,0,5,5,4,0]"));  // Hanshin: 11 lacks wide
}

TEST_F(DemoDay, TotalsOfTheDay) {
    const std::string& j = *json_;
    EXPECT_TRUE(Has(j, "\"LastPassFailed\":false"));
    EXPECT_TRUE(Has(j,
                    "\"BetCount\":33,\"StakeTotal\":6100,\"AdvanceStakeNet\":-200,"
                    "\"PayoutTotal\":28690,\"OpenStake\":800,\"TodayBetCount\":27,"));
    EXPECT_TRUE(Has(j, "\"PayoutCount\":133,"));
    EXPECT_TRUE(Has(j, "\"PayoutTable\":[\"050110003000340\","));
}

}  // namespace
}  // namespace zb
