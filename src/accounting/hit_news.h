#pragma once
// The hit notification: which of the day's bets a refresh found newly hit,
// and whether the day has just become settled. What was settled when the
// program started is no news, and nothing is told twice.

#include <map>
#include <string>

#include "startup/app_state.h"

namespace zb {

class HitNews {
  public:
    // What is settled now is known: none of it will be told.
    void Know(const AppState& s);
    // The notification for what a good pass found new, "的中 東京11R 馬連 3-5
    // 12,340円" per hit (with the sum under several) and "全投票が確定しました
    // 損益 +1,230円" when the day has just settled; empty when nothing is new.
    std::u16string Tell(const AppState& s);

  private:
    // Hits by the bet's record without its result fields, counted: a
    // purchase may hold the same bet twice.
    std::map<std::u16string, int> told_;
    std::u16string settledDay_;  // the day told as settled
};

// 12340 as "12,340"; with sign, "+1,230", "-1,230" or "0".
std::u16string Grouped(int64_t v, bool sign = false);

}  // namespace zb
