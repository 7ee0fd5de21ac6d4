// SPDX-License-Identifier: GPL-3.0-or-later
#include "regex/detail/URegexCompiler.h"

#include <algorithm>
#include <deque>

#include "platform/UUnicode.h"
#include "platform/UUtf8.h"

namespace qx::detail {

namespace {

// A counted repetition is written out while its copies stay this small; larger ones run
// with a counter, so a{1,2000000} stays a handful of instructions.
constexpr std::size_t kMaxExpansion = 2000;
constexpr std::size_t kMaxExpandedProgram = 100000;

// A GreedyStar's follow set is worked out over at most this many instructions; past
// that, every place is tried, so long programs compile in time linear in their size.
constexpr std::size_t kMaxFollowWalk = 256;

// A required run while it is collected, with the UTF-8 text of its latest places that
// are case-sensitive characters.
struct TRunBuilder {
  std::vector<TCharSet> places;
  std::string text;
  bool allText = true;
};

class TCompiler {
 public:
  explicit TCompiler(TAst ast) : m_ast(std::move(ast)) {}

  TProgram Compile() {
    m_prog.groupCount = m_ast.groupCount;
    m_prog.classes = std::move(m_ast.classes);
    // The whole match's start and end are recorded by the matcher and its Match.
    Emit(m_ast.root);
    Add({.op = TOp::Match});

    NumberStars();
    m_prog.loopStackDepth = LoopStackDepth(m_ast.root);
    CollectPrefilter();
    m_prog.anchored = Anchored(m_ast.root);
    m_prog.minLength = MinLength(m_ast.root);
    if (!Node(m_ast.root).nullable) {
      m_prog.useFirstSet = true;
      m_prog.first = First(m_ast.root);
    }
    FindSingleRun();
    FindLoopInstances();
    PlanMemo();
    FindStarFollows();
    return std::move(m_prog);
  }

 private:
  const TNode& Node(int id) const { return m_ast.nodes[static_cast<std::size_t>(id)]; }
  uint32_t Pc() const { return static_cast<uint32_t>(m_prog.code.size()); }
  uint32_t Add(TInst inst) {
    m_prog.code.push_back(inst);
    return Pc() - 1;
  }

  void Emit(int id) {
    const TNode& node = Node(id);
    switch (node.kind) {
      case TNodeKind::Empty: break;
      case TNodeKind::Char: EmitChars(&id, 1); break;
      case TNodeKind::Any: Add({.op = node.dotAll ? TOp::Any : TOp::AnyButLineBreak}); break;
      case TNodeKind::Class: Add({.op = TOp::Class, .a = node.index}); break;
      case TNodeKind::Assert: Add({.op = TOp::Assert, .assertKind = node.assertKind}); break;
      case TNodeKind::BackRef:
        Add({.op = node.ignoreCase ? TOp::BackRefIgnoreCase : TOp::BackRef, .a = node.index});
        break;
      case TNodeKind::Group:
        Add({.op = TOp::Save, .a = 2 * node.index});
        Emit(node.kids[0]);
        Add({.op = TOp::Save, .a = 2 * node.index + 1});
        break;
      case TNodeKind::Concat: EmitConcat(node); break;
      case TNodeKind::Alternate: EmitAlternate(node); break;
      case TNodeKind::Repeat: EmitRepeat(node); break;
    }
  }

  // Consecutive literal characters of one case mode become one String instruction.
  void EmitConcat(const TNode& node) {
    const std::vector<int>& kids = node.kids;
    for (std::size_t i = 0; i < kids.size();) {
      std::size_t j = i;
      if (Node(kids[i]).kind == TNodeKind::Char) {
        while (j < kids.size() && Node(kids[j]).kind == TNodeKind::Char &&
               Node(kids[j]).ignoreCase == Node(kids[i]).ignoreCase) {
          ++j;
        }
      }
      if (j > i) {
        EmitChars(&kids[i], j - i);
        i = j;
      } else {
        Emit(kids[i++]);
      }
    }
  }

