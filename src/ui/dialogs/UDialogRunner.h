// SPDX-License-Identifier: GPL-3.0-or-later
// How the main window shows its modal dialogs (the job dialogs, the encoding, font and
// About dialogs, the job list file dialogs) and hands documents and web addresses to the
// desktop. The program does both for real; tests script them and record the addresses.
#pragma once

#include <memory>
#include <optional>
#include <string>

class QDialog;
class QUrl;
class QFileDialog;
class QWidget;

namespace qx {

enum class TJobListFileDialog { dlgOpen, dlgSave };

class TDialogRunner {
 public:
  virtual ~TDialogRunner() = default;
  // Shows the dialog modally; true when it closed with OK.
  virtual bool Exec(QDialog& dialog) = 0;
  // The file chosen in the open or save dialog started in `startDir`; nothing on Cancel.
  virtual std::optional<std::string> ChooseJobListFile(TJobListFileDialog which, QWidget* parent,
                                                       const std::string& startDir) = 0;
  // The desktop's "open": the help file in the browser, a web address likewise. Whatever
  // the desktop does when it cannot is all the user sees.
  virtual void OpenUrl(const QUrl& url) = 0;
};

// The open or save dialog for job list files with its title, filters and options.
// The save dialog never asks about overwriting: the caller does.
std::unique_ptr<QFileDialog> CreateJobListFileDialog(TJobListFileDialog which, QWidget* parent,
                                                     const std::string& startDir);

class TQtDialogRunner : public TDialogRunner {
 public:
  bool Exec(QDialog& dialog) override;
  std::optional<std::string> ChooseJobListFile(TJobListFileDialog which, QWidget* parent,
                                               const std::string& startDir) override;
  void OpenUrl(const QUrl& url) override;
};

}  // namespace qx
