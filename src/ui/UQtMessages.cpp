// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/UQtMessages.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <memory>
#include <utility>

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

// A box of work on another thread; `escape` answers Esc and the title bar's close.
QMessageBox* WorkBox(QMessageBox::Icon icon, const std::string& text, QMessageBox::StandardButtons buttons,
                     QMessageBox::StandardButton byDefault, QMessageBox::StandardButton escape) {
  auto* box = new QMessageBox(icon, kApplicationTitle, DisplayText(text), buttons, BoxParent());
  box->setDefaultButton(byDefault);
  box->setEscapeButton(escape);
  return box;
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

void TQtMessages::ShowMessageThen(const std::string& text, TSeen seen) {
  Open(WorkBox(QMessageBox::Information, text, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok),
       [seen = std::move(seen)](QMessageBox::StandardButton) { seen(); });
}

void TQtMessages::ConfirmThen(const std::string& text, TAnswered<bool> answered) {
  Open(WorkBox(QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, QMessageBox::No),
       [answered = std::move(answered)](QMessageBox::StandardButton button) { answered(button == QMessageBox::Yes); });
}

void TQtMessages::ShowFailureThen(const std::string& text, const std::string& reason, TSeen seen) {
  ShowMessageThen(text + "\n" + reason, std::move(seen));
}

void TQtMessages::AskRenameThen(const std::string& question, TAnswered<TRenameAnswer> answered) {
  Open(WorkBox(QMessageBox::Question, question,
               QMessageBox::Yes | QMessageBox::No | QMessageBox::YesToAll | QMessageBox::Cancel, QMessageBox::Yes,
               QMessageBox::No),
       [answered = std::move(answered)](QMessageBox::StandardButton button) {
         switch (button) {
           case QMessageBox::Yes: return answered(TRenameAnswer::Yes);
           case QMessageBox::YesToAll: return answered(TRenameAnswer::YesToAll);
           case QMessageBox::Cancel: return answered(TRenameAnswer::Cancel);
           default: return answered(TRenameAnswer::No);
         }
       });
}

void TQtMessages::ShowRunFailureThen(const std::string& text, const std::string& reason,
                                     TAnswered<TFailureAnswer> answered) {
  QMessageBox* box =
      WorkBox(QMessageBox::Warning, text + "\n" + reason, QMessageBox::Ok | QMessageBox::Ignore | QMessageBox::Cancel,
              QMessageBox::Ok, QMessageBox::Ok);
  box->button(QMessageBox::Ignore)->setText(u"Ignore &All"_s);
  Open(box, [answered = std::move(answered)](QMessageBox::StandardButton button) {
    switch (button) {
      case QMessageBox::Ignore: return answered(TFailureAnswer::IgnoreAll);
      case QMessageBox::Cancel: return answered(TFailureAnswer::Cancel);
      default: return answered(TFailureAnswer::Ok);
    }
  });
}

void TQtMessages::Dismiss() {
  if (m_open) m_open->escapeButton()->click();
}

void TQtMessages::Open(QMessageBox* box, TAnswered<QMessageBox::StandardButton> answered) {
  // On the heap and deleted on close: a parent window that goes meanwhile takes it along.
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setWindowModality(Qt::NonModal);
  // Whichever comes first answers: the box's end, or its going without one.
  auto once = std::make_shared<TAnswered<QMessageBox::StandardButton>>(std::move(answered));
  const auto answer = [once](QMessageBox::StandardButton button) {
    if (*once) std::exchange(*once, nullptr)(button);
  };
  QObject::connect(box, &QMessageBox::finished, box,
                   [box, answer] { answer(box->standardButton(box->clickedButton())); });
  QObject::connect(box, &QObject::destroyed,
                   [answer, escape = box->standardButton(box->escapeButton())] { answer(escape); });
  m_open = box;
  box->show();
}

}  // namespace qx
