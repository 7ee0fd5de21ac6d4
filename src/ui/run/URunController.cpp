// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/run/URunController.h"

#include <QApplication>
#include <QCursor>
#include <QWidget>
#include <QWindow>
#include <exception>

#include "ui/UWindowMessages.h"
#include "ui/UWork.h"
#include "ui/run/UfrmLog.h"
#include "ui/run/UfrmProgress.h"
#include "ui/run/UfrmTree.h"

namespace qx {

namespace {

// What the work throws ends it, with `text` and why, instead of ending the program.
template <typename TWork>
void Guarded(TMessageHost& host, const std::string& text, TWork work) {
  try {
    work();
  } catch (...) {
    host.ShowFailure(text, WorkFailure(std::current_exception()));
  }
}

}  // namespace

TRunController::TRunController(QWidget& window, TWindowMessages& messages, TfrmLog& log,
                               std::function<void(bool)> setBusy, std::function<void(bool)> holdExplorer)
    : QObject(&window),
      m_window(window),
      m_messages(messages),
      m_log(log),
      m_setBusy(std::move(setBusy)),
      m_holdExplorer(std::move(holdExplorer)) {}

TRunController::~TRunController() {
  if (m_worker.joinable()) {
    // A run ends at its next entry; an undo goes on to its end, asking nobody.
    Cancel();
    m_worker.join();
    QApplication::restoreOverrideCursor();
  }
  delete m_progress.data();
  delete m_tree.data();
}

void TRunController::Cancel() {
  m_cancellation.Request();
  // Its box goes on this thread: at once when called here, else queued.
  QMetaObject::invokeMethod(this, &TRunController::DismissOpenQuestion);
}

void TRunController::DismissOpenQuestion() {
  // Not a later run's question, should this come late from another thread.
  if (m_asked && m_cancellation.Requested()) m_messages.Dismiss();
}

void TRunController::ShowNews(TWorkerNews news) {
  for (const QString& line : news.logLines) m_log.AddLogLine(line);
  if (!m_progress) return;
  if (news.currentItem) m_progress->SetCurrentItem(*news.currentItem);
  // Already at most every 40 ms; and while a box waits, the window shows where the run stands.
  if (news.state) m_progress->UpdateProgress(*news.state, true);
}

void TRunController::Ask(const std::shared_ptr<TWorkerQuestion>& question) {
  // Answered already by a Cancel on its way here.
  if (m_cancellation.Requested()) return;
  m_asked = question;
  // The ordinary cursor while a box waits for the user.
  QApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
  question->Ask(m_messages, [this, question] {
    QApplication::restoreOverrideCursor();
    if (m_asked == question) m_asked.reset();
  });
}

void TRunController::ShowProgressWindow() {
  if (!m_progress) {
    m_progress = new TfrmProgress;
    connect(m_progress, &TfrmProgress::CancelRequested, this, &TRunController::Cancel);
    // Over the middle of the main window, whatever the window manager would choose.
    m_progress->move(m_window.frameGeometry().center() - m_progress->rect().center());
    m_progress->winId();
    m_progress->windowHandle()->setTransientParent(m_window.windowHandle());
  }
  m_progress->Start();
  // Where the run stands, from its start: a question may come before its first figures.
  m_progress->UpdateProgress(TRunState{}, true);
  m_progress->show();
  m_progress->raise();
}

void TRunController::ShowTreeWindow() {
  if (!m_tree) {
    m_tree = new TfrmTree;
    m_tree->show();
  }
  m_tree->Clear();
}

void TRunController::SetBusy(bool busy) {
  m_busy = busy;
  m_setBusy(busy);
}

void TRunController::Begin() {
  SetBusy(true);
  QApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
  m_cancellation.Clear();
}

void TRunController::End() {
  QApplication::restoreOverrideCursor();
  SetBusy(false);
}

template <typename TOutcome>
void TRunController::Start(std::function<TOutcome(TWorkerHost&)> work, std::function<void(TOutcome)> finish) {
  // A thread of its own rather than the pool's: the work may wait on the user for as
  // long as a box stays open, and the pool serves the file list meanwhile.
  m_worker = std::thread([this, work = std::move(work), finish = std::move(finish)] {
    TWorkerHost host(*this, *this, m_cancellation);
    auto outcome = std::make_shared<TOutcome>(work(host));
    host.Post([this, outcome, finish] {
      m_worker.join();
      finish(std::move(*outcome));
    });
  });
}

void TRunController::Go(const TJobList& jobs, const TRunOptions& options) {
  if (m_busy) return;
  Begin();
  // Reading a folder of many thousand names again costs more than a simulation of it.
  if (!options.simulate) m_holdExplorer(true);
  ShowProgressWindow();
  if (options.simulate) ShowTreeWindow();
  // The run works on its own copy: nothing the user does meanwhile can change it.
  Start<TRunResult>(
      [jobs, options](TWorkerHost& host) {
        TRunResult run;
        std::optional<TFollowedPaths> followed;
        if (options.given && !options.simulate) {
          std::vector<std::string> paths;
          for (const TGivenEntry& entry : *options.given) paths.push_back(entry.path);
          // Entering given folders, the run names the folders below them by their new names.
          followed.emplace(std::move(paths), options.recurseDirs ? TFollowedPaths::TFolderNames::after
                                                                 : TFollowedPaths::TFolderNames::before);
          host.Follow(*followed);
        }
        Guarded(host, "The run stopped", [&] {
          TRenameRun renaming(jobs, options, host);
          // A failure that stopped the run says more than a Cancel pressed meanwhile. A
          // Cancel that answered the last question No left the run nothing more to
          // stop: it was cancelled all the same.
          if (!renaming.Run()) {
            run.end = TRunEnd::Stopped;
          } else if (renaming.State().Cancelled || host.CancelRequested()) {
            run.end = TRunEnd::Cancelled;
          } else {
            run.end = TRunEnd::Completed;
          }
          run.state = renaming.State();
          if (options.simulate) run.result = std::make_shared<TResultTree>(renaming.TakeResultTree());
        });
        if (followed) run.moved = followed->Paths();
        return run;
      },
      [this, options](TRunResult run) { FinishRun(options, std::move(run)); });
}

void TRunController::FinishRun(const TRunOptions& options, TRunResult run) {
  if (run.moved) emit EntriesMoved(*run.moved);
  if (!options.simulate) m_holdExplorer(false);
  if (m_progress) {
    m_progress->UpdateProgress(run.state, true);
    m_progress->Finish(run.end);
  }
  if (options.simulate && m_tree && run.result) {
    m_tree->ShowResult(std::move(run.result), run.state.FilesRenamed, run.state.DirsRenamed);
    m_tree->ExpandFirstLevel();
    m_tree->raise();
  }
  if (options.log) m_log.ShowLog();
  End();
  emit RunFinished(run.state, run.end);
}

void TRunController::Undo(const std::string& directory) {
  TakeBack([directory](TWorkerHost& host) { return TUndoResult{UndoDirectory(directory, host), std::nullopt}; });
}

void TRunController::UndoTree(const std::string& directory) {
  TakeBack([directory](TWorkerHost& host) { return TUndoResult{qx::UndoTree(directory, host), std::nullopt}; });
}

void TRunController::UndoSelection(const TSelection& selection) {
  TakeBack([paths = selection.Paths(), folders = selection.Folders()](TWorkerHost& host) {
    TUndoResult result;
    TFollowedPaths followed(paths, TFollowedPaths::TFolderNames::before);
    for (const std::string& folder : folders) {
      TStepLog steps;
      const TUndoOutcome outcome = UndoDirectoryRecorded(folder, host, steps);
      followed.RenamedInTurn(folder, steps.Steps());
      result.outcome.ran = result.outcome.ran || outcome.ran;
      result.outcome.renamed += outcome.renamed;
      result.outcome.errors += outcome.errors;
    }
    result.moved = followed.Paths();
    return result;
  });
}

void TRunController::TakeBack(std::function<TUndoResult(TWorkerHost&)> undo) {
  if (m_busy) return;
  Begin();
  m_holdExplorer(true);
  Start<TUndoResult>(
      [undo = std::move(undo)](TWorkerHost& host) {
        TUndoResult result;
        Guarded(host, "Undo stopped", [&] { result = undo(host); });
        return result;
      },
      [this](TUndoResult result) {
        if (result.moved) emit EntriesMoved(*result.moved);
        m_holdExplorer(false);
        End();
        emit UndoFinished(result.outcome);
      });
}

}  // namespace qx
