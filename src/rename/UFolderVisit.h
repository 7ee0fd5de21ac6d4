// SPDX-License-Identifier: GPL-3.0-or-later
// One folder's visit in a rename run: its directory, its names, its subdirectories, and
// where its effects go. Shared by the run, which makes the visit's steps, and the walk
// over several folders at once, which enters the subdirectories.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/UDirectory.h"
#include "rename/UFolderRenamer.h"
#include "rename/UNameArena.h"
#include "rename/UResultTree.h"
#include "rename/URunOutput.h"
#include "rename/UTWRFile.h"

namespace qx {

class TUndoFileWriter;
struct TGivenName;

// Nothing of a visit outlives it. Its steps run while it is the newest visit of its walk
// (or its worker's), so the undo file may hold on to its directory meanwhile.
struct TFolderVisit {
  TDirectory directory;
  int depth;
  TNodeId node;                                 // simulated runs: the directory's node in `tree`
  double descentShare;                          // the progress its subdirectories' visits make
  TRunOutput* out;                              // where its log lines, failures, counts and progress go
  TResultTree* tree;                            // simulated runs: where its nodes go
  std::int32_t* counter;                        // the counter its counter jobs read and advance
  std::size_t nameMax = 0;                      // the longest name its file system allows
  TUndoFileWriter* undo = nullptr;              // during the steps of a real run with undo on
  TNameArena names = {};                        // the listing's names, then the new names and temporaries
  TWRFileList directories{false};               // collected once; serves the rename step and the descents
  std::vector<TNameId> directoryNewNames = {};  // real runs that rename folders: each one's name after its step
  std::vector<TNodeId> treeIndexList = {};      // simulated runs: each subdirectory's node
  std::unique_ptr<TRenameFolder> folder = {};   // during the steps: where the renames are made
  std::size_t descended = 0;                    // subdirectories entered so far
  // A visit of given entries' folder: each subdirectory's and file's plan, in the order
  // of `directories` and of the file step; empty in a walk's visit.
  std::vector<const TGivenName*> givenDirectories = {}, givenFiles = {};

  // The name subdirectory `i` is entered by: its new name once a real run renamed it.
  std::string_view SubdirectoryName(std::size_t i) const {
    return names.View(directoryNewNames.empty() ? directories.Name(i) : directoryNewNames[i]);
  }
  // "+ Recursing into" subdirectory `i`, to `to`: logged only for a folder the run enters.
  void LogDescent(TRunOutput& to, std::size_t i) const;
};

// Where a folder of the walk is, before it is entered.
struct TFolderPlace {
  const TDirectory* parent;  // null for the starting directory
  std::string_view name;     // as entered from `parent`, or the starting directory's path
  int depth;
  double share;  // the progress its visit makes, its subdirectories' included
};

// What a visit left: the visit, when the folder was entered; whether its subdirectories
// are to be entered.
struct TVisited {
  std::unique_ptr<TFolderVisit> visit;
  bool recurses = false;
};

}  // namespace qx
