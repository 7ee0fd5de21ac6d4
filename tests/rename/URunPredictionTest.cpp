// SPDX-License-Identifier: GPL-3.0-or-later
// Holds the simulation to its promise over generated folders and job lists: the folder is
// simulated, then run for real, and every entry the simulation marks renamed, unchanged or
// failed must be renamed to that name, or left, by the real run, with the same counts and
// the same failures; one Undo must then bring the folder back byte for byte. Seeded: a
// failure names the seed and the case. The same again, fewer, on a folder that ignores
// case. QX_PREDICTION_CASES sets how many cases run (2,000 by default), QX_PREDICTION_SEED
// the seed.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <exiv2/exiv2.hpp>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <string_view>

#include "rename/URenameRun.h"
#include "rename/UUndo.h"
#include "support/UMakeJob.h"
#include "support/URecordingMessages.h"
#include "support/URecordingRunHost.h"
#include "support/UTempDir.h"
#include "support/UTree.h"
#include "support/fuse/UCaseFoldMount.h"

namespace qx {
namespace {

namespace fs = std::filesystem;
using K = TJobKind;
using test::MakeJob;
using Paths = std::vector<std::string>;

constexpr long kSomeTime = 1000000000;  // seconds since the epoch

int EnvNumber(const char* name, int fallback) {
  const char* value = std::getenv(name);
  return value ? std::atoi(value) : fallback;
}

// Line breaks shown as \n and long runs of one character shortened, for failure messages.
std::string Visible(std::string_view text) {
  std::string shown;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t run = 1;
    while (i + run < text.size() && text[i + run] == text[i]) ++run;
    const std::string c = text[i] == '\n' ? "\\n" : text[i] == '\r' ? "\\r" : std::string(1, text[i]);
    if (run > 8) {
      shown += c + "{" + std::to_string(run) + "}";
    } else {
      for (std::size_t k = 0; k < run; ++k) shown += c;
    }
    i += run;
  }
  return shown;
}

struct TEntryPlan {
  std::string path;   // relative to the starting folder; a folder ends in '/'
  bool link = false;  // a dangling symbolic link
  long seconds = 0;   // modification time
};

struct TCase {
  std::vector<TEntryPlan> entries;  // a folder before what it holds
  TJobList jobs;
  TRunOptions options;
};

std::string Describe(const TCase& c) {
  std::string text = "entries:";
  for (const TEntryPlan& e : c.entries) {
    text += " \"" + Visible(e.path) + "\"" + (e.link ? "@" : "") + "/" + std::to_string(e.seconds - kSomeTime);
  }
  text += "\njobs:";
  for (const TJob& job : c.jobs) text += "\n  " + Visible(JobDescription(job));
  const TRunOptions& o = c.options;
  if (o.given) {
    text += "\ngiven:";
    for (const TGivenEntry& entry : *o.given) text += " \"" + Visible(entry.path) + "\"";
  }
  text += "\nmask " + o.fileMask + ", sort " + (o.sort ? std::to_string(static_cast<int>(o.sortOrder)) : "off") +
          ", rename folders " + std::to_string(o.renameDirs) + ", recurse " + std::to_string(o.recurseDirs) +
          ", reset counter " + std::to_string(o.resetCounter) + ", counter from " + std::to_string(o.counterStart) +
          ", taken names numbered \"" + o.takenSuffix + "\"";
  return text;
}

// Makes the cases: small folders whose names are drawn from a few letters, so that new
// names clash often, with entries that stay in the way (hidden files, folders, files the
// mask leaves out, a planted cycle temporary), names at the length limit and with line
// breaks; and jobs that shift numbers, permute letters through a placeholder, refuse one
// member of a permutation, change case, and clash.
class TCaseMaker {
 public:
  TCaseMaker(std::uint32_t seed, int number, bool ignoresCase) : m_ignoresCase(ignoresCase) {
    std::seed_seq seeds{seed, static_cast<std::uint32_t>(number)};
    m_random.seed(seeds);
  }

