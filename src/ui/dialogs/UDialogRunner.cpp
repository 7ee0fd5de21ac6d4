// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/UDialogRunner.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QUrl>

#include "ui/UQtText.h"

using namespace Qt::StringLiterals;

namespace qx {

std::unique_ptr<QFileDialog> CreateJobListFileDialog(TJobListFileDialog which, QWidget* parent,
                                                     const std::string& startDir) {
  const bool open = which == TJobListFileDialog::dlgOpen;
  auto dialog = std::make_unique<QFileDialog>(parent);
  dialog->setObjectName(open ? "dlgOpen" : "dlgSave");
  dialog->setWindowTitle(open ? u"Load Job List from XML file"_s : u"Save Job List as XML file"_s);
  dialog->setNameFilters({u"XML files (*.xml)"_s, u"All Files (*)"_s});
  dialog->setDefaultSuffix(u"xml"_s);
  dialog->setDirectory(ToQString(startDir));
  dialog->setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  dialog->setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  dialog->setOption(QFileDialog::DontConfirmOverwrite, !open);
  return dialog;
}

bool TQtDialogRunner::Exec(QDialog& dialog) { return dialog.exec() == QDialog::Accepted; }

std::optional<std::string> TQtDialogRunner::ChooseJobListFile(TJobListFileDialog which, QWidget* parent,
                                                              const std::string& startDir) {
  const auto dialog = CreateJobListFileDialog(which, parent, startDir);
  if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return std::nullopt;
  return ToBytes(dialog->selectedFiles().first());
}

void TQtDialogRunner::OpenUrl(const QUrl& url) { QDesktopServices::openUrl(url); }

}  // namespace qx
