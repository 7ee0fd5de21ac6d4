#include <gtest/gtest.h>

#include "ui/UMaskHistory.h"

namespace qx {
namespace {

using THistory = std::vector<std::string>;

THistory Masks(int from, int to) {
  THistory masks;
  for (int n = from; n <= to; ++n) masks.push_back("*." + std::to_string(n));
  return masks;
}

TEST(UMaskHistoryTest, TheCurrentMaskGoesOnTopOnceAndTheHistoryKeepsTen) {
  struct TRow {
    const char* name;
    THistory before;
    std::string mask;
    THistory after;
  };
  const TRow rows[] = {
      {"empty history", {}, "*.txt", {"*.txt"}},
      {"new mask on top", {"*.a", "*.b"}, "*.c", {"*.c", "*.a", "*.b"}},
      {"the top entry again", {"*.a", "*.b"}, "*.a", {"*.a", "*.b"}},
      {"fourth entry moves up, three shift down",
       {"*.0", "*.1", "*.2", "*.3", "*.4"},
       "*.3",
       {"*.3", "*.0", "*.1", "*.2", "*.4"}},
      {"the last entry", {"*.a", "*.b", "*.c"}, "*.c", {"*.c", "*.a", "*.b"}},
      {"letter case counts", {"*.TXT"}, "*.txt", {"*.txt", "*.TXT"}},
      {"A, B, then A again", {"B", "A"}, "A", {"A", "B"}},
      {"an eleventh mask drops the oldest", Masks(1, 10), "*.new",
       [] {
         THistory h = Masks(1, 9);
         h.insert(h.begin(), "*.new");
         return h;
       }()},
      {"a known mask in a full history keeps ten", Masks(1, 10), "*.10",
       [] {
         THistory h = Masks(1, 9);
         h.insert(h.begin(), "*.10");
         return h;
       }()},
      {"an empty mask is a mask", {"*.a"}, "", {"", "*.a"}},
  };
  for (const TRow& row : rows) {
    THistory history = row.before;
    UpdateMaskHistory(history, row.mask);
    EXPECT_EQ(history, row.after) << row.name;
  }
}

}  // namespace
}  // namespace qx
