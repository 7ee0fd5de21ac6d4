// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/UQtMessages.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>

#include "ui/UQtText.h"

using namespace Qt::StringLiterals;

namespace qx {

namespace {

// The texts carry CR LF line ends; a label shows the CR as a stray glyph.
QString DisplayText(const std::string& text) { return ToQString(text).replace(u"\r\n"_s, u"\n"_s); }

// The window a box belongs to, which window managers keep it above: a window that stays
// on top (a run's progress window) while one shows, since it would cover any other
// box; otherwise the active one, but never a box answered just before, which is on its
// way out and would take this one along.
QWidget* BoxParent() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->isVisible() && window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) &&
        !qobject_cast<QMessageBox*>(window)) {
      return window;
    }
  }
  QWidget* window = QApplication::activeWindow();
  while (qobject_cast<QMessageBox*>(window) != nullptr) window = window->parentWidget();
  return window;
}

}  // namespace

void TQtMessages::ShowMessage(const std::string& text) {
  QMessageBox::information(BoxParent(), kApplicationTitle, DisplayText(text), QMessageBox::Ok);
}

bool TQtMessages::Confirm(const std::string& text) {
  return QMessageBox::question(BoxParent(), kApplicationTitle, DisplayText(text), QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::Yes) == QMessageBox::Yes;
}

void TQtMessages::ShowFailure(const std::string& text, const std::string& reason) { ShowMessage(text + "\n" + reason); }

TRenameAnswer TQtMessages::AskRename(const std::string& question) {
  auto* box =
      new QMessageBox(QMessageBox::Question, kApplicationTitle, DisplayText(question),
                      QMessageBox::Yes | QMessageBox::No | QMessageBox::YesToAll | QMessageBox::Cancel, BoxParent());
  box->setDefaultButton(QMessageBox::Yes);
  box->setEscapeButton(QMessageBox::No);
  switch (WaitForAnswer(box)) {
    case QMessageBox::Yes: return TRenameAnswer::Yes;
    case QMessageBox::YesToAll: return TRenameAnswer::YesToAll;
    case QMessageBox::Cancel: return TRenameAnswer::Cancel;
    default: return TRenameAnswer::No;
  }
}

TFailureAnswer TQtMessages::ShowRunFailure(const std::string& text, const std::string& reason) {
  auto* box = new QMessageBox(QMessageBox::Warning, kApplicationTitle, DisplayText(text + "\n" + reason),
                              QMessageBox::Ok | QMessageBox::Ignore | QMessageBox::Cancel, BoxParent());
  box->button(QMessageBox::Ignore)->setText(u"Ignore &All"_s);
  box->setDefaultButton(QMessageBox::Ok);
  box->setEscapeButton(QMessageBox::Ok);
  switch (WaitForAnswer(box)) {
    case QMessageBox::Ignore: return TFailureAnswer::IgnoreAll;
    case QMessageBox::Cancel: return TFailureAnswer::Cancel;
    default: return TFailureAnswer::Ok;
  }
}

void TQtMessages::Dismiss() {
  if (m_open) m_open->escapeButton()->click();
}

QMessageBox::StandardButton TQtMessages::WaitForAnswer(QMessageBox* box) {
  // On the heap and deleted on close: a parent window that goes meanwhile takes it along.
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setWindowModality(Qt::NonModal);
  QMessageBox::StandardButton answer = box->standardButton(box->escapeButton());
  QEventLoop answered;
  QObject::connect(box, &QMessageBox::finished, &answered, [&answer, box, &answered] {
    answer = box->standardButton(box->clickedButton());
    answered.quit();
  });
  QObject::connect(box, &QObject::destroyed, &answered, &QEventLoop::quit);
  m_open = box;
  box->show();
  answered.exec();
  return answer;
}

}  // namespace qx
