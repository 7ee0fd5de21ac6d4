// SPDX-License-Identifier: GPL-3.0-or-later
// quillex-cli run and undo: the rename run, its simulation and Undo of one folder,
// driven from a terminal.
#pragma once

#include <iosfwd>
#include <string>

#include "jobs/UTJob.h"
#include "platform/UMessages.h"
#include "rename/UResultTree.h"
#include "rename/URunOptions.h"

namespace qx::cli {

class TTerminalMessages;

// What a run prints on stdout: for people, each change as "old -> new" (a simulation's,
// or a real run's when verbose) or the simulation's tree; for scripts and file managers,
// JSON lines.
// A simulation may also write its renames as a list to apply (TSV or CSV).
enum class TOutputFormat { text, tree, json, tsv, csv };

struct TRunRequest {
  TRunOptions options;
  std::string logFile;  // "" logs to stderr
  TOutputFormat format = TOutputFormat::text;
  bool verbose = false;  // a real run's text tells each change too
  bool colour = false;   // the changed part of each name stands out
};

// Runs or simulates; prints, as the format says, each change or the result tree
// (simulation), then the figures; or with JSON one object per line: an entry's outcome
// per entry the run took a turn for, in the order of the walk, then the summary of the
// figures. Messages and the log go to `err` (or the log file), never to `out`. Returns
// an exit status.
int RunRename(const TJobList& jobs, const TRunRequest& request, TTerminalMessages& messages, std::ostream& out,
              std::ostream& err);

// Undo of one folder, or with `recurse` of the folder and all its subfolders. Returns an
// exit status: a declined question is no failure.
int RunUndo(const std::string& directory, bool recurse, TMessageHost& messages);

// The simulated tree as text: two blanks per level, a tag (D= D+ D! F= F+ F!), a blank
// and the node's text, one line per node, in tree order.
void PrintResultTree(const TResultTree& tree, std::ostream& out);

}  // namespace qx::cli
