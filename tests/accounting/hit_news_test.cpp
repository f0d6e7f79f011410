// The hit notification: new hits of a refresh in one text with their sum,
// the settled day once, and nothing that was settled at start or told before.

#include "accounting/hit_news.h"

#include <gtest/gtest.h>

#include "fixtures/loaded_day.h"
#include "platform/sjis.h"

namespace zb {
namespace {

std::string Told(HitNews& news, const AppState& s) {
    return U16ToUtf8(news.Tell(s));
}

TEST(HitNews, NewHitsAndTheSettledDayAreToldOnce) {
    fixture::LoadedDay d;
    const std::string later = fixture::StartWithResultsLater(d);
    HitNews news;
    news.Know(*d.s);
    EXPECT_EQ(Told(news, *d.s), "");
    for (const auto& e : std::filesystem::directory_iterator(later))
        std::filesystem::copy_file(e.path(), d.tmp.path() + "/" + e.path().filename().string());
    ASSERT_TRUE(RefreshData(*d.s));
    EXPECT_EQ(Told(news, *d.s),
              "的中 東京1R 単勝 7 1,350円\n的中 東京2R 馬連 3-7 1,800円\n計 3,150円\n"
              "全投票が確定しました 損益 +2,650円");
    ASSERT_TRUE(RefreshData(*d.s));  // the same figures again: no news
    EXPECT_EQ(Told(news, *d.s), "");
    HitNews late;  // started on the settled day
    late.Know(*d.s);
    EXPECT_EQ(Told(late, *d.s), "");
}

TEST(HitNews, Grouped) {
    const struct {
        int64_t v;
        bool sign;
        const char* text;
    } cases[] = {{0, true, "0"},
                 {999, false, "999"},
                 {1000, false, "1,000"},
                 {1230, true, "+1,230"},
                 {-1230, true, "-1,230"},
                 {-100000, false, "-100,000"},
                 {INT64_MIN, false, "-9,223,372,036,854,775,808"}};
    for (const auto& c : cases) EXPECT_EQ(U16ToUtf8(Grouped(c.v, c.sign)), c.text) << c.v;
}

}  // namespace
}  // namespace zb