  void EmitChars(const int* ids, std::size_t count) {
    const bool ignoreCase = Node(ids[0]).ignoreCase;
    if (count == 1) {
      const char32_t c = Node(ids[0]).ch;
      if (ignoreCase) {
        Add({.op = TOp::CharIgnoreCase, .a = c, .b = unicode::SimpleUpper(c)});
      } else {
        Add({.op = TOp::Char, .a = c});
      }
      return;
    }
    const auto offset = static_cast<uint32_t>(m_prog.literals.size());
    for (std::size_t i = 0; i < count; ++i) m_prog.literals += Node(ids[i]).ch;
    if (ignoreCase) {
      for (std::size_t i = 0; i < count; ++i) m_prog.literals += unicode::SimpleUpper(Node(ids[i]).ch);
    }
    Add({.op = ignoreCase ? TOp::StringIgnoreCase : TOp::String, .a = offset, .b = static_cast<uint32_t>(count)});
  }

  void EmitAlternate(const TNode& node) {
    std::vector<uint32_t> jumps;
    for (std::size_t i = 0; i + 1 < node.kids.size(); ++i) {
      const uint32_t split = Add({.op = TOp::Split});
      m_prog.code[split].a = Pc();
      Emit(node.kids[i]);
      jumps.push_back(Add({.op = TOp::Jump}));
      m_prog.code[split].b = Pc();
    }
    Emit(node.kids.back());
    for (uint32_t jump : jumps) m_prog.code[jump].a = Pc();
  }

  // A try-first / try-second pair: greedy takes `body` first, lazy `skip` first.
  TInst Choice(bool lazy, uint32_t body, uint32_t skip) const {
    return lazy ? TInst{.op = TOp::Split, .a = skip, .b = body} : TInst{.op = TOp::Split, .a = body, .b = skip};
  }

  void EmitRepeat(const TNode& node) {
    // The operand is compiled once and then copied where the layout needs it.
    const uint32_t start = Pc();
    Emit(node.kids[0]);
    const std::vector<TInst> block(m_prog.code.begin() + start, m_prog.code.end());
    m_prog.code.resize(start);

    if (node.max == kUnbounded && !node.lazy && IsSingleCharacterTest(block)) {
      EmitCounted(block, start, node.min, node.min, false);
      Add({.op = TOp::GreedyStar});
      AppendBlock(block, start);
      return;
    }
    if (node.max == kUnbounded) {
      // x{n,} is n copies of x, the last of them looping: "L: x; split L, out".
      if (node.min == 0) {
        const uint32_t split = Add({});
        AppendBlock(block, start);
        Add({.op = TOp::Jump, .a = split});
        m_prog.code[split] = Choice(node.lazy, split + 1, Pc());
        return;
      }
      EmitCounted(block, start, node.min - 1, node.min - 1, node.lazy);
      const uint32_t loopStart = Pc();
      AppendBlock(block, start);
      const uint32_t split = Add({});
      m_prog.code[split] = Choice(node.lazy, loopStart, Pc());
      return;
    }
    EmitCounted(block, start, node.min, node.max, node.lazy);
  }

  void EmitCounted(const std::vector<TInst>& block, uint32_t blockBase, uint32_t min, uint32_t max, bool lazy) {
    if (max == 0) return;
    const std::size_t expanded = (block.size() + 1) * static_cast<std::size_t>(max);
    if (expanded <= kMaxExpansion && m_prog.code.size() + expanded <= kMaxExpandedProgram) {
      for (uint32_t i = 0; i < min; ++i) AppendBlock(block, blockBase);
      std::vector<uint32_t> splits;
      for (uint32_t i = min; i < max; ++i) {
        splits.push_back(Add({}));
        AppendBlock(block, blockBase);
      }
      for (uint32_t split : splits) m_prog.code[split] = Choice(lazy, split + 1, Pc());
      return;
    }
    const auto slot = static_cast<uint32_t>(m_prog.loops.size());
    m_prog.loops.push_back({min, max, lazy});
    Add({.op = TOp::LoopInit, .a = slot});
    const uint32_t test = Add({.op = TOp::LoopTest, .a = slot});
    Add({.op = TOp::LoopBody, .a = slot});
    AppendBlock(block, blockBase);
    Add({.op = TOp::LoopNext, .a = slot, .b = test});
    m_prog.code[test].b = Pc();
  }

  static bool IsSingleCharacterTest(const std::vector<TInst>& block) {
    if (block.size() != 1) return false;
    switch (block[0].op) {
      case TOp::Char:
      case TOp::CharIgnoreCase:
      case TOp::Any:
      case TOp::AnyButLineBreak:
      case TOp::Class: return true;
      default: return false;
    }
  }