  TCase Make() {
    TCase c;
    const int theme = Pick(3);  // a shift of numbers, a permutation of letters, anything
    m_first = 1 + Pick(3);
    const int count = 2 + Pick(11);
    if (theme == 0) {
      for (int i = 0, numbered = count - Pick(3); i < numbered; ++i) {
        if (i > 0 && Chance(10)) continue;  // a gap in the numbers
        Add(c, "", Numbered(m_first + i));
      }
      c.jobs.AddNew(MakeJob(K::jobReplace, 1, 1, 0, "\\d+", ""));
      c.jobs.AddNew(MakeJob(K::jobCounter, 1, 2));
      c.options.counterStart = m_first - 1 + Pick(3);  // down by one, in place, up by one
    } else {
      c.options.counterStart = Pick(3);
    }
    if (theme == 1) {
      const std::string letters = m_ignoresCase ? (Chance(50) ? "ab" : "aBb") : (Chance(50) ? "ab" : "abc");
      for (const char letter : letters) Add(c, "", std::string(1, letter) + (Chance(20) ? ".t" : ""));
      AddPermutation(c, letters);
      if (Chance(50)) AddRefusal(c);
    }
    while (static_cast<int>(c.entries.size()) < count) AddAny(c, "", 2);
    if (Chance(25)) Add(c, "", ".quillex-cycle-0");
    // A case job may make this the undo file's name. Where case is ignored it is the undo
    // file itself, which this test does not plant.
    if (!m_ignoresCase && Chance(5)) Add(c, "", "_quillex_undo.TXT");
    for (int jobs = theme == 2 ? 1 + Pick(3) : Pick(2); jobs > 0; --jobs) AddJob(c);

    const char* masks[] = {"*.*", "*.*", "*.*", "*.*", "*.t", "?"};
    c.options.fileMask = masks[Pick(6)];
    c.options.sort = !Chance(15);
    c.options.sortOrder = static_cast<TSortOrder>(Pick(5));
    c.options.renameDirs = Chance(50);
    c.options.recurseDirs = Chance(50);
    c.options.resetCounter = Chance(30);
    if (Chance(25)) GiveSome(c);
    if (Chance(20)) c.options.takenSuffix = Chance(50) ? " (%d)" : "%d";
    return c;
  }

 private:
  int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(m_random); }
  bool Chance(int percent) { return Pick(100) < percent; }

  std::string Numbered(int n) { return (n < 10 ? "f0" : "f") + std::to_string(n); }
  // One or two of a few letters, at times with a line break or an extension.
  std::string Letters() {
    const char* letters = m_ignoresCase ? "abAB" : "abcA";
    std::string name(1, letters[Pick(4)]);
    if (Chance(40)) name += letters[Pick(4)];
    if (Chance(3)) name.insert(1, "\n");
    if (Chance(20)) name += ".t";
    return name;
  }

  // Adds an entry unless the folder holds one by that name already.
  void Add(TCase& c, const std::string& folder, const std::string& name, bool link = false) {
    std::string key = folder + name;
    if (m_ignoresCase) std::transform(key.begin(), key.end(), key.begin(), ::tolower);
    if (!m_keys.insert(key.ends_with('/') ? key.substr(0, key.size() - 1) : key).second) return;
    c.entries.push_back({folder + name, link, kSomeTime + 2 * Pick(4)});
  }

