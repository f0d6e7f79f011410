#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "accounting/bet_list.h"
#include "fixtures/demo_day.h"
#include "fixtures/pat98_writer.h"
#include "fixtures/recording_sink.h"
#include "fixtures/run_command.h"
#include "platform/sjis.h"
#include "startup/startup.h"

namespace zb {
namespace {

using fixture::RunCommand;

std::string Report(const std::string& args) {
    return std::string(ZB_REPORT_BINARY) + " " + args + " 2>/dev/null";
}

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
        const auto r =
            RunCommand(Report("--folder '" + dir.path() + "' --list " + std::to_string(view)));
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out, U16ToUtf8(s->ReportText)) << view;
    }
    EXPECT_EQ(s->ReportText.substr(0, 13), u"【的中しているベット】\r\n");
    EXPECT_TRUE(sink.messages.empty());
}

TEST(ReportList, BadViewIsAUsageError) {
    for (const char* n : {"4", "-1", "x", "01", "", "1 --json"}) {
        const auto r = RunCommand(Report(std::string("--list ") + (*n ? n : "''")));
        EXPECT_EQ(r.status, 1) << n;
        EXPECT_EQ(r.out, "") << n;
    }
}

}  // namespace
}  // namespace zb
