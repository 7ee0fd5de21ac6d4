// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/UScriptedDialogs.h"

#include <QDialog>
#include <QUrl>

namespace qx::test {

bool TScriptedDialogs::Exec(QDialog& dialog) {
  shownDialogs.emplace_back(dialog.metaObject()->className());
  if (steps.empty()) {
    ++unexpected;
    return false;
  }
  const TStep step = std::move(steps.front());
  steps.pop_front();
  return step(dialog);
}

std::optional<std::string> TScriptedDialogs::ChooseJobListFile(TJobListFileDialog which, QWidget*,
                                                               const std::string& startDir) {
  fileRequests.emplace_back(which, startDir);
  if (files.empty()) return std::nullopt;
  auto answer = std::move(files.front());
  files.pop_front();
  return answer;
}

void TScriptedDialogs::OpenUrl(const QUrl& url) { openedUrls.push_back(url.toString().toStdString()); }

TScriptedDialogs::TStep PressOk() {
  return [](QDialog&) { return true; };
}

TScriptedDialogs::TStep PressCancel() {
  return [](QDialog&) { return false; };
}

}  // namespace qx::test