  // A file, hidden file, link, folder (with entries of its own, `depth` levels down) or a
  // name as long as a name may be.
  void AddAny(TCase& c, const std::string& folder, int depth) {
    const int kind = Pick(100);
    if (kind < 12) {
      Add(c, folder, "." + Letters());
    } else if (kind < 17) {
      Add(c, folder, Letters(), true);
    } else if (kind < 25) {
      Add(c, folder, std::string(254, 'x') + "ab"[Pick(2)]);
    } else if (kind < 45 && depth > 0) {
      const std::string name = (Chance(30) ? Numbered(m_first + Pick(4)) : Letters()) + "/";
      const std::size_t before = c.entries.size();
      Add(c, folder, name);
      if (c.entries.size() == before) return;
      for (int n = Pick(4); n > 0; --n) AddAny(c, folder + name, depth - 1);
    } else {
      Add(c, folder, Chance(20) ? Numbered(m_first + Pick(6)) : Letters());
    }
  }

  // A run over some of the entries, given by their paths relative to the case's root, at
  // times one twice and one that is not there.
  void GiveSome(TCase& c) {
    c.options.given.emplace();
    for (const TEntryPlan& entry : c.entries) {
      if (Chance(50)) c.options.given->push_back({entry.path});
    }
    if (c.options.given->empty()) c.options.given->push_back({c.entries.front().path});
    if (Chance(20)) c.options.given->push_back(c.options.given->front());
    if (Chance(10)) c.options.given->push_back({"gone"});
  }

  // A permutation of letters made of plain replacements through a placeholder: each
  // letter becomes the next, the last the first (a swap, or a cycle of three).
  void AddPermutation(TCase& c, const std::string& letters) {
    const int matchCase = Pick(2);
    c.jobs.AddNew(MakeJob(K::jobReplace, 0, matchCase, 0, letters.substr(letters.size() - 1), "#"));
    for (std::size_t i = letters.size() - 1; i-- > 0;) {
      c.jobs.AddNew(MakeJob(K::jobReplace, 0, matchCase, 0, letters.substr(i, 1), letters.substr(i + 1, 1)));
    }
    c.jobs.AddNew(MakeJob(K::jobReplace, 0, matchCase, 0, "#", letters.substr(0, 1)));
  }

  // One member of a permutation refused: its whole new name matched and made unfit.
  void AddRefusal(TCase& c) {
    const std::string unfit[] = {"", "x/y", std::string(256, 'y'), "x\ny"};
    const char* source = Chance(50) ? "^a(\\.t)?$" : "^b(\\.t)?$";
    c.jobs.AddNew(MakeJob(K::jobReplace, 1, 1, 0, source, unfit[Pick(4)]));
  }

  // Each draw in a statement of its own: the order of a call's arguments is the compiler's.
  void AddJob(TCase& c) {
    const std::string sources[] = {"a", "b", "A", "1", "0", ".t"};
    const std::string targets[] = {"a", "b", "B", "", "x", "1"};
    switch (Pick(12)) {
      case 0:
      case 1:
      case 2: {
        const K kinds[] = {K::jobUpper, K::jobLower, K::jobNormal};
        const K kind = kinds[Pick(3)];
        c.jobs.AddNew(MakeJob(kind, Pick(3)));
        break;
      }
      case 3:
      case 4: {
        const int option = Pick(2);
        const std::string& source = sources[Pick(6)];
        c.jobs.AddNew(MakeJob(K::jobReplace, 0, option, 0, source, targets[Pick(6)]));
        break;
      }
      case 5: AddPermutation(c, m_ignoresCase ? "aBb" : "abc"); break;
      case 6: c.jobs.AddNew(MakeJob(K::jobRemove, Pick(2), 1)); break;
      case 7: {
        const int place = Pick(2);
        c.jobs.AddNew(MakeJob(K::jobInsert, place, 0, 0, Chance(70) ? "." : "x"));
        break;
      }
      case 8: c.jobs.AddNew(MakeJob(K::jobCounter, 0, 1)); break;
      case 10: {
        const int mode = Pick(4);
        c.jobs.AddNew(MakeJob(K::jobSimplify, Pick(3), mode));
        break;
      }
      case 11: {
        const int which = Pick(3);
        const int amount = Pick(5) - 2;
        c.jobs.AddNew(MakeJob(K::jobShift, which, amount));
        break;
      }
      default:
        if (Chance(50)) {
          AddRefusal(c);
        } else {
          c.jobs.AddNew(MakeJob(K::jobInsert, 2, 1, 0, "\n"));
        }
        break;
    }
  }

