// A settings file is read up to 64 KiB; a longer one gives the values found
// there and is never written, since writing it back would cut it.

#include <gtest/gtest.h>

#include <memory>

#include "fixtures/pat98_writer.h"
#include "platform/user_files_test_util.h"
#include "startup/ini.h"
#include "startup/settings.h"

namespace zb {
namespace {

using test::Inode;

struct SizeCase {
    const char* name;
    std::size_t bytes;
    char fill;
    int32_t top0;  // as read
    bool saved;
};

void PrintTo(const SizeCase& c, std::ostream* os) {
    *os << c.name;
}

const SizeCase kSizes[] = {
    {"AtTheBound", kIniMaxBytes, ';', 77, true},
    {"OneByteOver", kIniMaxBytes + 1, ';', 77, false},
    {"TenMbOfBlankLines", 10'000'000, '\n', 77, false},
    {"TenMbInOneLine", 10'000'000, 'x', 77, false},
};

struct SettingsSize : ::testing::TestWithParam<SizeCase> {};

TEST_P(SettingsSize, ReadWithinTheBoundAndWrittenOnlyWhole) {
    const SizeCase& c = GetParam();
    fixture::TempDir dir;
    std::string body = "[WINDOW]\r\nTop0=77\r\n";
    if (c.fill != ';') body += std::string(c.bytes - body.size() - 2, c.fill);
    while (body.size() + 2 < c.bytes) body += "; note\r\n";
    body.resize(c.bytes - 2, ' ');
    body += "\r\n";
    fixture::Pat98Dir(dir.path()).writeBytes("Zubrica98.ini", body);
    const auto before = Inode(dir.path() + "/Zubrica98.ini");
    auto s = std::make_unique<AppState>();
    s->AppFolder = dir.path() + "/";
    LoadSettings(*s);
    EXPECT_EQ(s->settings.Top(0), c.top0);
    s->settings.Top(0) = 88;
    SaveSettings(*s);
    // A write replaces the file, and with it the inode.
    EXPECT_EQ(Inode(dir.path() + "/Zubrica98.ini") != before, c.saved);
    if (c.saved) {
        EXPECT_EQ(IniGet(SettingsPath(*s), "WINDOW", "Top0"), "88");
    }
}

INSTANTIATE_TEST_SUITE_P(Settings, SettingsSize, ::testing::ValuesIn(kSizes),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zb
