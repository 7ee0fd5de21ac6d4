// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/run/UfrmLog.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

#include "ui/run/ULogView.h"

using namespace Qt::StringLiterals;

namespace qx {

TfrmLog::TfrmLog(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("frmLog");
  setWindowTitle(u"Quillex Log"_s);
  // A helper window: closing the main window ends the program even while this one shows.
  setAttribute(Qt::WA_QuitOnClose, false);
  resize(343, 263);

  m_memLog = new TLogView(this);
  m_memLog->setObjectName("memLog");
  m_memLog->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  m_memLog->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

  auto* btnClearLog = new QPushButton(u"Clear Log"_s, this);
  btnClearLog->setObjectName("btnClearLog");
  auto* btnOK = new QPushButton(u"&OK"_s, this);
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
    m_memLog->Clear();
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
  m_memLog->AppendLines(std::exchange(m_pending, {}));
}

void TfrmLog::ShowLog() {
  Flush();
  show();
  raise();
  activateWindow();
}

QString TfrmLog::Text() {
  Flush();
  return m_memLog->Text();
}

void TfrmLog::showEvent(QShowEvent* event) {
  Flush();
  QWidget::showEvent(event);
}

}  // namespace qx