  std::mt19937 m_random;
  bool m_ignoresCase;
  std::set<std::string> m_keys;
  int m_first = 1;
};

void Build(const std::string& root, const TCase& c) {
  fs::create_directory(root);
  for (const TEntryPlan& e : c.entries) {
    const std::string path = root + e.path;
    if (e.link) {
      fs::create_symlink("nowhere", path);
    } else if (e.path.ends_with('/')) {
      fs::create_directory(path);
    } else {
      std::ofstream(path, std::ios::binary) << e.path;
    }
  }
  for (const TEntryPlan& e : c.entries) test::SetModifiedTime(root + e.path, e.seconds);
}

struct TRunResult {
  TRunState state;
  TResultTree tree;
  Paths log, messages, entries;
};

// Also records what the run tells of each entry.
class TEntryRecordingHost : public test::TRecordingRunHost {
 public:
  void EntryDone(const TEntryOutcome& outcome) override {
    entries.push_back(outcome.folder.Text() + "|" + std::string(outcome.oldName) + "|" + std::string(outcome.newName) +
                      "|" + std::to_string(static_cast<int>(outcome.status)) + "|" + std::string(outcome.reason));
  }
  Paths entries;
};

TRunResult RunCase(const TCase& c, const std::string& root, bool simulate, int parallel = 1) {
  TRunOptions options = c.options;
  options.startDirectory = root;
  options.simulate = simulate;
  options.undo = options.log = true;
  options.parallel = parallel;
  if (options.given) {
    for (TGivenEntry& entry : *options.given) entry.path = root + entry.path;
  }
  TEntryRecordingHost host;
  TRenameRun run(c.jobs, options, host);
  run.Run();
  return {run.State(), run.TakeResultTree(), std::move(host.log), std::move(host.messages), std::move(host.entries)};
}

// Every entry below `root` by its path relative to `root`, with its inode number.
std::map<std::string, ino_t> Inodes(const std::string& root) {
  std::map<std::string, ino_t> inodes;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
    struct stat st;
    if (lstat(it->path().c_str(), &st) != 0) throw std::runtime_error("lstat " + it->path().string());
    std::string path = it->path().lexically_relative(root).string();
    if (S_ISDIR(st.st_mode)) path += '/';
    inodes.emplace(path, st.st_ino);
  }
  return inodes;
}

std::string NameOf(std::string_view path) {
  if (path.ends_with('/')) path.remove_suffix(1);
  return std::string(path.substr(path.rfind('/') + 1));
}

// What the simulation says of one entry: its path before the run and its node.
struct TMark {
  std::string path;
  TNodeState state;
  std::string text;
};

