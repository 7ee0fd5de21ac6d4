// SPDX-License-Identifier: GPL-3.0-or-later
// Small helpers for the desktop program's Qt tests: finding controls by name, showing
// a window for real, and printing jobs in failure messages.
#pragma once

#include <QWidget>

#include "jobs/UTJob.h"

namespace qx {

// For QCOMPARE's failure messages.
char* toString(const TJob& job);

namespace test {

// Stops the test program when the control is missing: every later step would crash.
QWidget* FindControl(const QWidget& parent, const char* name);

template <typename T>
T* Child(const QWidget& parent, const char* name) {
  T* child = qobject_cast<T*>(FindControl(parent, name));
  if (!child) qFatal("control %s has another class", name);
  return child;
}

// Shows the window and waits until it is active, so focus moves as for a user.
bool ShowActive(QWidget& window);

}  // namespace test
}  // namespace qx
