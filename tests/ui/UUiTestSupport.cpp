// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/UUiTestSupport.h"

#include <QtTest/QtTest>
#include <string>

namespace qx {

char* toString(const TJob& job) {
  const std::string text = std::string(JobKindName(job.type)) + " modifier=" + std::to_string(job.modifier) +
                           " int1=" + std::to_string(job.int1) + " int2=" + std::to_string(job.int2) + " str1='" +
                           job.str1 + "' str2='" + job.str2 + "' enabled=" + (job.enabled ? "1" : "0");
  return qstrdup(text.c_str());
}

namespace test {

QWidget* FindControl(const QWidget& parent, const char* name) {
  QWidget* child = parent.findChild<QWidget*>(name);
  if (!child) qFatal("no control %s", name);
  return child;
}

bool ShowActive(QWidget& window) {
  window.show();
  return QTest::qWaitForWindowActive(&window);
}

}  // namespace test
}  // namespace qx
