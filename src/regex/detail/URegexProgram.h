// The compiled form of an expression: instructions for the backtracking matcher and
// the facts the search uses to skip start positions. Built by the compiler only.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "regex/detail/URegexAst.h"
#include "regex/detail/URegexCharClass.h"

namespace qx::detail {

enum class TOp : uint8_t {
  Char,              // a: code point
  CharIgnoreCase,    // a: code point, b: its upper-case form
  String,            // a: offset in literals, b: length
  StringIgnoreCase,  // as String; the upper-case forms follow the text in literals
  Any,
  AnyButLineBreak,
  Class,              // a: class index
  Assert,             // assertKind
  BackRef,            // a: group
  BackRefIgnoreCase,  // a: group
  Save,               // a: capture slot (2 * group, 2 * group + 1)
  Split,              // try a, then b
  Jump,               // a: target
  LoopInit,           // a: loop slot
  LoopTest,           // a: loop slot, b: exit
  LoopBody,           // a: loop slot; an iteration starts here
  LoopNext,           // a: loop slot, b: the loop's LoopTest; an empty iteration ends the loop
  GreedyStar,         // a: star index; takes the longest run of what the next instruction
                      // matches, then gives back one character at a time; goes on at pc + 2
  Match,
};

struct TInst {
  TOp op;
  TAssertKind assertKind = TAssertKind::LineStart;
  uint32_t a = 0;
  uint32_t b = 0;
};

// A counted repetition run with a counter, for counts too large to write out. An
// iteration that matches the empty text ends such a loop (as Perl does), so it never
// goes round millions of times without consuming anything.
struct TLoop {
  uint32_t min;
  uint32_t max;
  bool lazy;
};

// One written-out copy of a counted loop: the code from its LoopTest to its exit.
struct TLoopInstance {
  uint32_t slot;
  int parent;  // the instance around this one, -1 at top level
};

enum class TMemoKind : uint8_t {
  None,    // not remembered: straight-line code, or a back-reference may follow
  Bitset,  // (pc, position) in the bitset
  Keyed,   // inside counted loops: (pc, position, counters) in a hash set
};

struct TProgram {
  std::vector<TInst> code;
  std::u32string literals;
  std::vector<TCharClass> classes;
  std::vector<TLoop> loops;
  std::vector<TLoopInstance> loopInstances;

  std::vector<TMemoKind> memoKind;  // per pc
  std::vector<uint32_t> memoIndex;  // per pc with Bitset memo: its column
  std::vector<int> loopInstanceOf;  // per pc: innermost loop instance, -1 outside any
  uint32_t memoWidth = 0;
  uint32_t starCount = 0;

  int groupCount = 0;
  int loopStackDepth = 0;                        // deepest nesting of counted repetitions
  bool needsBudget = false;                      // some state is not remembered, so the work must be capped
  bool anchored = false;                         // can match only at the start of the input
  std::vector<std::u32string> requiredLiterals;  // texts every match contains
  uint32_t minLength = 0;                        // characters any match needs
  // The expression is one character test, or a greedy run of one, inside captures only
  // ("[aeiou]", "(\\d+)"): the search needs no backtracking at all.
  bool singleRun = false;
  uint32_t runTest = 0;              // pc of the character test
  std::array<uint64_t, 4> runLow{};  // what the test answers below 256
  bool runRepeats = false;           // the test is followed by its GreedyStar
  bool useFirstSet = false;          // every match starts with a character of the first set
  std::array<uint64_t, 4> firstLow{};
  bool firstHigh = false;

  // What a character test (Char, CharIgnoreCase, Any, AnyButLineBreak, Class) says of c.
  bool TestMatches(const TInst& test, char32_t c) const;

  bool RunMatches(char32_t c) const { return c < 256 && ((runLow[c >> 6] >> (c & 63)) & 1); }

  bool MayStartWith(char32_t c) const {
    if (c < 256) return (firstLow[c >> 6] >> (c & 63)) & 1;
    return firstHigh;
  }
};

}  // namespace qx::detail
