// SPDX-License-Identifier: GPL-3.0-or-later
#include "regex/detail/URegexMatcher.h"

#include <type_traits>

#include "platform/UUnicode.h"
#include "regex/detail/URegexErrors.h"

namespace qx::detail {

namespace {

bool WordAt(std::u32string_view text, uint32_t pos) { return pos < text.size() && IsWordChar(text[pos]); }

// The end of the run of characters from `pos` (before `limit`) that a character test accepts.
uint32_t RunEnd(const TProgram& prog, const TInst& test, const char32_t* text, uint32_t pos, uint32_t limit) {
  if (test.op == TOp::Any) return limit;
  while (pos < limit && prog.TestMatches(test, text[pos])) ++pos;
  return pos;
}

// The first run of characters from `from` that a single-run program's test accepts (one
// character of it when the test does not repeat).
template <typename TChar>
bool FindSingleRun(const TProgram& prog, std::basic_string_view<TChar> text, std::size_t from, std::size_t& start,
                   std::size_t& end) {
  const TInst& test = prog.code[prog.runTest];
  auto matches = [&](char32_t c) { return c < 256 ? prog.run.Contains(c) : prog.TestMatches(test, c); };
  auto code = [&](std::size_t i) { return static_cast<char32_t>(static_cast<std::make_unsigned_t<TChar>>(text[i])); };
  const std::size_t size = text.size();
  start = from;
  while (start < size && !matches(code(start))) ++start;
  if (start == size) return false;
  end = start + 1;
  if (prog.runRepeats) {
    while (end < size && matches(code(end))) ++end;
  }
  return true;
}

}  // namespace

bool TMatcher::Search(const TProgram& prog, TSubject& subject, std::size_t from, bool fresh, TCaptures& captures) {
  if (prog.loopStackDepth > kLoopStackSize) ThrowExecError(TRegexErrorCode::LoopStackExceeded);
  if (fresh) m_steps = 0;
  // The refusals that need neither the decoded text nor any set-up come first.
  if (from > 0 && (prog.anchored || from > subject.Length())) return false;
  m_prog = &prog;
  // One run of one test is a scan already, with no set-up to save.
  if (prog.singleRun) return SearchSingleRun(subject, from, captures);
  const std::size_t fromByte = from > 0 ? subject.ByteOffset(from) : 0;
  if (!prog.prefilter.MayMatch(subject.Bytes().substr(fromByte), subject.Ascii())) return false;
  subject.Decode();
  m_text = subject.Text();
  m_from = static_cast<uint32_t>(from);
  m_caps = &captures;
  // Most programs have no counted loop, and the set-up runs once per match of a Replace.
  if (!prog.loops.empty()) {
    m_counters.assign(prog.loops.size(), 0);
    m_iterationStarts.assign(prog.loops.size(), kUnset);
    m_keyed.Clear();  // only states inside counted loops are kept there
  }
  m_stars.assign(prog.starCount, TStarState{kUnset, kUnset});
  // One failed state stays failed for every later start position of this search.
  const std::size_t bits = static_cast<std::size_t>(prog.memoWidth) * (m_text.size() - from + 1);
  m_bitsetOn = bits <= kMaxMemoBits;
  m_budgeted = prog.needsBudget || !m_bitsetOn;
  m_memo.assign(m_bitsetOn ? (bits + 63) / 64 : 0, 0);

  const std::size_t size = m_text.size();
  for (std::size_t start = from; start <= size; ++start) {
    if (prog.anchored && start > 0) break;
    if (size - start < prog.minLength) break;
    if (prog.useFirstSet) {
      while (start < size && !prog.first.Contains(m_text[start])) ++start;
      if (start == size) break;
    }
    if (Run(static_cast<uint32_t>(start))) {
      return true;
    }
  }
  return false;
}

bool TMatcher::SearchSingleRun(TSubject& subject, std::size_t from, TCaptures& captures) const {
  std::size_t start = 0;
  std::size_t end = 0;
  // Where every byte is a character, the bytes are scanned as they are.
  if (subject.Ascii() ? !FindSingleRun(*m_prog, subject.Bytes(), from, start, end)
                      : (subject.Decode(), !FindSingleRun(*m_prog, subject.Text(), from, start, end))) {
    return false;
  }
  // The saves before the test record the start, those after it the end.
  captures.fill(kUnset);
  captures[0] = static_cast<uint32_t>(start);
  captures[1] = static_cast<uint32_t>(end);
  bool before = true;
  for (const TInst& inst : m_prog->code) {
    if (inst.op == TOp::Save) {
      captures[inst.a] = static_cast<uint32_t>(before ? start : end);
    } else if (inst.op != TOp::Match) {
      before = false;
    }
  }
  return true;
}

bool TMatcher::Visited(uint32_t pc, uint32_t pos) {
  const TProgram& prog = *m_prog;
  if (prog.memoKind[pc] != TMemoKind::Bitset) return VisitedKeyed(pc, pos);
  if (!m_bitsetOn) return false;
  const std::size_t bit = static_cast<std::size_t>(pos - m_from) * prog.memoWidth + prog.memoIndex[pc];
  uint64_t& word = m_memo[bit >> 6];
  const uint64_t mask = uint64_t{1} << (bit & 63);
  if (word & mask) return true;
  word |= mask;
  return false;
}

bool TMatcher::VisitedKeyed(uint32_t pc, uint32_t pos) {
  // Inside counted loops the state also holds, for each loop around pc, its counter and
  // whether its iteration is still empty (which decides what its LoopNext does).
  const TProgram& prog = *m_prog;
  m_key.assign({pc, pos});
  for (int instance = prog.loopInstanceOf[pc]; instance >= 0;) {
    const TLoopInstance& loop = prog.loopInstances[static_cast<std::size_t>(instance)];
    m_key.push_back(m_counters[loop.slot]);
    m_key.push_back(m_iterationStarts[loop.slot] == pos ? 1 : 0);
    instance = loop.parent;
  }
  return !m_keyed.Insert(m_key);
}

uint32_t TMatcher::PlaceToGoOn(uint32_t star, uint32_t highest, uint32_t lowest) const {
  if (m_prog->starFollow.empty()) return highest;
  // A place the code after the star cannot start at would fail there at once.
  const TStarFollow& follow = m_prog->starFollow[star];
  for (uint32_t place = highest;; --place) {
    if (!follow.Excludes(m_text, place)) return place;
    if (place == lowest) return kUnset;
  }
}

bool TMatcher::AssertHolds(TAssertKind kind, uint32_t pos) const {
  const auto size = static_cast<uint32_t>(m_text.size());
  switch (kind) {
    case TAssertKind::LineStart:
    case TAssertKind::TextStart: return pos == 0;
    case TAssertKind::MultiLineStart: return pos == 0 || IsLineSeparator(m_text[pos - 1]);
    case TAssertKind::LineEnd:
    case TAssertKind::TextEnd: return pos == size;
    case TAssertKind::MultiLineEnd: return pos == size || IsLineSeparator(m_text[pos]);
    case TAssertKind::WordBoundary: return (pos > 0 && WordAt(m_text, pos - 1)) != WordAt(m_text, pos);
    case TAssertKind::NotWordBoundary: return (pos > 0 && WordAt(m_text, pos - 1)) == WordAt(m_text, pos);
  }
  return false;
}

bool TMatcher::BackRefMatches(uint32_t group, bool ignoreCase, uint32_t& pos) const {
  const uint32_t start = (*m_caps)[2 * group];
  const uint32_t end = (*m_caps)[2 * group + 1];
  if (start == kUnset || end == kUnset || end < start) return false;
  const uint32_t length = end - start;
  if (m_text.size() - pos < length) return false;
  for (uint32_t i = 0; i < length; ++i) {
    const char32_t want = m_text[start + i];
    const char32_t have = m_text[pos + i];
    if (want != have && !(ignoreCase && unicode::EqualIgnoringCase(want, have))) return false;
  }
  pos += length;
  return true;
}

bool TMatcher::Run(uint32_t start) {
  const TProgram& prog = *m_prog;
  const TInst* code = prog.code.data();
  const char32_t* text = m_text.data();
  const auto size = static_cast<uint32_t>(m_text.size());
  uint32_t pc = 0;
  uint32_t pos = start;
  m_stack.clear();
  m_caps->fill(kUnset);
  (*m_caps)[0] = start;

  for (;;) {
    if (m_budgeted && ++m_steps > kStepBudget) ThrowExecError(TRegexErrorCode::MatchTooComplex);
    bool ok = true;
    if (prog.memoKind[pc] != TMemoKind::None && Visited(pc, pos)) {
      ok = false;
    } else {
      const TInst& inst = code[pc];
      switch (inst.op) {
        case TOp::Char:
        case TOp::CharIgnoreCase:
        case TOp::Any:
        case TOp::AnyButLineBreak:
        case TOp::Class:
          ok = pos < size && prog.TestMatches(inst, text[pos]);
          ++pos, ++pc;
          break;
        case TOp::String:
        case TOp::StringIgnoreCase: {
          const uint32_t length = inst.b;
          ok = size - pos >= length;
          const char32_t* literal = prog.literals.data() + inst.a;
          for (uint32_t i = 0; ok && i < length; ++i) {
            const char32_t c = text[pos + i];
            ok =
                c == literal[i] || (inst.op == TOp::StringIgnoreCase && unicode::SimpleUpper(c) == literal[length + i]);
          }
          pos += length, ++pc;
          break;
        }
        case TOp::Assert:
          ok = AssertHolds(inst.assertKind, pos);
          ++pc;
          break;
        case TOp::BackRef:
        case TOp::BackRefIgnoreCase:
          ok = BackRefMatches(inst.a, inst.op == TOp::BackRefIgnoreCase, pos);
          ++pc;
          break;
        case TOp::Save:
          // With nothing to go back to, a failure ends the run, and the next run starts
          // with every capture unset anyway.
          if (!m_stack.empty()) m_stack.push_back({TFrameKind::RestoreCapture, inst.a, (*m_caps)[inst.a], 0});
          (*m_caps)[inst.a] = pos;
          ++pc;
          break;
        case TOp::Split:
          m_stack.push_back({TFrameKind::Branch, inst.b, pos, 0});
          pc = inst.a;
          break;
        case TOp::Jump: pc = inst.a; break;
        case TOp::LoopInit:
          m_stack.push_back({TFrameKind::RestoreCounter, inst.a, m_counters[inst.a], 0});
          m_counters[inst.a] = 0;
          ++pc;
          break;
        case TOp::LoopTest: {
          const TLoop& loop = prog.loops[inst.a];
          const uint32_t count = m_counters[inst.a];
          if (count < loop.min) {
            ++pc;
          } else if (count >= loop.max) {
            pc = inst.b;
          } else if (loop.lazy) {
            m_stack.push_back({TFrameKind::Branch, pc + 1, pos, 0});
            pc = inst.b;
          } else {
            m_stack.push_back({TFrameKind::Branch, inst.b, pos, 0});
            ++pc;
          }
          break;
        }
        case TOp::LoopBody:
          m_stack.push_back({TFrameKind::RestoreIterationStart, inst.a, m_iterationStarts[inst.a], 0});
          m_iterationStarts[inst.a] = pos;
          ++pc;
          break;
        case TOp::LoopNext:
          if (pos == m_iterationStarts[inst.a]) {
            pc = code[inst.b].b;
            break;
          }
          m_stack.push_back({TFrameKind::RestoreCounter, inst.a, m_counters[inst.a], 0});
          ++m_counters[inst.a];
          pc = inst.b;
          break;
        case TOp::GreedyStar: {
          const TInst& test = code[pc + 1];
          uint32_t end = pos;
          uint32_t highest;
          if (prog.memoKind[pc + 2] == TMemoKind::Bitset && m_bitsetOn) {
            // Every start within one run of matching characters reaches the same end, and
            // what an earlier start tried from that end down has failed (or is being
            // tried above us), so only the positions below it are new.
            TStarState& star = m_stars[inst.a];
            const bool known = star.runEnd != kUnset;
            if (known && pos >= star.low && pos <= star.runEnd) {
              ok = false;
              break;
            }
            const uint32_t limit = known && pos < star.low ? star.low : size;
            end = RunEnd(prog, test, text, pos, limit);
            if (known && end == star.low) {
              end = star.runEnd;
              highest = star.low - 1;
            } else {
              highest = end;
            }
            star = {end, pos};
          } else {
            end = RunEnd(prog, test, text, pos, size);
            highest = end;
          }
          const uint32_t place = PlaceToGoOn(inst.a, highest, pos);
          if (place == kUnset) {
            ok = false;
            break;
          }
          if (place > pos) m_stack.push_back({TFrameKind::GiveBack, pc + 2, place, pos});
          pos = place;
          pc += 2;
          break;
        }
        case TOp::Match: (*m_caps)[1] = pos; return true;
      }
    }
    if (ok) continue;

    // Back to the latest open alternative, undoing captures and counters on the way.
    for (;;) {
      if (m_stack.empty()) return false;
      TFrame& top = m_stack.back();
      if (top.kind == TFrameKind::GiveBack) {
        const uint32_t place = PlaceToGoOn(code[top.a - 2].a, top.b - 1, top.c);
        if (place == kUnset) {
          m_stack.pop_back();
          continue;
        }
        pc = top.a;
        pos = top.b = place;
        if (place == top.c) m_stack.pop_back();
        break;
      }
      const TFrame frame = top;
      m_stack.pop_back();
      if (frame.kind == TFrameKind::Branch) {
        pc = frame.a;
        pos = frame.b;
        break;
      }
      if (frame.kind == TFrameKind::RestoreCapture) {
        (*m_caps)[frame.a] = frame.b;
      } else if (frame.kind == TFrameKind::RestoreCounter) {
        m_counters[frame.a] = frame.b;
      } else {
        m_iterationStarts[frame.a] = frame.b;
      }
    }
  }
}

}  // namespace qx::detail
