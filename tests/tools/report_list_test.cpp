#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "accounting/bet_list.h"
#include "fixtures/demo_day.h"
#include "fixtures/pat98_writer.h"
#include "fixtures/recording_sink.h"
#include "platform/sjis.h"
#include "program/startup.h"
#include "tools/report_run.h"

namespace zb {
namespace {

using test::RunReport;

// The report prints exactly what listdsp builds for the window, byte for byte.
TEST(ReportList, PrintsEachViewOfTheDemoDayAsTheWindowHasIt) {
    fixture::TempDir dir;
    fixture::WriteDemoDay(dir.path());
    auto s = std::make_unique<AppState>();
    fixture::RecordingSink sink;
    s->Messages = &sink;
    StartPlatform platform{dir.path(), dir.path(), 12000, 12000};
    s->ReadOnly = true;
    ASSERT_TRUE(Main(*s, platform));
    for (int view = 0; view < kListViews; ++view) {
        s->ListView = static_cast<int16_t>(view);
        listdsp(*s);
        const auto r = RunReport({"--folder", dir.path(), "--list", std::to_string(view)});
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out, U16ToUtf8(s->ReportText)) << view;
    }
    EXPECT_EQ(s->ReportText.substr(0, 13), u"【的中しているベット】\r\n");
    EXPECT_TRUE(sink.messages.empty());
}

TEST(ReportList, BadViewIsAUsageError) {
    const std::vector<std::vector<std::string>> bad{{"4"},  {"-1"}, {"x"},
                                                    {"01"}, {""},   {"1", "--json"}};
    for (const auto& args : bad) {
        std::vector<std::string> all{"--list"};
        all.insert(all.end(), args.begin(), args.end());
        const auto r = RunReport(all);
        EXPECT_EQ(r.status, 1) << args[0];
        EXPECT_EQ(r.out, "") << args[0];
    }
}

}  // namespace
}  // namespace zb
