#include "ui/UfrmLog.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QVBoxLayout>

namespace qx {

TfrmLog::TfrmLog(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("frmLog");
  setWindowTitle("Quillex Log");
  // A helper window: closing the main window ends the program even while this one shows.
  setAttribute(Qt::WA_QuitOnClose, false);
  resize(343, 263);

  m_memLog = new QPlainTextEdit(this);
  m_memLog->setObjectName("memLog");
  m_memLog->setReadOnly(true);
  // Nothing to undo in a log; the history would keep a second copy of every line.
  m_memLog->setUndoRedoEnabled(false);
  m_memLog->setLineWrapMode(QPlainTextEdit::NoWrap);
  m_memLog->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  m_memLog->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  QFont font("Courier New", 8);
  font.setStyleHint(QFont::Monospace);
  m_memLog->setFont(font);

  auto* btnClearLog = new QPushButton("Clear Log", this);
  btnClearLog->setObjectName("btnClearLog");
  auto* btnOK = new QPushButton("&OK", this);
  btnOK->setObjectName("btnOK");
  btnOK->setDefault(true);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(btnClearLog);
  buttons->addStretch(1);
  buttons->addWidget(btnOK);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_memLog, 1);
  layout->addLayout(buttons);

  connect(btnClearLog, &QPushButton::clicked, this, [this] {
    m_pending.clear();
    m_memLog->clear();
  });
  connect(btnOK, &QPushButton::clicked, this, &QWidget::hide);
}

void TfrmLog::AddLogLine(const QString& line) {
  m_pending << line;
  if (!m_sinceFlush.isValid() || m_sinceFlush.elapsed() >= 100) Flush();
}

void TfrmLog::Flush() {
  m_sinceFlush.start();
  if (m_pending.isEmpty()) return;
  m_memLog->appendPlainText(m_pending.join('\n'));
  m_pending.clear();
  // The view follows the cursor, now and when the window is next shown: at the start of
  // the newest line, it shows that line from its beginning, which is what matters.
  QTextCursor cursor = m_memLog->textCursor();
  cursor.movePosition(QTextCursor::End);
  cursor.movePosition(QTextCursor::StartOfBlock);
  m_memLog->setTextCursor(cursor);
  m_memLog->ensureCursorVisible();
}

void TfrmLog::ShowLog() {
  Flush();
  show();
  raise();
  activateWindow();
}

QString TfrmLog::Text() {
  Flush();
  return m_memLog->toPlainText();
}

void TfrmLog::showEvent(QShowEvent* event) {
  Flush();
  QWidget::showEvent(event);
}

}  // namespace qx
