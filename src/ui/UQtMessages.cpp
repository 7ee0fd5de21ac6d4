#include "ui/UQtMessages.h"

#include <QApplication>
#include <QMessageBox>

#include "ui/UQtText.h"

namespace qx {

namespace {

// The texts carry CR LF line ends; a label shows the CR as a stray glyph.
QString DisplayText(const std::string& text) { return ToQString(text).replace(QStringLiteral("\r\n"), "\n"); }

}  // namespace

void TQtMessages::ShowMessage(const std::string& text) {
  QMessageBox::information(QApplication::activeWindow(), kApplicationTitle, DisplayText(text), QMessageBox::Ok);
}

bool TQtMessages::Confirm(const std::string& text) {
  return QMessageBox::question(QApplication::activeWindow(), kApplicationTitle, DisplayText(text),
                               QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes;
}

void TQtMessages::ShowFailure(const std::string& text, const std::string& reason) { ShowMessage(text + "\n" + reason); }

}  // namespace qx
