// SPDX-License-Identifier: GPL-3.0-or-later
// The compiled form of an expression: instructions for the backtracking matcher and
// the facts the search uses to skip start positions. Built by the compiler only.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/UUnicode.h"
#include "regex/detail/URegexAst.h"
#include "regex/detail/URegexCharClass.h"
#include "regex/detail/URegexPrefilter.h"

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
  Save,               // a: capture slot (2 * group, 2 * group + 1) of groups from 1
  Split,              // try a, then b
  Jump,               // a: target
  LoopInit,           // a: loop slot
  LoopTest,           // a: loop slot, b: exit
  LoopBody,           // a: loop slot; an iteration starts here
  LoopNext,           // a: loop slot, b: the loop's LoopTest; an empty iteration ends the loop
  GreedyStar,         // a: star index; takes the longest run of what the next instruction
                      // matches, then gives back one character at a time, skipping places
                      // where what follows cannot start; goes on at pc + 2
  Match,              // records the end of the whole match; its start is where the run began
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

// The characters that the code after a GreedyStar can start with. When it can also
// succeed without reading a character, nothing is skipped.
struct TStarFollow {
  TCharSet set;
  bool canBeEmpty = true;

  bool Excludes(std::u32string_view text, uint32_t pos) const {
    return !canBeEmpty && (pos == text.size() || !set.Contains(text[pos]));
  }
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
  int loopStackDepth = 0;    // deepest nesting of counted repetitions
  bool needsBudget = false;  // some state is not remembered, so the work must be capped
  bool anchored = false;     // can match only at the start of the input
  uint32_t minLength = 0;    // characters any match needs
  TPrefilter prefilter;      // what the input's bytes must contain
  // The expression is one character test, or a greedy run of one, inside captures only
  // ("[aeiou]", "(\\d+)"): the search needs no backtracking at all.
  bool singleRun = false;
  uint32_t runTest = 0;      // pc of the character test
  TCharSet run;              // what the test answers below 256
  bool runRepeats = false;   // the test is followed by its GreedyStar
  bool useFirstSet = false;  // every match starts with a character of the first set
  TCharSet first;
  // Per GreedyStar: what the code after it needs at the place where it goes on, so the
  // star gives back only to places where that can start. Empty: every place is tried.
  std::vector<TStarFollow> starFollow;

  // What a character test (Char, CharIgnoreCase, Any, AnyButLineBreak, Class) says of c.
  bool TestMatches(const TInst& test, char32_t c) const {
    switch (test.op) {
      case TOp::Char: return c == test.a;
      case TOp::CharIgnoreCase: return c == test.a || unicode::SimpleUpper(c) == test.b;
      case TOp::Any: return true;
      case TOp::AnyButLineBreak: return !IsLineSeparator(c);
      case TOp::Class: return classes[test.a].Matches(c);
      default: return false;
    }
  }
  // The characters a character test or a String accepts first: exact below 256, a
  // possibility above.
  TCharSet FirstOf(const TInst& inst) const;
};

}  // namespace qx::detail