// Pairs each node of the simulation's tree with its entry. The run logs each visit ("> Changing
// to <name>") before adding its nodes, and each entry's turn ("* Renaming file <name>") as it
// adds the entry's node, folders before files.
// A run over given entries visits each of their folders from the top ("> Changing to
// <path>"): the common folder by the tree's root, any other by a node of the root. The
// root lists the `gone` paths that name no entry, then those nodes, then the common
// folder's own entries.
std::vector<TMark> Marks(const TResultTree& tree, const Paths& log, const std::string& root, std::size_t gone) {
  struct TVisit {
    TNodeId node = 0;
    std::string path;
    Paths folders;
    std::size_t files = 0;
    std::size_t first = 0;  // where the nodes of its entries begin
  };
  std::vector<TVisit> visits;  // the visits open, one per level
  std::vector<TMark> marks;
  const std::string common(tree.Text(tree.Root()));
  const std::size_t tops = static_cast<std::size_t>(std::count_if(
      log.begin(), log.end(), [](const std::string& line) { return line.starts_with("> Changing to "); }));
  const auto mark = [&](TVisit& visit, std::size_t index, const std::string& name) {
    index += visit.first;
    if (index >= tree.ChildCount(visit.node)) throw std::runtime_error("no node for " + Visible(name));
    const TNodeId node = tree.ChildAt(visit.node, index);
    marks.push_back({visit.path + name, tree.State(node), std::string(tree.Text(node))});
  };
  for (const std::string& line : log) {
    const std::size_t indent = line.find_first_not_of(' ');
    if (indent == std::string::npos) continue;
    const std::size_t depth = indent / 3;
    const std::string_view text = std::string_view(line).substr(indent);
    if (text.starts_with("> Changing to ")) {
      const std::string name(text.substr(14));
      visits.resize(depth);
      if (depth == 0) {
        const std::string path = (name.ends_with('/') ? name : name + "/").substr(root.size());
        TNodeId node = tree.Root();
        std::size_t first = gone + tops - 1;
        if (name != common) {
          const std::string below = name.substr(common.size() + 1);
          std::size_t i = 0;
          while (i < tree.ChildCount(node) && tree.Text(tree.ChildAt(node, i)) != below) ++i;
          if (i == tree.ChildCount(node)) throw std::runtime_error("no node for the folder " + Visible(name));
          node = tree.ChildAt(node, i);
          first = 0;
        }
        visits.push_back({node, path, {}, 0, first});
        continue;
      }
      TVisit& parent = visits.back();
      const auto at = std::find(parent.folders.begin(), parent.folders.end(), name + "/");
      if (at == parent.folders.end()) throw std::runtime_error("a visit of an unknown folder " + Visible(name));
      visits.push_back({tree.ChildAt(parent.node, parent.first + static_cast<std::size_t>(at - parent.folders.begin())),
                        parent.path + name + "/",
                        {},
                        0});
    } else if (text.starts_with("* Renaming directory ")) {
      TVisit& visit = visits.at(depth);
      visit.folders.push_back(std::string(text.substr(21)) + "/");
      mark(visit, visit.folders.size() - 1, visit.folders.back());
    } else if (text.starts_with("* Renaming file ")) {
      TVisit& visit = visits.at(depth);
      mark(visit, visit.folders.size() + visit.files++, std::string(text.substr(16)));
    }
  }
  return marks;
}

// The failures a run logged, without their indentation and the entry's folder, sorted:
// the simulation names a folder by its present name, the real run by its new one. The
// generated names hold no " to ", and an old name no '/'.
Paths FailureLines(const Paths& log) {
  Paths lines;
  for (const std::string& line : log) {
    const std::size_t indent = line.find_first_not_of(' ');
    if (indent == std::string::npos || line.compare(indent, 7, "Cannot ") != 0) continue;
    std::string text = line.substr(indent);
    const std::size_t nameEnd = std::min(text.find(" to "), text.find(". Operation"));
    if (text.starts_with("Cannot rename /") && nameEnd != std::string::npos) {
      text.erase(14, text.rfind('/', nameEnd) - 13);
    }
    lines.push_back(std::move(text));
  }
  std::sort(lines.begin(), lines.end());
  return lines;
}

const char* Tag(TNodeState state) {
  const char* tags[] = {"D=", "F=", "D+", "F+", "D!", "F!"};
  return tags[static_cast<int>(state)];
}

