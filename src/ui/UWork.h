// SPDX-License-Identifier: GPL-3.0-or-later
// Work for the thread pool whose outcome comes back to the window's thread through a
// QFutureWatcher. What the work throws comes back as a reason instead of ending the
// program, and each work reports its end exactly once. Knows nothing of the work itself.
#pragma once

#include <QFutureWatcher>
#include <QPromise>
#include <QThreadPool>
#include <exception>
#include <memory>
#include <optional>
#include <string>

namespace qx {

template <typename T>
struct TWorkOutcome {
  std::shared_ptr<T> value;  // what the work returned; null when it threw
  std::string failure;       // why it threw, for the user; "" when it did not
};

// The reason a work failed, as a user reads it: the exception's text, "not enough
// memory" for bad_alloc, "an unknown error" for anything that is no std::exception.
std::string WorkFailure(const std::exception_ptr& thrown);

// Runs `work` (returning std::shared_ptr<T>) on the global thread pool; `watcher`
// follows it from now on, and no longer follows the work it followed before.
template <typename T, typename Work>
void StartWork(QFutureWatcher<TWorkOutcome<T>>& watcher, Work work) {
  auto promise = std::make_shared<QPromise<TWorkOutcome<T>>>();
  watcher.setFuture(promise->future());
  // The worker shares only its promise, so it may outlive the watcher.
  QThreadPool::globalInstance()->start([promise, work = std::move(work)]() mutable {
    promise->start();
    TWorkOutcome<T> outcome;
    try {
      outcome.value = work();
    } catch (...) {
      outcome.failure = WorkFailure(std::current_exception());
    }
    promise->addResult(std::move(outcome));
    promise->finish();
  });
}

// The outcome of the work `watcher` follows once it has ended; nothing before. It is
// read, never taken: taking it would mark the future unfinished, and the worker, letting
// go of its promise afterwards, would end it a second time with nothing in it.
template <typename T>
std::optional<TWorkOutcome<T>> FinishedWork(const QFutureWatcher<TWorkOutcome<T>>& watcher) {
  const QFuture<TWorkOutcome<T>> future = watcher.future();
  if (!future.isFinished() || future.resultCount() == 0) return std::nullopt;
  return future.result();
}

}  // namespace qx