  // Saves, one character test (with its GreedyStar), saves, Match: see singleRun.
  void FindSingleRun() {
    const std::vector<TInst>& code = m_prog.code;
    std::size_t pc = 0;
    while (code[pc].op == TOp::Save) ++pc;
    if (!IsSingleCharacterTest({code[pc]})) return;
    const std::size_t test = pc++;
    const TInst& first = code[test];
    const bool repeats = code[pc].op == TOp::GreedyStar;
    if (repeats) {
      const TInst& again = code[pc + 1];
      if (again.op != first.op || again.a != first.a || again.b != first.b) return;
      pc += 2;
    }
    while (code[pc].op == TOp::Save) ++pc;
    if (code[pc].op != TOp::Match) return;
    m_prog.singleRun = true;
    m_prog.runTest = static_cast<uint32_t>(test);
    m_prog.run = m_prog.FirstOf(first);
    m_prog.runRepeats = repeats;
  }

  // Copies of a block share their GreedyStar instructions' numbers until here.
  void NumberStars() {
    for (TInst& inst : m_prog.code) {
      if (inst.op == TOp::GreedyStar) inst.a = m_prog.starCount++;
    }
  }

  // Runs of single characters that every match contains side by side.
  void CollectPrefilter() {
    TRunBuilder builder;
    CollectRuns(m_ast.root, builder);
    EndRun(builder);
  }

  bool IsOneCharacter(int id) const {
    const TNodeKind kind = Node(id).kind;
    return kind == TNodeKind::Char || kind == TNodeKind::Any || kind == TNodeKind::Class;
  }

  void CollectRuns(int id, TRunBuilder& builder) {
    const TNode& node = Node(id);
    switch (node.kind) {
      case TNodeKind::Char:
      case TNodeKind::Any:
      case TNodeKind::Class: AddPlace(id, builder); break;
      case TNodeKind::Empty:
      case TNodeKind::Assert: break;  // zero width: the characters around it still touch
      case TNodeKind::Group: CollectRuns(node.kids[0], builder); break;
      case TNodeKind::Concat:
        for (int kid : node.kids) CollectRuns(kid, builder);
        break;
      case TNodeKind::Repeat:
        if (node.min == 0) {
          EndRun(builder);
        } else if (node.max == 1) {
          CollectRuns(node.kids[0], builder);
        } else if (IsOneCharacter(node.kids[0])) {
          // Its first copy touches what comes before it, its last copy what comes after.
          AddPlace(node.kids[0], builder);
          EndRun(builder);
          AddPlace(node.kids[0], builder);
        } else {
          EndRun(builder);
          CollectRuns(node.kids[0], builder);
          EndRun(builder);
        }
        break;
      case TNodeKind::Alternate:
      case TNodeKind::BackRef: EndRun(builder); break;
    }
  }

  void AddPlace(int id, TRunBuilder& builder) {
    const TNode& node = Node(id);
    builder.places.push_back(First(id));
    if (node.kind == TNodeKind::Char && !node.ignoreCase) {
      utf8::Append(builder.text, node.ch);
      return;
    }
    // The text so far is a run of its own, which inputs that are not ASCII can be searched for.
    if (!builder.text.empty()) m_prog.prefilter.OfferText(std::move(builder.text));
    builder.text.clear();
    builder.allText = false;
  }

  void EndRun(TRunBuilder& builder) {
    if (!builder.text.empty()) m_prog.prefilter.OfferText(std::move(builder.text));
    if (!builder.allText) m_prog.prefilter.OfferPlaces(std::move(builder.places));
    builder = {};
  }

  // Appends a copy of code compiled at `base`, moving its jump targets along.
  void AppendBlock(const std::vector<TInst>& block, uint32_t base) {
    const uint32_t delta = Pc() - base;
    for (TInst inst : block) {
      switch (inst.op) {
        case TOp::Split:
          inst.a += delta;
          inst.b += delta;
          break;
        case TOp::Jump: inst.a += delta; break;
        case TOp::LoopTest:
        case TOp::LoopNext: inst.b += delta; break;
        default: break;
      }
      m_prog.code.push_back(inst);
    }
  }

  int LoopStackDepth(int id) const {
    const TNode& node = Node(id);
    int deepest = 0;
    for (int kid : node.kids) deepest = std::max(deepest, LoopStackDepth(kid));
    return deepest + (node.kind == TNodeKind::Repeat && node.counted ? 1 : 0);
  }

