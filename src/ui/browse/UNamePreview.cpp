// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/browse/UNamePreview.h"

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
  m_done = false;
  if (!m_result && m_failure.empty()) return;
  m_result.reset();
  m_failure.clear();
  emit Changed();
}

void TNamePreview::Start() {
  if (!m_inputs || m_running) return;
  m_cancel = std::make_shared<std::atomic_bool>(false);
  m_running = true;
  // The worker holds copies of the inputs and shares only its stop flag.
  StartWork(m_watcher, [cancel = m_cancel, inputs = std::move(*m_inputs)] {
    return std::shared_ptr<const TFolderPreview>(
        TFolderPreview::Make(inputs.jobs, inputs.options, [&cancel] { return cancel->load(); }));
  });
  m_inputs.reset();
}

void TNamePreview::Arrived() {
  const auto outcome = FinishedWork(m_watcher);
  // Only the end of the preview on its way counts.
  if (!m_running || !outcome) return;
  m_running = false;
  if (m_inputs) return Start();
  if (m_cancel->load()) return;
  m_result = outcome->value;
  m_failure = outcome->failure;
  m_done = true;
  emit Changed();
  emit Finished();
}

}  // namespace qx