// Where the real run did other than the simulation said, one line each; empty when it did not.
Paths Differences(const TCase& c, const std::string& root) {
  Paths problems;
  const auto expectEqual = [&](const std::string& what, auto predicted, auto real) {
    if (predicted != real) {
      problems.push_back(what + ": predicted " + std::to_string(predicted) + ", real " + std::to_string(real));
    }
  };
  const std::map<std::string, ino_t> before = Inodes(root);
  const TRunResult simulated = RunCase(c, root, true);
  if (Inodes(root) != before) problems.push_back("the simulation changed the folder");
  const TRunResult real = RunCase(c, root, false);

  std::map<ino_t, std::string> after;
  for (const auto& [path, inode] : Inodes(root)) after.emplace(inode, path);
  std::set<std::string> marked;
  int renamedFiles = 0, renamedFolders = 0;
  const auto gone = static_cast<std::size_t>(
      c.options.given ? std::count_if(c.options.given->begin(), c.options.given->end(),
                                      [](const TGivenEntry& entry) { return entry.path == "gone"; })
                      : 0);
  int failed = static_cast<int>(gone);
  for (const TMark& mark : Marks(simulated.tree, simulated.log, root, gone)) {
    marked.insert(mark.path);
    const auto now = after.find(before.at(mark.path));
    const std::string oldName = NameOf(mark.path), newName = now == after.end() ? "(gone)" : NameOf(now->second);
    bool kept = true;
    switch (mark.state) {
      case TNodeState::FileRenamed:
      case TNodeState::FolderRenamed:
        kept = newName == mark.text && newName != oldName;
        ++(mark.state == TNodeState::FileRenamed ? renamedFiles : renamedFolders);
        break;
      case TNodeState::FileUnchanged:
      case TNodeState::FolderUnchanged: kept = mark.text == oldName && newName == oldName; break;
      default:
        kept = newName == oldName && mark.text.ends_with(" (was \"" + oldName + "\")");
        ++failed;
        break;
    }
    if (!kept) {
      problems.push_back(std::string(Tag(mark.state)) + " " + Visible(mark.text) + " for \"" + Visible(mark.path) +
                         "\", the real run: \"" + Visible(newName) + "\"");
    }
  }
  for (const auto& [path, inode] : before) {
    if (!marked.count(path) && NameOf(after.at(inode)) != NameOf(path)) {
      problems.push_back("not in the tree, yet renamed: \"" + Visible(path) + "\"");
    }
  }
  const TRunState& s = simulated.state;
  const TRunState& r = real.state;
  expectEqual("renamed files in the tree", renamedFiles, s.FilesRenamed);
  expectEqual("renamed folders in the tree", renamedFolders, s.DirsRenamed);
  expectEqual("failures in the tree", failed, s.ErrorCount);
  expectEqual("files renamed", s.FilesRenamed, r.FilesRenamed);
  expectEqual("folders renamed", s.DirsRenamed, r.DirsRenamed);
  expectEqual("files processed", s.FilesProcessed, r.FilesProcessed);
  expectEqual("folders processed", s.DirsProcessed, r.DirsProcessed);
  expectEqual("errors", s.ErrorCount, r.ErrorCount);
  const Paths shown = FailureLines(real.messages);
  if (FailureLines(simulated.log) != shown) {
    problems.push_back("failures predicted:");
    for (const std::string& line : FailureLines(simulated.log)) problems.push_back("  " + Visible(line));
    problems.push_back("failures shown:");
    for (const std::string& line : shown) problems.push_back("  " + Visible(line));
  }

  test::TRecordingMessages undoMessages;
  undoMessages.answers = {true, false};
  const TUndoOutcome undo =
      c.options.recurseDirs || c.options.given ? UndoTree(root, undoMessages) : UndoDirectory(root, undoMessages);
  // Each path holds the very entry it held: names and contents as they were.
  if (undo.errors != 0 || Inodes(root) != before) {
    problems.push_back("Undo did not restore the folder:");
    for (const std::string& message : undoMessages.messages) problems.push_back("  " + Visible(message));
    for (const std::string& line : test::ListTree(root)) problems.push_back("  now " + Visible(line));
  }
  return problems;
}

