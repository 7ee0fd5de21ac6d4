// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/run/UfrmProgress.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>
#include <cmath>

#include "UVersion.h"

using namespace Qt::StringLiterals;

namespace qx {

namespace {

QLabel* BoldLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  QFont font = label->font();
  font.setBold(true);
  label->setFont(font);
  return label;
}

QString EndText(TRunEnd end) {
  switch (end) {
    case TRunEnd::Cancelled: return u"Cancelled"_s;
    case TRunEnd::Stopped: return u"Stopped"_s;
    case TRunEnd::Completed: break;
  }
  return {};
}

QLabel* NamedLabel(const char* name, QWidget* parent) {
  auto* label = new QLabel(u"..."_s, parent);
  label->setObjectName(name);
  return label;
}

}  // namespace

TfrmProgress::TfrmProgress(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint |
                          Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName("frmProgress");
  setWindowTitle(u"Quillex %1 progress..."_s.arg(QLatin1StringView(kVersionText)));
  setAttribute(Qt::WA_DeleteOnClose);
  // A helper window: closing the main window ends the program even while this one shows.
  setAttribute(Qt::WA_QuitOnClose, false);

  m_lblCurrentItem = NamedLabel("lblCurrentItem", this);
  m_gauProgress = new QProgressBar(this);
  m_gauProgress->setObjectName("gauProgress");
  m_gauProgress->setRange(0, 100);
  m_gauProgress->setValue(0);
  m_gauProgress->setTextVisible(true);
  m_gauProgress->setAlignment(Qt::AlignCenter);
  m_lblFolders = NamedLabel("lblFolders", this);
  m_lblFiles = NamedLabel("lblFiles", this);
  m_lblErrors = NamedLabel("lblErrors", this);
  m_lblOutcome = BoldLabel(QString(), this);
  m_lblOutcome->setObjectName("lblOutcome");
  // Room for either word, so that the fixed size below holds them.
  m_lblOutcome->setMinimumWidth(std::max(m_lblOutcome->fontMetrics().horizontalAdvance(EndText(TRunEnd::Cancelled)),
                                         m_lblOutcome->fontMetrics().horizontalAdvance(EndText(TRunEnd::Stopped))));
  m_btnCancel = new QPushButton(u"&Cancel"_s, this);
  m_btnCancel->setObjectName("btnCancel");
  m_btnClose = new QPushButton(u"Close"_s, this);
  m_btnClose->setObjectName("btnClose");

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(8, 6, 8, 6);
  grid->setVerticalSpacing(2);
  grid->addWidget(m_lblCurrentItem, 0, 0, 1, 3);
  grid->addWidget(m_gauProgress, 1, 0, 1, 3);
  grid->addWidget(BoldLabel(u"Folders renamed:"_s, this), 2, 0);
  grid->addWidget(m_lblFolders, 2, 1);
  grid->addWidget(BoldLabel(u"Files renamed:"_s, this), 3, 0);
  grid->addWidget(m_lblFiles, 3, 1);
  grid->addWidget(BoldLabel(u"Errors:"_s, this), 4, 0);
  grid->addWidget(m_lblErrors, 4, 1);
  grid->addWidget(m_lblOutcome, 2, 2, Qt::AlignRight);
  // Cancel and Close share one place; exactly one of them shows.
  grid->addWidget(m_btnCancel, 3, 2, 2, 1, Qt::AlignRight | Qt::AlignBottom);
  grid->addWidget(m_btnClose, 3, 2, 2, 1, Qt::AlignRight | Qt::AlignBottom);
  grid->setColumnStretch(1, 1);

  // Its classic size, or more where a large font needs it.
  setFixedSize(sizeHint().expandedTo(QSize(335, 124)));

  connect(m_btnCancel, &QPushButton::clicked, this, &TfrmProgress::CancelRequested);
  connect(m_btnClose, &QPushButton::clicked, this, &QWidget::close);
  Start();
}

void TfrmProgress::SetCurrentItem(const QString& item) { m_lblCurrentItem->setText(item); }

void TfrmProgress::UpdateProgress(const TRunState& state, bool now) {
  if (!now && m_sinceRepaint.isValid() && m_sinceRepaint.elapsed() < 33) return;
  m_sinceRepaint.start();
  m_lblFolders->setText(u"%1 of %2"_s.arg(state.DirsRenamed).arg(state.DirsProcessed));
  m_lblFiles->setText(u"%1 of %2"_s.arg(state.FilesRenamed).arg(state.FilesProcessed));
  m_lblErrors->setText(QString::number(state.ErrorCount));
  // Halves go to the even neighbour.
  m_gauProgress->setValue(static_cast<int>(std::nearbyint(state.Progress * 100)));
}

void TfrmProgress::closeEvent(QCloseEvent* event) {
  if (m_running) return event->ignore();
  QWidget::closeEvent(event);
}

void TfrmProgress::keyPressEvent(QKeyEvent* event) {
  if (!m_running && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

void TfrmProgress::Start() {
  m_lblOutcome->clear();
  ShowRunning(true);
}

void TfrmProgress::Finish(TRunEnd end) {
  m_lblOutcome->setText(EndText(end));
  ShowRunning(false);
  m_btnClose->setFocus();
}

void TfrmProgress::ShowRunning(bool running) {
  m_running = running;
  m_btnCancel->setVisible(running);
  m_btnClose->setVisible(!running);
}

}  // namespace qx
