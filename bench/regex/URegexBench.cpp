// SPDX-License-Identifier: GPL-3.0-or-later
// Replace over generated file names: TRegexEngine beside std::regex (ECMAScript) and
// PCRE2 (interpreted and JIT), the same expressions and templates for each. Counters:
// names_per_second, gave_up (names an engine failed on), and for ours the bytes
// allocated by compiling and running one expression on one name.
#define PCRE2_CODE_UNIT_WIDTH 8
#include <benchmark/benchmark.h>
#include <pcre2.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include "regex/URegexReplace.h"
#include "regex/UTRegexEngine.h"

namespace {

std::atomic<bool> g_countAllocations{false};
std::atomic<std::size_t> g_allocatedBytes{0};

}  // namespace

// Counts what the engine allocates; malloc-based so that it can count at all.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
  if (g_countAllocations.load(std::memory_order_relaxed)) g_allocatedBytes += size;
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

constexpr int kTypicalNames = 100000;
constexpr int kPathologicalNames = 20;

// Names like those found in photo, music and document folders.
std::vector<std::string> RealisticNames() {
  std::mt19937 rng(42);
  auto pick = [&](const std::vector<std::string>& from) { return from[rng() % from.size()]; };
  auto number = [&](int digits) {
    std::string s;
    for (int i = 0; i < digits; ++i) s += static_cast<char>('0' + rng() % 10);
    return s;
  };
  const std::vector<std::string> artists = {"The Beatles", "Nina Simone", "Daft Punk",       "Miles Davis",
                                            "Björk",       "Radiohead",   "Ella Fitzgerald", "Queen"};
  const std::vector<std::string> titles = {"Blue in Green", "Around the World",  "Hyperballad",        "Karma Police",
                                           "Summertime",    "Bohemian Rhapsody", "Here Comes the Sun", "Feeling Good"};
  const std::vector<std::string> words = {"holiday", "report", "invoice", "draft",   "final",  "summer",  "notes",
                                          "budget",  "family", "scan",    "meeting", "résumé", "project", "backup"};
  const std::vector<std::string> docExt = {".pdf", ".docx", ".txt", ".odt", ".xlsx"};
  std::vector<std::string> names;
  names.reserve(kTypicalNames);
  for (int i = 0; i < kTypicalNames; ++i) {
    switch (rng() % 6) {
      case 0: names.push_back("IMG_" + number(8) + "_" + number(6) + ".jpg"); break;
      case 1: names.push_back("img_" + number(4) + ".JPG"); break;
      case 2: names.push_back(pick(artists) + " - " + pick(titles) + ".mp3"); break;
      case 3: names.push_back("DSC" + number(5) + ".JPG"); break;
      case 4: names.push_back(pick(words) + " " + pick(words) + " " + number(4) + pick(docExt)); break;
      default:
        names.push_back(pick(words) + "_" + pick(words) + "_v" + number(1) + " (" + number(1) + ")" + pick(docExt));
        break;
    }
  }
  return names;
}

// Names built to make backtracking matchers explore every split of the name.
std::vector<std::string> PathologicalNames(const std::string& kind, std::size_t length) {
  std::vector<std::string> names;
  for (int i = 0; i < kPathologicalNames; ++i) {
    std::string name;
    if (kind == "aab") name = std::string(length - 1, 'a') + "b";
    if (kind == "xxx") name = std::string(length, 'x');
    if (kind == "words") {
      while (name.size() + 6 < length) name += (name.size() % 12 == 0) ? "word " : "word";
      name.resize(length - 1, 'w');
      name += '!';
    }
    names.push_back(name);
  }
  return names;
}

struct TCase {
  std::string label;
  std::string expression;   // ours and PCRE2
  std::string ecmaPattern;  // std::regex, which has no (?i)
  bool ecmaIgnoreCase;
  std::string tmpl;
  std::string nameSet;  // "typical", or pathological kind and length
  std::size_t length;
};