// Runs the generated cases in `root` (made afresh for each); fails with each case whose
// real run did other than its simulation said, up to three, so one fault hides no other.
void RunCases(const std::string& root, bool ignoresCase, int count) {
  const auto seed = static_cast<std::uint32_t>(EnvNumber("QX_PREDICTION_SEED", 20240611));
  int failures = 0;
  for (int number = 0; number < count && failures < 3; ++number) {
    const TCase c = TCaseMaker(seed, number, ignoresCase).Make();
    fs::remove_all(root);
    Build(root, c);
    Paths problems;
    try {
      problems = Differences(c, root);
    } catch (const std::exception& error) {
      problems.push_back(std::string("exception: ") + error.what());
    }
    if (problems.empty()) continue;
    ++failures;
    std::string text;
    for (const std::string& line : problems) text += "\n" + line;
    ADD_FAILURE() << "seed " << seed << ", case " << number << "\n" << Describe(c) << text;
  }
}

TEST(URunPredictionTest, TheSimulationMarksExactlyWhatTheRealRunDoes) {
  test::TTempDir dir;
  RunCases(dir / "root/", false, EnvNumber("QX_PREDICTION_CASES", 2000));
}

// The tree as lines, depth first: depth, state, text and reason of each node.
Paths TreeLines(const TResultTree& tree) {
  Paths lines;
  if (tree.IsEmpty()) return lines;
  std::vector<std::pair<TNodeId, int>> stack = {{tree.Root(), 0}};
  while (!stack.empty()) {
    const auto [node, depth] = stack.back();
    stack.pop_back();
    lines.push_back(std::to_string(depth) + " " + std::to_string(static_cast<int>(tree.State(node))) + " " +
                    std::string(tree.Text(node)) + " | " + std::string(tree.Reason(node)));
    for (std::size_t i = tree.ChildCount(node); i-- > 0;) stack.emplace_back(tree.ChildAt(node, i), depth + 1);
  }
  return lines;
}

// The log without the start's and the end's clock times.
Paths Untimed(Paths log) {
  for (std::string& line : log) {
    if (line.starts_with("---- ")) line = line.substr(line.find(" ---- ", 5));
  }
  return log;
}

// The folders a case is widened to: three, and three below each.
Paths WideFolders() {
  Paths folders;
  for (const char* top : {"w0/", "w1/", "w2/"}) {
    for (const char* below : {"", "v0/", "v1/", "v2/"}) folders.push_back(std::string(top) + below);
  }
  return folders;
}

// The case's entries again in every wide folder, so that workers overlap on folders
// that hold folders.
TCase Widened(TCase c) {
  const std::vector<TEntryPlan> entries = c.entries;
  for (const std::string& prefix : WideFolders()) {
    c.entries.push_back({prefix});
    for (const TEntryPlan& e : entries) c.entries.push_back({prefix + e.path, e.link, e.seconds});
  }
  return c;
}

// A photo in every wide folder, each with a date taken of its own, for a date job whose
// readings of the photos' metadata then overlap.
void PlantPhotos(const std::string& root) {
  const Paths folders = WideFolders();
  for (std::size_t i = 0; i < folders.size(); ++i) {
    const std::string folder = root + folders[i];
    const std::string photo = folder + "p.jpg";
    // The folder keeps its time, and the photo takes it: times of the clock's ticks would
    // order a walk by date differently from one build of the tree to the next.
    const fs::file_time_type time = fs::last_write_time(folder);
    Exiv2::ImageFactory::create(Exiv2::ImageType::jpeg, photo);
    auto image = Exiv2::ImageFactory::open(photo);
    Exiv2::ExifData exif;
    exif["Exif.Photo.DateTimeOriginal"] = "2024:06:" + std::to_string(10 + i) + " 09:07:05";
    image->setExifData(exif);
    image->writeMetadata();
    fs::last_write_time(photo, time);
    fs::last_write_time(folder, time);
  }
}

