// SPDX-License-Identifier: GPL-3.0-or-later
// The backtracking matcher: runs a compiled program over code points with an explicit
// stack (never recursing per character) and remembers the (instruction, position)
// states that failed, so work stays bounded by program size times input length.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "regex/UTRegexEngine.h"
#include "regex/detail/URegexProgram.h"
#include "regex/detail/URegexStateSet.h"
#include "regex/detail/URegexSubject.h"

namespace qx::detail {

constexpr int kCaptureSlots = 2 * (TRegexEngine::kMaxGroup + 1);  // every group's start and end
constexpr uint32_t kUnset = UINT32_MAX;
// Deepest nesting of counted repetitions that a search accepts.
constexpr int kLoopStackSize = 10;
// Steps that a search started by Exec, with the ExecNext searches that continue it, may
// take where some states cannot be remembered; so one Replace is bounded as a whole.
constexpr uint64_t kStepBudget = 1'000'000;
// Remembered states inside counted loops; past this, further ones are not remembered,
// which costs time (within the budget) but never correctness.
constexpr std::size_t kMaxKeyedStates = 100'000;
// Largest bitset of failed states; a longer input is searched without it, within the budget.
constexpr std::size_t kMaxMemoBits = std::size_t{1} << 28;

using TCaptures = std::array<uint32_t, kCaptureSlots>;

class TMatcher {
 public:
  // Searches the subject from character `from` for the leftmost match. On success
  // `captures` holds the start and end of each group (kUnset where a group took no part);
  // otherwise its content is undefined.
  // Raises "Loop Stack Exceeded" and "Match Too Complex". `fresh` starts a new step budget
  // (Exec); otherwise the search goes on spending the previous one (ExecNext). The
  // subject is decoded only when its bytes pass the prefilter.
  bool Search(const TProgram& prog, TSubject& subject, std::size_t from, bool fresh, TCaptures& captures);

 private:
  enum class TFrameKind : uint8_t { Branch, RestoreCapture, RestoreCounter, RestoreIterationStart, GiveBack };
  struct TFrame {
    TFrameKind kind;
    uint32_t a;  // Branch, GiveBack: pc; Restore*: slot
    uint32_t b;  // Branch, GiveBack: position; Restore*: old value
    uint32_t c;  // GiveBack: the lowest position to give back to
  };
  // What one GreedyStar has tried in this search: from `low` up to the end of the run
  // of matching characters that ends at `runEnd`.
  struct TStarState {
    uint32_t runEnd;
    uint32_t low;
  };

  bool Run(uint32_t start);
  bool SearchSingleRun(TSubject& subject, std::size_t from, TCaptures& captures) const;
  bool Visited(uint32_t pc, uint32_t pos);
  bool VisitedKeyed(uint32_t pc, uint32_t pos);
  // The highest place from `highest` down to `lowest` where the code after a GreedyStar
  // may go on; kUnset when there is none.
  uint32_t PlaceToGoOn(uint32_t star, uint32_t highest, uint32_t lowest) const;
  bool BackRefMatches(uint32_t group, bool ignoreCase, uint32_t& pos) const;
  bool AssertHolds(TAssertKind kind, uint32_t pos) const;

  const TProgram* m_prog = nullptr;
  std::u32string_view m_text;
  uint32_t m_from = 0;
  TCaptures* m_caps = nullptr;  // the caller's: a run writes its captures in place
  std::vector<uint32_t> m_counters;
  std::vector<uint32_t> m_iterationStarts;  // per counted loop: where its current iteration began
  std::vector<TFrame> m_stack;
  std::vector<uint64_t> m_memo;
  std::vector<TStarState> m_stars;
  TStateSet m_keyed{kMaxKeyedStates};
  std::vector<uint32_t> m_key;
  uint64_t m_steps = 0;
  bool m_bitsetOn = true;  // the bitset fits for this input
  bool m_budgeted = false;
};

}  // namespace qx::detail
