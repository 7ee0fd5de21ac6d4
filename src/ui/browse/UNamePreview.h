// SPDX-License-Identifier: GPL-3.0-or-later
// The file list's New name column behind the scenes: the core's preview of one folder
// (TFolderPreview), made off the window's thread so that a folder of 100,000 files never
// holds the window up. One preview is made at a time; inputs that arrive meanwhile
// supersede it, and it is dropped when it ends. It shows nothing itself.
#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QTimer>
#include <atomic>
#include <memory>
#include <optional>
#include <string>

#include "jobs/UTJob.h"
#include "rename/UFolderPreview.h"
#include "rename/URunOptions.h"
#include "ui/UWork.h"

namespace qx {

class TNamePreview : public QObject {
  Q_OBJECT

 public:
  explicit TNamePreview(QObject* parent = nullptr);
  ~TNamePreview() override;

  // Previews a run of `jobs` with `options` over `options.startDirectory`. The result
  // held until now is dropped at once: it answers other inputs. Requests made in one
  // pass of the event loop make one preview.
  void Request(TJobList jobs, TRunOptions options);
  // Drops the result and whatever is on its way.
  void Clear();

  // The preview of the latest request; null while it is on its way, or when there is
  // none (an empty folder name, no ticked job, a preview that failed).
  const TFolderPreview* Result() const { return m_result.get(); }
  // Why the preview of the latest request failed (the folder could not be read, its
  // names are more than a run can sort, memory ran out ...); "" when it did not.
  const std::string& Failure() const { return m_failure; }
  bool IsBusy() const { return m_inputs.has_value() || m_running; }
  // Whether the preview of the latest request is in.
  bool IsDone() const { return m_done; }

 signals:
  // Result() or Failure() changed: dropped, or a new preview arrived.
  void Changed();
  // The preview of the latest request is in (Result() may still be null).
  void Finished();

 private:
  struct TInputs {
    TJobList jobs;
    TRunOptions options;
  };

  void Start();
  void Arrived();
  void Drop();

  std::optional<TInputs> m_inputs;  // asked for, not started yet
  bool m_running = false;
  std::shared_ptr<std::atomic_bool> m_cancel;  // the running preview's
  QFutureWatcher<TWorkOutcome<const TFolderPreview>> m_watcher;
  QTimer m_start;
  std::shared_ptr<const TFolderPreview> m_result;
  std::string m_failure;
  bool m_done = false;
};

}  // namespace qx
