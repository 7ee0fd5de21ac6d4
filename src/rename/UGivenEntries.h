// SPDX-License-Identifier: GPL-3.0-or-later
// The plan of a run over given entries: each entry's folder opened and listed once (so
// that a given folder renamed early leaves the handles of given folders inside it valid,
// and the run's visit reads no folder twice), the entries put in the run's order across
// all their folders, and each one's counter value taken from that order, so that twelve
// photos chosen in three folders are numbered as one series. A path that names no entry
// is a problem of the plan, which the run reports.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/UDirectory.h"
#include "rename/UNameArena.h"
#include "rename/URunOptions.h"

namespace qx {

// A given entry of a folder, in the run's order.
struct TGivenName {
  TNameId name;                                       // in the folder's listing
  std::int32_t counter = 0;                           // the counter's value at its turn
  std::optional<std::string> newName = std::nullopt;  // as given; else the jobs make it
};

struct TGivenFolder {
  TDirectory directory;
  TNameArena names;               // its listing
  std::vector<bool> isDirectory;  // of each name listed
  // Its path below the plan's common folder, as a simulation's tree shows it; empty for
  // that folder itself.
  std::string below;
  std::vector<TGivenName> directories, files;
};

// A path the run cannot take, and why.
struct TGivenProblem {
  std::string path, reason;
};

struct TGivenPlan {
  std::string commonFolder;           // the folder that holds every given entry
  std::vector<TGivenFolder> folders;  // in the order of each one's first entry
  std::vector<TGivenProblem> problems;
  std::size_t turns = 0;          // the entries that take a turn: files, and folders to rename
  std::int32_t counterAfter = 0;  // where the counter runs on, in folders entered below given ones
};

// `given` by the run's `options`; `countersPerTurn`: how far each entry's turn moves the
// counter (one per counter job ticked). An entry given twice, or lying inside a given folder that the run enters
// (which then takes it as any entry of its walk), is planned once.
TGivenPlan PlanGivenEntries(const std::vector<TGivenEntry>& given, const TRunOptions& options, int countersPerTurn);

}  // namespace qx
