// SPDX-License-Identifier: GPL-3.0-or-later
// What a run would make of the entries of one folder, or of given entries, each found by
// its present path: the run's own simulation of that folder as the start folder of a
// run, or of a run over the given entries, with no descent, nothing logged, asked or
// recorded. It renames nothing; the live preview of new names asks it, and holds nothing
// per entry beyond the simulation's compact tree, which keeps the present names, and an
// index of them.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "jobs/UTJob.h"
#include "rename/UKeyIndex.h"
#include "rename/UResultTree.h"
#include "rename/URunOptions.h"

namespace qx {

class TFolderPreview {
 public:
  // An entry as the simulation's tree shows it: its new name, the name it keeps, or for
  // a failure the name refused with the old one, and its state.
  struct TOutcome {
    std::string_view text;
    TNodeState state;
    std::string_view reason;  // a failure's, as the log gives it
  };

  // Simulates a run of `jobs` over `options.startDirectory` alone, with the options'
  // mask, order, counter and folder renaming, as a real run takes its start folder; or,
  // with `options.given`, over those entries, in order and counted as one series.
  // Nothing when no run could start (no ticked job, a bad expression) or once
  // `cancelled` answers true (the run asks it between entries). Throws when there can be
  // no preview, so that the caller can say why: TSystemError when the start folder cannot
  // be opened, std::runtime_error with the run's message when a folder cannot be read,
  // std::length_error when its names are more than a run can sort.
  static std::unique_ptr<TFolderPreview> Make(const TJobList& jobs, TRunOptions options,
                                              const std::function<bool()>& cancelled);

  TFolderPreview(const TFolderPreview&) = delete;  // its index finds names through this object's tree
  TFolderPreview& operator=(const TFolderPreview&) = delete;

  // The entry at `path` (bytes: its folder as the run names it, '/', its name); nothing
  // for an entry the run takes no turn for: a hidden file, one the mask leaves out, the
  // undo file, a folder while folders are not renamed, or a path that named no entry.
  std::optional<TOutcome> Outcome(std::string_view path) const;
  // How many entries have an outcome.
  std::size_t EntryCount() const { return m_index.Size(); }

 private:
  // Files the entries the run took a turn for under their present paths.
  TFolderPreview(TResultTree tree, bool foldersRenamed);
  // The present path of the entry shown as `node`, composed in `path`.
  std::string_view PathOf(TNodeId node, std::string& path) const;

  TResultTree m_tree;  // keeps old names
  TKeyIndex m_index;   // present path -> node
};

}  // namespace qx
