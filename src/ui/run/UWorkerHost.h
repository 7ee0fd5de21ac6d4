// SPDX-License-Identifier: GPL-3.0-or-later
// The host of a run or an undo on a worker thread. What the window shows of it (log
// lines, the folder being entered, the figures) reaches the window's thread in batches,
// at most every 40 ms, the latest figures winning; a question is asked there while the
// worker waits for the answer. Touches no window itself.
#pragma once

#include <QString>
#include <QStringList>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include "rename/UFollowedPaths.h"
#include "rename/URenameRun.h"

class QObject;

namespace qx {

class TWindowMessages;

// What the worker has to show and the window has not taken yet.
struct TWorkerNews {
  QStringList logLines;
  std::optional<QString> currentItem;
  std::optional<TRunState> state;
};

// A question the worker waits on. The first answer counts: the user's, or Esc's for a
// Cancel meanwhile.
class TWorkerQuestion {
 public:
  virtual ~TWorkerQuestion() = default;
  // Shows it through `messages`; `closed` runs once its box has been answered.
  virtual void Ask(TWindowMessages& messages, std::function<void()> closed) = 0;
  // Answers it as Esc would; any thread.
  virtual void Dismiss() = 0;
};

// A Cancel, from any thread: the flag the worker reads, and the question it waits on
// answered as Esc would, so that the worker is never left waiting for it.
class TCancellation {
 public:
  bool Requested() const { return m_requested; }
  void Request();
  // Before new work starts.
  void Clear() { m_requested = false; }
  // The worker's question until Release; dismissed at once when a Cancel has come.
  void Hold(std::shared_ptr<TWorkerQuestion> question);
  void Release();

 private:
  std::atomic<bool> m_requested = false;
  std::mutex m_lock;
  std::shared_ptr<TWorkerQuestion> m_waiting;
};

// The window's side of the host: called on the window's thread only, in the order the
// worker made the calls.
class TWorkerWindow {
 public:
  virtual void ShowNews(TWorkerNews news) = 0;
  virtual void Ask(const std::shared_ptr<TWorkerQuestion>& question) = 0;

 protected:
  ~TWorkerWindow() = default;
};

class TWorkerHost : public TRunHost {
 public:
  // `context` lives on the window's thread, which the calls to `window` are queued to,
  // and outlives the worker; a Cancel reaches the worker through `cancellation`.
  TWorkerHost(QObject& context, TWorkerWindow& window, TCancellation& cancellation);

  // Once cancelled, nobody is asked (nobody may be left to answer): Esc's answer.
  void ShowMessage(const std::string& text) override;
  bool Confirm(const std::string& text) override;
  void ShowFailure(const std::string& text, const std::string& reason) override;
  TRenameAnswer AskRename(const std::string& question) override;
  TFailureAnswer ShowRunFailure(const std::string& text, const std::string& reason) override;

  void AddLogLine(const std::string& line) override;
  void SetCurrentItem(const std::string& item) override;
  void UpdateProgress(const TRunState& state) override;
  bool CancelRequested() override { return m_cancellation.Requested(); }
  // Each entry renamed moves `followed`'s paths, from now on.
  void Follow(TFollowedPaths& followed) { m_followed = &followed; }
  void EntryDone(const TEntryOutcome& outcome) override;

  // Runs `call` on the window's thread after the news before it: how the worker says
  // it has ended.
  void Post(std::function<void()> call);

 private:
  struct TNewsBox;
  template <typename T, typename TAsk>
  T Ask(T escape, TAsk ask);
  // With the news locked: queues them unless they are queued already or were queued
  // less than 40 ms ago.
  void PostNewsLocked();

  QObject& m_context;
  TWorkerWindow& m_window;
  TCancellation& m_cancellation;
  std::shared_ptr<TNewsBox> m_news;  // shared with the queued calls, which may outlive the host
  std::chrono::steady_clock::time_point m_lastPost;
  TFollowedPaths* m_followed = nullptr;
};

}  // namespace qx