const std::vector<TCase>& Cases() {
  static const std::vector<TCase> cases = {
      {"(\\d+) -> [$1]", "(\\d+)", "(\\d+)", false, "[$1]", "typical", 0},
      {"^(.*) - (.*)\\.mp3$ -> $2 - $1.mp3", "^(.*) - (.*)\\.mp3$", "^(.*) - (.*)\\.mp3$", false, "$2 - $1.mp3",
       "typical", 0},
      {"(?i)img_ -> Photo_", "(?i)img_", "img_", true, "Photo_", "typical", 0},
      {"[aeiou] -> _", "[aeiou]", "[aeiou]", false, "_", "typical", 0},
      {"\\s+ -> _", "\\s+", "\\s+", false, "_", "typical", 0},
      {"\\b(\\w)(\\w*)\\b -> $2$1", "\\b(\\w)(\\w*)\\b", "\\b(\\w)(\\w*)\\b", false, "$2$1", "typical", 0},
      {"(a|aa)+$ on 30 chars", "(a|aa)+$", "(a|aa)+$", false, "X", "aab", 30},
      {"(a|aa)+$ on 255 chars", "(a|aa)+$", "(a|aa)+$", false, "X", "aab", 255},
      {"(x+x+)+y on 30 chars", "(x+x+)+y", "(x+x+)+y", false, "X", "xxx", 30},
      {"(x+x+)+y on 255 chars", "(x+x+)+y", "(x+x+)+y", false, "X", "xxx", 255},
      {"^(\\w+\\s?)*$ on 30 chars", "^(\\w+\\s?)*$", "^(\\w+\\s?)*$", false, "X", "words", 30},
      {"^(\\w+\\s?)*$ on 255 chars", "^(\\w+\\s?)*$", "^(\\w+\\s?)*$", false, "X", "words", 255},
  };
  return cases;
}

const std::vector<std::string>& NamesFor(const TCase& c) {
  static const std::vector<std::string> typical = RealisticNames();
  static std::vector<std::vector<std::string>> pathological(Cases().size());
  if (c.nameSet == "typical") return typical;
  auto& slot = pathological[static_cast<std::size_t>(&c - Cases().data())];
  if (slot.empty()) slot = PathologicalNames(c.nameSet, c.length);
  return slot;
}

void Report(benchmark::State& state, std::size_t names, std::size_t gaveUp) {
  state.counters["names_per_second"] =
      benchmark::Counter(static_cast<double>(names), benchmark::Counter::kIsIterationInvariantRate);
  state.counters["gave_up"] = static_cast<double>(gaveUp);
}

void BM_Ours(benchmark::State& state, const TCase* c) {
  const auto& names = NamesFor(*c);
  qx::TRegexEngine engine;
  engine.SetExpression(c->expression);
  std::size_t gaveUp = 0;
  for (auto _ : state) {
    gaveUp = 0;
    for (const std::string& name : names) {
      try {
        benchmark::DoNotOptimize(engine.Replace(name, c->tmpl, true));
      } catch (const qx::TRegexError&) {
        ++gaveUp;
      }
    }
  }
  // One fresh engine, compiled and run on one name: the allocation a single call costs.
  g_allocatedBytes = 0;
  g_countAllocations = true;
  {
    qx::TRegexEngine fresh;
    fresh.SetExpression(c->expression);
    try {
      benchmark::DoNotOptimize(fresh.Replace(names.front(), c->tmpl, true));
    } catch (const qx::TRegexError&) {
    }
  }
  g_countAllocations = false;
  state.counters["bytes_per_compile_and_run"] = static_cast<double>(g_allocatedBytes.load());
  Report(state, names.size(), gaveUp);
}

void BM_RegexReplace(benchmark::State& state, const TCase* c) {
  const auto& names = NamesFor(*c);
  for (auto _ : state) {
    for (const std::string& name : names) benchmark::DoNotOptimize(qx::RegexReplace(name, c->expression, c->tmpl));
  }
  Report(state, names.size(), 0);
}

void BM_StdRegex(benchmark::State& state, const TCase* c) {
  if (c->nameSet != "typical") {
    // Its backtracking grows exponentially on these names, with no limit to stop it.
    state.SkipWithError("not run: exponential backtracking without a limit");
    for (auto _ : state) {
    }
    return;
  }
  const auto& names = NamesFor(*c);
  auto flags = std::regex::ECMAScript;
  if (c->ecmaIgnoreCase) flags |= std::regex::icase;
  const std::regex re(c->ecmaPattern, flags);
  for (auto _ : state) {
    for (const std::string& name : names) benchmark::DoNotOptimize(std::regex_replace(name, re, c->tmpl));
  }
  Report(state, names.size(), 0);
}