  bool Anchored(int id) const {
    const TNode& node = Node(id);
    switch (node.kind) {
      case TNodeKind::Assert:
        return node.assertKind == TAssertKind::LineStart || node.assertKind == TAssertKind::TextStart;
      case TNodeKind::Group: return Anchored(node.kids[0]);
      case TNodeKind::Concat: return !node.kids.empty() && Anchored(node.kids[0]);
      case TNodeKind::Alternate:
        return std::all_of(node.kids.begin(), node.kids.end(), [this](int kid) { return Anchored(kid); });
      default: return false;
    }
  }

  uint32_t MinLength(int id) const {
    const TNode& node = Node(id);
    switch (node.kind) {
      case TNodeKind::Char:
      case TNodeKind::Any:
      case TNodeKind::Class: return 1;
      case TNodeKind::Group: return MinLength(node.kids[0]);
      case TNodeKind::Concat: {
        uint64_t sum = 0;
        for (int kid : node.kids) sum += MinLength(kid);
        return static_cast<uint32_t>(std::min<uint64_t>(sum, UINT32_MAX));
      }
      case TNodeKind::Alternate: {
        uint32_t least = UINT32_MAX;
        for (int kid : node.kids) least = std::min(least, MinLength(kid));
        return least;
      }
      case TNodeKind::Repeat:
        return static_cast<uint32_t>(std::min<uint64_t>(uint64_t{node.min} * MinLength(node.kids[0]), UINT32_MAX));
      default: return 0;
    }
  }

  // The characters a non-empty match of the node can start with.
  TCharSet First(int id) const {
    const TNode& node = Node(id);
    TCharSet first;
    switch (node.kind) {
      case TNodeKind::Char:
        first.Add(node.ch);
        if (node.ignoreCase) {
          for (char32_t c = 0; c < 256; ++c) {
            if (unicode::EqualIgnoringCase(c, node.ch)) first.Add(c);
          }
          first.high = true;  // other code points may share the upper-case form (U+0131 and 'i')
        }
        break;
      case TNodeKind::Class: {
        const TCharClass& cls = m_prog.classes[node.index];
        for (char32_t c = 0; c < 256; ++c) {
          if (cls.Matches(c)) first.Add(c);
        }
        first.high = cls.MayMatchHigh();
        break;
      }
      case TNodeKind::Any:
      case TNodeKind::BackRef: first.AddAll(); break;
      case TNodeKind::Group:
      case TNodeKind::Repeat: first = First(node.kids[0]); break;
      case TNodeKind::Concat:
        for (int kid : node.kids) {
          first.Merge(First(kid));
          if (!Node(kid).nullable) break;
        }
        break;
      case TNodeKind::Alternate:
        for (int kid : node.kids) first.Merge(First(kid));
        break;
      default: break;
    }
    return first;
  }

  // Each LoopInit opens an instance that runs from its LoopTest to the LoopTest's exit.
  void FindLoopInstances() {
    const std::size_t size = m_prog.code.size();
    m_prog.loopInstanceOf.assign(size, -1);
    struct TOpen {
      int instance;
      uint32_t end;
    };
    std::vector<TOpen> open;
    for (uint32_t pc = 0; pc < size; ++pc) {
      while (!open.empty() && pc >= open.back().end) open.pop_back();
      const TInst& inst = m_prog.code[pc];
      if (inst.op == TOp::LoopTest) {
        const int parent = open.empty() ? -1 : open.back().instance;
        m_prog.loopInstances.push_back({inst.a, parent});
        open.push_back({static_cast<int>(m_prog.loopInstances.size()) - 1, inst.b});
      }
      if (!open.empty()) m_prog.loopInstanceOf[pc] = open.back().instance;
    }
  }

  void FindStarFollows() {
    const std::vector<TInst>& code = m_prog.code;
    m_prog.starFollow.assign(m_prog.starCount, {});
    std::vector<uint32_t> seenBy(code.size(), UINT32_MAX);
    for (uint32_t pc = 0; pc < code.size(); ++pc) {
      if (code[pc].op == TOp::GreedyStar) m_prog.starFollow[code[pc].a] = FollowOf(pc + 2, code[pc].a, seenBy);
    }
  }

