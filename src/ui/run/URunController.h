// SPDX-License-Identifier: GPL-3.0-or-later
// Go and Undo for the main window: the core's rename run and undo on a worker thread,
// shown through the progress, log and tree windows while the window's thread stays
// free. The main window's commands that could disturb a run are switched off while it
// lasts, however it ends.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "jobs/UTJob.h"
#include "rename/URenameRun.h"
#include "rename/USelection.h"
#include "rename/UUndo.h"
#include "ui/run/UWorkerHost.h"
#include "ui/run/UfrmProgress.h"
#include "ui/run/UfrmTree.h"

class QWidget;

namespace qx {

class TWindowMessages;
class TfrmLog;

class TRunController : public QObject, private TWorkerWindow {
  Q_OBJECT

 public:
  // `window` is the main window: it owns the controller, and the progress window is
  // centred over it. `setBusy(true)` switches the main window's run-disturbing commands
  // off, `false` on. `holdExplorer(true)` has the folder tree and the file list stop
  // following their folders before a run or undo changes the files, `false` reads them again afterwards; a
  // simulation changes nothing, so it calls neither.
  TRunController(QWidget& window, TWindowMessages& messages, TfrmLog& log, std::function<void(bool)> setBusy,
                 std::function<void(bool)> holdExplorer);
  // Cancels what goes on and waits for its worker; the progress and tree windows go
  // with it.
  ~TRunController() override;

  // Starts the run over `options.startDirectory`, or its given entries, with the ticked
  // jobs, from StartRun's window steps, and returns; RunFinished follows once it has
  // ended and the windows show how, after EntriesMoved for a real run over given
  // entries. The run works on its own copies of both. The settings are the caller's to
  // write first. Nothing while a run or an undo goes on.
  void Go(const TJobList& jobs, const TRunOptions& options);
  // Undo of the folder's own undo file; UndoTree takes back the folder and all its
  // subfolders in one step; UndoSelection each folder of the selection's own, one after
  // the other, every folder before those that hold it, then tells EntriesMoved. Each
  // starts it and returns; UndoFinished follows.
  void Undo(const std::string& directory);
  void UndoTree(const std::string& directory);
  void UndoSelection(const TSelection& selection);

  // True from Go or Undo until just before its finished signal.
  bool IsRunning() const { return m_busy; }
  // Cancels the run as the progress window's Cancel does, and answers a question or
  // message still open as Esc would; an undo is not cut short, but asks nothing more.
  // From any thread; nothing when nothing goes on.
  void Cancel();
  // The windows of the latest run; null once the user has closed them.
  TfrmProgress* ProgressWindow() const { return m_progress; }
  TfrmTree* TreeWindow() const { return m_tree; }

 signals:
  void RunFinished(const qx::TRunState& state, qx::TRunEnd end);
  void UndoFinished(const qx::TUndoOutcome& outcome);
  // Where the given entries of a real run, or the entries of a selection undone, are
  // now, in their order; before the folder tree and the file list are read again.
  void EntriesMoved(const std::vector<std::string>& paths);

 private:
  struct TRunResult {
    TRunState state;
    TRunEnd end = TRunEnd::Stopped;       // until the run says otherwise
    std::shared_ptr<TResultTree> result;  // a simulation's
    std::optional<std::vector<std::string>> moved;
  };
  struct TUndoResult {
    TUndoOutcome outcome;
    std::optional<std::vector<std::string>> moved;
  };

  void ShowNews(TWorkerNews news) override;
  void Ask(const std::shared_ptr<TWorkerQuestion>& question) override;
  void DismissOpenQuestion();

  void SetBusy(bool busy);
  // The busy state and cursor from here until End.
  void Begin();
  void End();
  // Runs `work` on a thread of its own, then `finish` with its outcome on this one.
  template <typename TOutcome>
  void Start(std::function<TOutcome(TWorkerHost&)> work, std::function<void(TOutcome)> finish);
  void FinishRun(const TRunOptions& options, TRunResult run);
  void ShowProgressWindow();
  void ShowTreeWindow();
  // An undo, with the busy state, cursor and held explorer a run has.
  void TakeBack(std::function<TUndoResult(TWorkerHost&)> undo);

  QWidget& m_window;
  TWindowMessages& m_messages;
  TfrmLog& m_log;
  std::function<void(bool)> m_setBusy;
  std::function<void(bool)> m_holdExplorer;
  QPointer<TfrmProgress> m_progress;
  QPointer<TfrmTree> m_tree;
  bool m_busy = false;
  TCancellation m_cancellation;
  // The question whose box is open.
  std::shared_ptr<TWorkerQuestion> m_asked;
  std::thread m_worker;
};

}  // namespace qx
