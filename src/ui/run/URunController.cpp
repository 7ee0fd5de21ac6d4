// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/run/URunController.h"

#include <QApplication>
#include <QCursor>
#include <QWidget>
#include <QWindow>
#include <chrono>

#include "platform/UMessages.h"
#include "ui/UQtText.h"
#include "ui/run/UfrmLog.h"
#include "ui/run/UfrmProgress.h"
#include "ui/run/UfrmTree.h"

namespace qx {

namespace {

// Keeps the busy cursor for the work and gives the ordinary one back while a message
// box waits for the user.
class TBusyCursor : public TMessageHost {
 public:
  explicit TBusyCursor(TMessageHost& messages) : m_messages(messages) {
    QApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
  }
  ~TBusyCursor() override { QApplication::restoreOverrideCursor(); }
  TBusyCursor(const TBusyCursor&) = delete;
  TBusyCursor& operator=(const TBusyCursor&) = delete;

  void ShowMessage(const std::string& text) override {
    TOrdinaryCursor ordinary;
    m_messages.ShowMessage(text);
  }
  bool Confirm(const std::string& text) override {
    TOrdinaryCursor ordinary;
    return m_messages.Confirm(text);
  }
  void ShowFailure(const std::string& text, const std::string& reason) override {
    TOrdinaryCursor ordinary;
    m_messages.ShowFailure(text, reason);
  }
  TRenameAnswer AskRename(const std::string& question) override {
    TOrdinaryCursor ordinary;
    return m_messages.AskRename(question);
  }
  TFailureAnswer ShowRunFailure(const std::string& text, const std::string& reason) override {
    TOrdinaryCursor ordinary;
    return m_messages.ShowRunFailure(text, reason);
  }
  void Dismiss() override { m_messages.Dismiss(); }

 private:
  struct TOrdinaryCursor {
    TOrdinaryCursor() { QApplication::setOverrideCursor(QCursor(Qt::ArrowCursor)); }
    ~TOrdinaryCursor() { QApplication::restoreOverrideCursor(); }
  };
  TMessageHost& m_messages;
};

// The run's host in the desktop program. Pending window events run at every folder
// and, between entries, every few milliseconds: a click on Cancel reaches the run at
// once, without a pass through the event loop for each of a hundred thousand files.
class TQtRunHost : public TRunHost {
 public:
  TQtRunHost(TMessageHost& messages, TfrmLog& log, QPointer<TfrmProgress> progress, const bool& cancelRequested)
      : m_messages(messages), m_log(log), m_progress(std::move(progress)), m_cancelRequested(cancelRequested) {}

  // While a box waits for the user, the progress window shows where the run stands.
  void ShowMessage(const std::string& text) override {
    ShowProgressNow();
    m_messages.ShowMessage(text);
  }
  bool Confirm(const std::string& text) override {
    ShowProgressNow();
    return m_messages.Confirm(text);
  }
  void ShowFailure(const std::string& text, const std::string& reason) override {
    ShowProgressNow();
    m_messages.ShowFailure(text, reason);
  }
  TRenameAnswer AskRename(const std::string& question) override {
    ShowProgressNow();
    return m_messages.AskRename(question);
  }
  TFailureAnswer ShowRunFailure(const std::string& text, const std::string& reason) override {
    ShowProgressNow();
    return m_messages.ShowRunFailure(text, reason);
  }
  void AddLogLine(const std::string& line) override { m_log.AddLogLine(ToQString(line)); }
  void SetCurrentItem(const std::string& item) override {
    if (m_progress) m_progress->SetCurrentItem(ToQString(item));
    ProcessEvents();
  }
  void UpdateProgress(const TRunState& state) override {
    m_state = state;
    if (m_progress) m_progress->UpdateProgress(state);
    if (std::chrono::steady_clock::now() - m_lastEvents >= kEventInterval) ProcessEvents();
  }
  bool CancelRequested() override { return m_cancelRequested; }

 private:
  static constexpr std::chrono::milliseconds kEventInterval{5};
  void ProcessEvents() {
    QCoreApplication::processEvents();
    m_lastEvents = std::chrono::steady_clock::now();
  }

  void ShowProgressNow() {
    if (m_progress) m_progress->UpdateProgress(m_state, true);
  }

  std::chrono::steady_clock::time_point m_lastEvents;
  TRunState m_state;
  TMessageHost& m_messages;
  TfrmLog& m_log;
  QPointer<TfrmProgress> m_progress;  // forgotten if the window goes during the run
  const bool& m_cancelRequested;
};

}  // namespace

TRunController::TRunController(QWidget& window, TMessageHost& messages, TfrmLog& log, std::function<void(bool)> setBusy,
                               std::function<void(bool)> holdExplorer)
    : QObject(&window),
      m_window(window),
      m_messages(messages),
      m_log(log),
      m_setBusy(std::move(setBusy)),
      m_holdExplorer(std::move(holdExplorer)) {}

TRunController::~TRunController() {
  delete m_progress.data();
  delete m_tree.data();
}

void TRunController::Cancel() {
  if (!m_busy) return;
  // An undo cannot be cancelled half-way; its open question is answered No.
  m_cancelRequested = true;
  // A question open now would hold the run up: it is answered No.
  m_messages.Dismiss();
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

TRunState TRunController::Go(const TJobList& jobs, const TRunOptions& options) {
  // The run works on its own copy: nothing the user does meanwhile can change it.
  const TJobList runJobs = jobs;
  SetBusy(true);
  // Reading a folder of many thousand names again costs more than a simulation of it.
  if (!options.simulate) m_holdExplorer(true);
  ShowProgressWindow();
  if (options.simulate) ShowTreeWindow();

  TRunState state;
  TRunEnd end = TRunEnd::Completed;
  std::shared_ptr<TResultTree> result;
  {
    TBusyCursor busy(m_messages);
    m_cancelRequested = false;
    TQtRunHost host(busy, m_log, m_progress, m_cancelRequested);
    TRenameRun run(runJobs, options, host);
    // A failure that stopped the run says more than a Cancel pressed meanwhile. A Cancel
    // that answered the last question No left the run nothing more to stop: it was
    // cancelled all the same.
    if (!run.Run()) {
      end = TRunEnd::Stopped;
    } else if (run.State().Cancelled || m_cancelRequested) {
      end = TRunEnd::Cancelled;
    }
    state = run.State();
    if (options.simulate) result = std::make_shared<TResultTree>(run.TakeResultTree());
  }

  if (!options.simulate) m_holdExplorer(false);
  if (m_progress) {
    m_progress->UpdateProgress(state, true);
    m_progress->Finish(end);
  }
  if (options.simulate && m_tree) {
    m_tree->ShowResult(std::move(result), state.FilesRenamed, state.DirsRenamed);
    m_tree->ExpandFirstLevel();
    m_tree->raise();
  }
  if (options.log) m_log.ShowLog();
  SetBusy(false);
  return state;
}

TUndoOutcome TRunController::Undo(const std::string& directory) { return TakeBack(directory, UndoDirectory); }

TUndoOutcome TRunController::UndoTree(const std::string& directory) { return TakeBack(directory, qx::UndoTree); }

void TRunController::SetBusy(bool busy) {
  m_busy = busy;
  m_setBusy(busy);
}

TUndoOutcome TRunController::TakeBack(const std::string& directory, TUndoFunction undo) {
  SetBusy(true);
  m_holdExplorer(true);
  TUndoOutcome outcome;
  {
    TBusyCursor busy(m_messages);
    outcome = undo(directory, busy);
  }
  m_holdExplorer(false);
  SetBusy(false);
  return outcome;
}

}  // namespace qx
