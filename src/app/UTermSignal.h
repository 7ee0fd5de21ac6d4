// SPDX-License-Identifier: GPL-3.0-or-later
// SIGTERM as an ordinary event of the user-interface thread, so that a terminating
// session closes the main window the same way the user would. Only one may exist.
#pragma once

#include <QObject>
#include <functional>

#include "platform/USignals.h"

class QSocketNotifier;

namespace qx {

class TTermSignal : public QObject {
  Q_OBJECT

 public:
  // `onTerm` runs on the thread that created this object; throws TSystemError when the
  // signal cannot be caught.
  explicit TTermSignal(std::function<void()> onTerm, QObject* parent = nullptr);
  ~TTermSignal() override;

 private:
  TTermSignalPipe m_pipe;
  std::function<void()> m_onTerm;
  QSocketNotifier* m_notifier;
};

}  // namespace qx
