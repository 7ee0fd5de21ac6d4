// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/browse/UNamePreview.h"

#include <QPromise>
#include <QThreadPool>

namespace qx {

TNamePreview::TNamePreview(QObject* parent) : QObject(parent) {
  // A burst of changes (a job list loaded, several options set) makes one preview.
  m_start.setSingleShot(true);
  m_start.setInterval(0);
  connect(&m_start, &QTimer::timeout, this, &TNamePreview::Start);
  connect(&m_watcher, &QFutureWatcherBase::finished, this, &TNamePreview::Arrived);
}

// A preview still on its way stops at its next step; nobody takes its result.
TNamePreview::~TNamePreview() {
  if (m_running) m_cancel->store(true);
}

void TNamePreview::Request(TJobList jobs, TRunOptions options) {
  m_inputs = TInputs{std::move(jobs), std::move(options)};
  Drop();
  if (m_running) {
    // Its result would answer older inputs; these start once it has stopped.
    m_cancel->store(true);
  } else {
    m_start.start();
  }
}

void TNamePreview::Clear() {
  m_inputs.reset();
  m_start.stop();
  if (m_running) m_cancel->store(true);
  Drop();
}

void TNamePreview::Drop() {
  if (!m_result) return;
  m_result.reset();
  emit Changed();
}

void TNamePreview::Start() {
  if (!m_inputs || m_running) return;
  auto promise = std::make_shared<QPromise<TOutcome>>();
  m_cancel = std::make_shared<std::atomic_bool>(false);
  m_running = true;
  m_watcher.setFuture(promise->future());
  // The worker holds copies of the inputs and shares only its promise and stop flag,
  // so it may outlive this object.
  QThreadPool::globalInstance()->start([promise, cancel = m_cancel, inputs = std::move(*m_inputs)] {
    promise->start();
    promise->addResult(
        TOutcome(TFolderPreview::Make(inputs.jobs, inputs.options, [&cancel] { return cancel->load(); })));
    promise->finish();
  });
  m_inputs.reset();
}

void TNamePreview::Arrived() {
  m_running = false;
  const bool superseded = m_cancel->load();
  TOutcome outcome = m_watcher.future().resultCount() > 0 ? m_watcher.future().takeResult() : nullptr;
  if (m_inputs) return Start();
  if (superseded) return;
  m_result = std::move(outcome);
  emit Changed();
  emit Finished();
}

}  // namespace qx