void BM_Pcre2(benchmark::State& state, const TCase* c, bool jit) {
  const auto& names = NamesFor(*c);
  int error = 0;
  PCRE2_SIZE offset = 0;
  pcre2_code* code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(c->expression.data()), c->expression.size(),
                                   PCRE2_UTF | PCRE2_DOTALL | PCRE2_DOLLAR_ENDONLY, &error, &offset, nullptr);
  if (!code) {
    state.SkipWithError("pattern rejected");
    for (auto _ : state) {
    }
    return;
  }
  if (jit) pcre2_jit_compile(code, PCRE2_JIT_COMPLETE);
  pcre2_match_data* data = pcre2_match_data_create_from_pattern(code, nullptr);
  const uint32_t options = PCRE2_SUBSTITUTE_GLOBAL | PCRE2_SUBSTITUTE_OVERFLOW_LENGTH | (jit ? 0 : PCRE2_NO_JIT);
  std::string out(1024, '\0');
  std::size_t gaveUp = 0;
  for (auto _ : state) {
    gaveUp = 0;
    for (const std::string& name : names) {
      PCRE2_SIZE length = out.size();
      int rc = pcre2_substitute(code, reinterpret_cast<PCRE2_SPTR>(name.data()), name.size(), 0, options, data, nullptr,
                                reinterpret_cast<PCRE2_SPTR>(c->tmpl.data()), c->tmpl.size(),
                                reinterpret_cast<PCRE2_UCHAR*>(out.data()), &length);
      if (rc == PCRE2_ERROR_NOMEMORY) {
        out.resize(length);
        rc = pcre2_substitute(code, reinterpret_cast<PCRE2_SPTR>(name.data()), name.size(), 0, options, data, nullptr,
                              reinterpret_cast<PCRE2_SPTR>(c->tmpl.data()), c->tmpl.size(),
                              reinterpret_cast<PCRE2_UCHAR*>(out.data()), &length);
      }
      if (rc < 0) ++gaveUp;
      benchmark::DoNotOptimize(out.data());
    }
  }
  pcre2_match_data_free(data);
  pcre2_code_free(code);
  Report(state, names.size(), gaveUp);
}

void BM_Pcre2Interpreted(benchmark::State& state, const TCase* c) { BM_Pcre2(state, c, false); }
void BM_Pcre2Jit(benchmark::State& state, const TCase* c) { BM_Pcre2(state, c, true); }

// Benchmark names are "engine/expression label" so run.sh can lay them out as a table.
int RegisterAll() {
  for (const TCase& c : Cases()) {
    const bool slowPeers = c.nameSet != "typical";
    benchmark::RegisterBenchmark(("ours/" + c.label).c_str(), BM_Ours, &c)->Unit(benchmark::kMillisecond);
    if (!slowPeers) {
      benchmark::RegisterBenchmark(("RegexReplace/" + c.label).c_str(), BM_RegexReplace, &c)
          ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark(("std::regex/" + c.label).c_str(), BM_StdRegex, &c)->Unit(benchmark::kMillisecond);
    auto* interpreted = benchmark::RegisterBenchmark(("PCRE2 interpreted/" + c.label).c_str(), BM_Pcre2Interpreted, &c)
                            ->Unit(benchmark::kMillisecond);
    auto* jit =
        benchmark::RegisterBenchmark(("PCRE2 JIT/" + c.label).c_str(), BM_Pcre2Jit, &c)->Unit(benchmark::kMillisecond);
    // On the pathological names the peers run into their match limit on every name: one
    // pass, and no repetitions, is all they are given.
    if (slowPeers) {
      interpreted->Iterations(1)->Repetitions(1);
      jit->Iterations(1)->Repetitions(1);
    }
  }
  return 0;
}

const int kRegistered = RegisterAll();

}  // namespace

BENCHMARK_MAIN();
