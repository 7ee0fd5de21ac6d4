// How the main window shows its modal dialogs: the job dialogs, the encoding dialog
// and the job list file dialogs. The program runs them for real; tests script them.
#pragma once

#include <memory>
#include <optional>
#include <string>

class QDialog;
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
};

}  // namespace qx
