// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/URunOutput.h"

namespace qx {

std::atomic<std::int32_t>& TPendingFigures::Of(std::int32_t TRunState::*figure) {
  if (figure == &TRunState::FilesProcessed) return filesProcessed;
  if (figure == &TRunState::DirsProcessed) return dirsProcessed;
  if (figure == &TRunState::FilesRenamed) return filesRenamed;
  if (figure == &TRunState::DirsRenamed) return dirsRenamed;
  return errors;
}

TRunState TPendingFigures::AddedTo(TRunState state) const {
  state.FilesProcessed += filesProcessed;
  state.DirsProcessed += dirsProcessed;
  state.FilesRenamed += filesRenamed;
  state.DirsRenamed += dirsRenamed;
  state.ErrorCount += errors;
  state.Progress += progress;
  return state;
}

}  // namespace qx