  // What the code from `start` reads first. `seenBy` marks the instructions walked for `star`.
  TStarFollow FollowOf(uint32_t start, uint32_t star, std::vector<uint32_t>& seenBy) const {
    const std::vector<TInst>& code = m_prog.code;
    TStarFollow follow;
    follow.canBeEmpty = false;
    std::vector<uint32_t> work{start};
    std::size_t walked = 0;
    while (!work.empty() && !follow.canBeEmpty) {
      const uint32_t pc = work.back();
      work.pop_back();
      if (seenBy[pc] == star) continue;
      seenBy[pc] = star;
      if (++walked > kMaxFollowWalk) follow.canBeEmpty = true;
      const TInst& inst = code[pc];
      switch (inst.op) {
        case TOp::Char:
        case TOp::CharIgnoreCase:
        case TOp::String:
        case TOp::StringIgnoreCase:
        case TOp::Any:
        case TOp::AnyButLineBreak:
        case TOp::Class: follow.set.Merge(m_prog.FirstOf(inst)); break;
        case TOp::Assert:
        case TOp::Save:
        case TOp::LoopInit:
        case TOp::LoopBody: work.push_back(pc + 1); break;
        case TOp::Split: work.insert(work.end(), {inst.a, inst.b}); break;
        case TOp::Jump: work.push_back(inst.a); break;
        case TOp::LoopNext: work.push_back(inst.b); break;  // its LoopTest, whose exit an empty iteration takes
        case TOp::LoopTest: work.insert(work.end(), {pc + 1, inst.b}); break;
        case TOp::GreedyStar: work.insert(work.end(), {pc + 1, pc + 2}); break;
        case TOp::BackRef:
        case TOp::BackRefIgnoreCase:
        case TOp::Match: follow.canBeEmpty = true; break;
      }
    }
    return follow;
  }

  // Remembers failed (pc, position) pairs at every join and loop head, except where a
  // back-reference may still be consulted: there the outcome depends on the captures.
  void PlanMemo() {
    const std::size_t size = m_prog.code.size();
    std::vector<bool> target(size, false);
    std::vector<std::vector<uint32_t>> predecessors(size);
    auto edge = [&](uint32_t from, uint32_t to, bool jump) {
      if (to >= size) return;
      predecessors[to].push_back(from);
      if (jump) target[to] = true;
    };
    for (uint32_t pc = 0; pc < size; ++pc) {
      const TInst& inst = m_prog.code[pc];
      switch (inst.op) {
        case TOp::Split:
          edge(pc, inst.a, true);
          edge(pc, inst.b, true);
          break;
        case TOp::Jump: edge(pc, inst.a, true); break;
        case TOp::LoopTest:
          edge(pc, pc + 1, true);
          edge(pc, inst.b, true);
          target[pc] = true;
          break;
        case TOp::LoopNext:
          edge(pc, inst.b, true);
          edge(pc, m_prog.code[inst.b].b, true);
          break;
        case TOp::GreedyStar: edge(pc, pc + 2, true); break;
        case TOp::Match: break;
        default: edge(pc, pc + 1, false); break;
      }
    }
    std::vector<bool> reachesBackRef(size, false);
    std::deque<uint32_t> work;
    for (uint32_t pc = 0; pc < size; ++pc) {
      const TOp op = m_prog.code[pc].op;
      if (op == TOp::BackRef || op == TOp::BackRefIgnoreCase) {
        reachesBackRef[pc] = true;
        work.push_back(pc);
      }
    }
    while (!work.empty()) {
      const uint32_t pc = work.front();
      work.pop_front();
      for (uint32_t from : predecessors[pc]) {
        if (!reachesBackRef[from]) {
          reachesBackRef[from] = true;
          work.push_back(from);
        }
      }
    }
    m_prog.memoKind.assign(size, TMemoKind::None);
    m_prog.memoIndex.assign(size, 0);
    for (uint32_t pc = 0; pc < size; ++pc) {
      if (!target[pc]) continue;
      if (reachesBackRef[pc]) {
        m_prog.needsBudget = true;
      } else if (m_prog.loopInstanceOf[pc] >= 0) {
        m_prog.memoKind[pc] = TMemoKind::Keyed;
        m_prog.needsBudget = true;
      } else {
        m_prog.memoKind[pc] = TMemoKind::Bitset;
        m_prog.memoIndex[pc] = m_prog.memoWidth++;
      }
    }
    if (!m_prog.loops.empty()) m_prog.needsBudget = true;
  }

  TAst m_ast;
  TProgram m_prog;
};

}  // namespace

TProgram CompileExpression(TAst ast) { return TCompiler(std::move(ast)).Compile(); }

}  // namespace qx::detail