// Several folders at once against one after another, on the generated cases made to
// recurse (and, half the time, to restart the counter, so that counters run in parallel
// too; a third of the time with a date job, taken or modified, over photos): for a
// simulation and for a real run, the same figures, log, messages, entries and tree, and
// the same folder afterwards byte for byte, undo files included.
TEST(URunPredictionTest, TheWalkOverSeveralFoldersAtOnceDoesWhatTheWalkOneAfterAnotherDoes) {
  test::TTempDir dir;
  const std::string root = dir / "root/";
  const auto seed = static_cast<std::uint32_t>(EnvNumber("QX_PREDICTION_SEED", 20240611));
  int failures = 0;
  for (int number = 0; number < EnvNumber("QX_PREDICTION_CASES", 2000) / 80 && failures < 3; ++number) {
    TCase c = Widened(TCaseMaker(seed, number, false).Make());
    c.options.recurseDirs = true;
    if (number % 2 == 0) c.options.resetCounter = true;
    const bool dated = number % 3 == 1;
    if (dated) {
      c.jobs.AddNew(MakeJob(K::jobDate, 0, number % 2, 0, "", "yyyy-mm-dd "));
      c.options.fileMask = "*.*";  // the photos among the files
    }
    for (const bool simulate : {true, false}) {
      TRunResult results[2];
      Paths trees[2];
      for (int walk = 0; walk < 2; ++walk) {
        fs::remove_all(root);
        Build(root, c);
        if (dated) PlantPhotos(root);
        results[walk] = RunCase(c, root, simulate, walk == 0 ? 1 : 3);
        trees[walk] = test::SnapshotTree(root);
      }
      const TRunResult& one = results[0];
      const TRunResult& many = results[1];
      Paths problems;
      const auto expect = [&](const char* what, bool same) {
        if (!same) problems.push_back(what);
      };
      expect("figures", one.state.FilesProcessed == many.state.FilesProcessed &&
                            one.state.DirsProcessed == many.state.DirsProcessed &&
                            one.state.FilesRenamed == many.state.FilesRenamed &&
                            one.state.DirsRenamed == many.state.DirsRenamed &&
                            one.state.ErrorCount == many.state.ErrorCount);
      expect("log", Untimed(one.log) == Untimed(many.log));
      expect("messages", one.messages == many.messages);
      expect("entries", one.entries == many.entries);
      expect("tree", TreeLines(one.tree) == TreeLines(many.tree));
      expect("folder afterwards", trees[0] == trees[1]);
      if (problems.empty()) continue;
      ++failures;
      std::string text;
      for (const std::string& line : problems) text += " " + line;
      ADD_FAILURE() << "seed " << seed << ", case " << number << (simulate ? ", simulated" : ", real") << ": differs in"
                    << text << "\n"
                    << Describe(c);
    }
  }
}

// Where names that differ only in case are one, a case change is a rename onto the same
// entry and "a" and "A" clash: the picture must fold case as the folder does.
TEST(URunPredictionTest, TheSimulationMarksExactlyWhatTheRealRunDoesWhereCaseIsIgnored) {
  test::TCaseFoldMount mount;
  if (!mount.Available()) GTEST_SKIP() << mount.Unavailable();
  RunCases(mount / "root/", true, EnvNumber("QX_PREDICTION_CASES", 2000) / 20);
}

// The real run makes its undo file before its first rename: a new name that is the undo
// file's own must fail in the prediction as it fails in the real run.
TEST(URunPredictionTest, TheUndoFilesNameIsTakenInThePredictionAsInTheRealRun) {
  test::TTempDir dir;
  TCase c;
  c.entries = {{"_quillex_undo.TXT"}, {"d/"}, {"d/_quillex_undo.TXT"}};
  c.jobs.AddNew(MakeJob(K::jobLower, 2));
  c.options.recurseDirs = true;
  Build(dir / "root/", c);
  std::string text;
  for (const std::string& line : Differences(c, dir / "root/")) text += "\n" + line;
  EXPECT_EQ(text, "");
}

}  // namespace
}  // namespace qx
