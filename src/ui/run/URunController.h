// SPDX-License-Identifier: GPL-3.0-or-later
// Go and Undo for the main window: the core's rename run and undo, shown through the
// progress, log and tree windows. The main window's commands that could disturb a run
// are switched off while it lasts, however it ends.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <string>

#include "jobs/UTJob.h"
#include "rename/URenameRun.h"
#include "rename/UUndo.h"
#include "ui/run/UfrmProgress.h"
#include "ui/run/UfrmTree.h"

class QWidget;

namespace qx {

class TMessageHost;
class TfrmLog;

class TRunController : public QObject {
  Q_OBJECT

 public:
  // `window` is the main window: it owns the controller, and the progress window is
  // centred over it. `setBusy(true)` switches the main window's run-disturbing commands
  // off, `false` on. `holdExplorer(true)` has the folder tree and the file list stop
  // following their folders before a run or undo changes the files, `false` reads them again afterwards; a
  // simulation changes nothing, so it calls neither.
  TRunController(QWidget& window, TMessageHost& messages, TfrmLog& log, std::function<void(bool)> setBusy,
                 std::function<void(bool)> holdExplorer);
  // The progress and tree windows go with it.
  ~TRunController() override;

  // The run over `options.startDirectory` with the ticked jobs, from StartRun's window
  // steps to FinishRun's. The settings are the caller's to write first.
  TRunState Go(const TJobList& jobs, const TRunOptions& options);
  // Undo of the folder's own undo file; UndoTree takes back the folder and all its
  // subfolders in one step.
  TUndoOutcome Undo(const std::string& directory);
  TUndoOutcome UndoTree(const std::string& directory);

  // True while a run or an undo goes on.
  bool IsRunning() const { return m_busy; }
  // Cancels the run as the progress window's Cancel does, and answers a question or
  // message of the run still open as Esc would; nothing when no run goes on.
  void Cancel();
  // The windows of the latest run; null once the user has closed them.
  TfrmProgress* ProgressWindow() const { return m_progress; }
  TfrmTree* TreeWindow() const { return m_tree; }

 private:
  void SetBusy(bool busy);
  void ShowProgressWindow();
  void ShowTreeWindow();
  using TUndoFunction = TUndoOutcome (*)(const std::string&, TMessageHost&);
  // Either undo, with the busy state, cursor and held explorer a run has.
  TUndoOutcome TakeBack(const std::string& directory, TUndoFunction undo);

  QWidget& m_window;
  TMessageHost& m_messages;
  TfrmLog& m_log;
  std::function<void(bool)> m_setBusy;
  std::function<void(bool)> m_holdExplorer;
  QPointer<TfrmProgress> m_progress;
  QPointer<TfrmTree> m_tree;
  bool m_busy = false;
  // Read by the run through its host.
  bool m_cancelRequested = false;
};

}  // namespace qx
