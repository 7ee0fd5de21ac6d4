// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main/UJobPanel.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>

#include "platform/UAppPaths.h"
#include "platform/UMessages.h"
#include "rename/UEntryDates.h"
#include "settings/UAppSettings.h"
#include "settings/UToxRegVal.h"
#include "ui/UPaletteColours.h"
#include "ui/UQtText.h"
#include "ui/dialogs/UNumberField.h"
#include "ui/dialogs/URunJobDialog.h"
#include "ui/main/UJobListModel.h"
#include "ui/main/UMaskHistory.h"
#include "ui/main/UOptionsPanel.h"
#include "ui/main/UPanelParts.h"
#include "ui/main/UTitleBar.h"

using namespace Qt::StringLiterals;

namespace qx {

namespace {

constexpr int kJobPanelWidth = 334;

std::vector<std::string> MaskHistoryOf(const QComboBox& masks) {
  std::vector<std::string> history;
  for (int n = 0; n < masks.count(); ++n) history.push_back(ToBytes(masks.itemText(n)));
  return history;
}

void ShowMaskHistory(QComboBox& masks, const std::vector<std::string>& history) {
  masks.clear();
  for (const std::string& entry : history) masks.addItem(ToQString(entry));
}

}  // namespace

TJobPanel::TJobPanel(TJobListModel& jobs, TMessageHost& messages, TDialogRunner& dialogs, QAction* regExHelp,
                     QWidget* parent)
    : QWidget(parent), m_jobs(jobs), m_messages(messages), m_dialogs(dialogs), m_regExHelp(regExHelp) {
  setObjectName("pnlMain");
  QVBoxLayout* layout = Column(this, 4);
  layout->addWidget(Named(new TTitleBar(u"  A multiple file rename utility for Linux"_s), "lblTitle"));
  layout->addLayout(CreateMaskRow());
  layout->addLayout(CreateJobsRow(), 1);
  layout->addLayout(CreateAddRow());
  m_options = new TOptionsPanel;
  layout->addWidget(m_options);
  auto* sampleLabel = new QLabel(u"Type a sample filename to test jobs:"_s);
  layout->addWidget(sampleLabel);
  layout->addLayout(CreateSampleRow());
  sampleLabel->setBuddy(m_edtExample);
  // Fixed, and wide enough for every caption in the desktop's font.
  setFixedWidth(std::max(kJobPanelWidth, sizeHint().width()));
  ForwardChanges();
}

void TJobPanel::ForwardChanges() {
  const auto changed = [this] { emit NamesInputsChanged(); };
  connect(&m_jobs, &TJobListModel::JobsChanged, this, changed);
  connect(m_cmbFileMask, &QComboBox::editTextChanged, this, changed);
  connect(m_edtCounter, &QSpinBox::valueChanged, this, changed);
  connect(m_options, &TOptionsPanel::Changed, this, changed);
}

QBoxLayout* TJobPanel::CreateMaskRow() {
  auto* row = new QHBoxLayout;
  auto* match = new QLabel(u"Match ..."_s);
  row->addWidget(match);
  m_cmbFileMask = Named(new QComboBox, "cmbFileMask");
  m_cmbFileMask->setAccessibleName(u"File mask"_s);
  match->setBuddy(m_cmbFileMask);
  m_cmbFileMask->setEditable(true);
  m_cmbFileMask->setInsertPolicy(QComboBox::NoInsert);
  row->addWidget(m_cmbFileMask, 1);
  row->addWidget(new QLabel(u"... and do the following:"_s));
  return row;
}

QBoxLayout* TJobPanel::CreateJobsRow() {
  auto* row = new QHBoxLayout;
  m_lbJobs = Named(new QListView, "lbJobs");
  m_lbJobs->setAccessibleName(u"Jobs"_s);
  m_lbJobs->setModel(&m_jobs);
  m_lbJobs->setSelectionMode(QAbstractItemView::SingleSelection);
  m_lbJobs->setEditTriggers(QAbstractItemView::NoEditTriggers);
  // A double click edits the job.
  m_lbJobs->viewport()->installEventFilter(this);
  // The keys act on the selected job while the list has the focus.
  const auto key = [this](QKeySequence keys, void (TJobPanel::*command)()) {
    auto* action = new QAction(m_lbJobs);
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WidgetShortcut);
    connect(action, &QAction::triggered, this, command);
    m_lbJobs->addAction(action);
  };
  key(QKeySequence::Delete, &TJobPanel::btnRemoveClick);
  key(QKeySequence(Qt::CTRL | Qt::Key_Up), &TJobPanel::btnUpClick);
  key(QKeySequence(Qt::CTRL | Qt::Key_Down), &TJobPanel::btnDownClick);
  row->addWidget(m_lbJobs, 1);
  row->addLayout(CreateJobButtons());
  return row;
}

QBoxLayout* TJobPanel::CreateJobButtons() {
  auto* column = new QVBoxLayout;
  auto* btnUp = Named(new QToolButton, "btnUp", u"Move job up"_s);
  btnUp->setArrowType(Qt::UpArrow);
  auto* btnDown = Named(new QToolButton, "btnDown", u"Move job down"_s);
  btnDown->setArrowType(Qt::DownArrow);
  auto* btnEdit = Named(new QPushButton(u"Edit"_s), "btnEdit", u"Edit Job"_s);
  auto* btnRemove = Named(new QPushButton(u"Delete"_s), "btnRemove", u"Delete Job from List"_s);
  column->addWidget(btnUp, 0, Qt::AlignHCenter);
  column->addWidget(btnDown, 0, Qt::AlignHCenter);
  column->addStretch();
  column->addWidget(btnEdit);
  column->addWidget(btnRemove);
  connect(btnUp, &QToolButton::clicked, this, &TJobPanel::btnUpClick);
  connect(btnDown, &QToolButton::clicked, this, &TJobPanel::btnDownClick);
  connect(btnEdit, &QPushButton::clicked, this, &TJobPanel::btnEditClick);
  connect(btnRemove, &QPushButton::clicked, this, &TJobPanel::btnRemoveClick);
  return column;
}

QBoxLayout* TJobPanel::CreateAddRow() {
  struct TAddButton {
    const char* name;
    const char* icon;
    const char* hint;
    TJobKind kind;
  };
  static constexpr TAddButton kAddButtons[] = {
      {"btnLower", ":/icons/job-lower.svg", "Convert to Lower Case", TJobKind::jobLower},
      {"btnUpper", ":/icons/job-upper.svg", "Convert to Upper Case", TJobKind::jobUpper},
      {"btnNormal", ":/icons/job-normal.svg", "Normalize Case (First Letter Upper)", TJobKind::jobNormal},
      {"btnInsert", ":/icons/job-insert.svg", "Insert Characters", TJobKind::jobInsert},
      {"btnRemoveChars", ":/icons/job-remove.svg", "Remove Characters", TJobKind::jobRemove},
      {"btnReplace", ":/icons/job-replace.svg", "Replace Characters", TJobKind::jobReplace},
      {"btnCounter", ":/icons/job-counter.svg", "Add a numeric Counter ('XXX')", TJobKind::jobCounter},
      {"btnDate", ":/icons/job-date.svg", "Insert a Date (when the photo was taken, or the file modified)",
       TJobKind::jobDate},
      {"btnSimplify", ":/icons/job-simplify.svg", "Simplify Characters (é -> e, to ASCII ...)", TJobKind::jobSimplify},
      {"btnShift", ":/icons/job-shift.svg", "Shift Numbers (IMG_0099 -> IMG_0100)", TJobKind::jobShift},
  };
  auto* row = new QHBoxLayout;
  row->setSpacing(2);
  for (const TAddButton& add : kAddButtons) {
    const QString hint = QString::fromUtf8(add.hint);
    auto* button = Named(new QToolButton, add.name, hint);
    // Ten of them and the counter start fit the job panel of a small screen at twice the scale.
    button->setIconSize(QSize(18, 18));
    // In the colour of the buttons' text, so they read on a light and a dark theme.
    OnPaletteChange(button, [button, icon = QString::fromUtf8(add.icon)](const QPalette& palette) {
      button->setIcon(TintedIcon(icon, palette.color(QPalette::ButtonText)));
    });
    row->addWidget(button);
    connect(button, &QToolButton::clicked, this, [this, kind = add.kind] { AddJob(kind); });
  }
  row->addStretch();
  m_edtCounter =
      Named(new TNumberField(std::numeric_limits<int>::min(), std::numeric_limits<int>::max()), "edtCounter");
  m_edtCounter->setMinimumWidth(64);
  m_edtCounter->setAccessibleName(u"Counter start"_s);
  row->addWidget(m_edtCounter);
  return row;
}

QBoxLayout* TJobPanel::CreateSampleRow() {
  auto* row = new QHBoxLayout;
  m_edtExample = Named(new QLineEdit(u"filename.ext"_s), "edtExample");
  m_edtExample->setAccessibleName(u"Sample filename"_s);
  auto* btnExample = Named(new QPushButton(u"..."_s), "btnExample", u"Check the result on the example string"_s);
  btnExample->setFixedWidth(32);
  row->addWidget(m_edtExample, 1);
  row->addWidget(btnExample);
  connect(btnExample, &QPushButton::clicked, this, &TJobPanel::btnExampleClick);
  connect(m_edtExample, &QLineEdit::returnPressed, this, &TJobPanel::btnExampleClick);
  return row;
}

TRunOptions TJobPanel::RunOptions(const std::string& startDirectory) const {
  TRunOptions options = m_options->RunOptions();
  options.startDirectory = startDirectory;
  options.fileMask = ToBytes(m_cmbFileMask->currentText());
  options.counterStart = m_edtCounter->value();
  return options;
}

bool TJobPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_lbJobs->viewport() && event->type() == QEvent::MouseButtonDblClick) {
    btnEditClick();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

// Jobs.

bool TJobPanel::RunJobDialog(TJob& job) { return qx::RunJobDialog(job, window(), m_dialogs, m_regExHelp); }

void TJobPanel::AddJob(TJobKind kind) {
  TJob job = NewJob(kind);
  if (RunJobDialog(job)) m_jobs.AddNew(std::move(job));
}

int TJobPanel::SelectedJobOrSay() const {
  const QModelIndexList selected = m_lbJobs->selectionModel()->selectedRows();
  if (selected.isEmpty()) {
    m_messages.ShowMessage("Please select a job first.");
    return -1;
  }
  return selected.first().row();
}

void TJobPanel::SelectJob(int row) { m_lbJobs->setCurrentIndex(m_jobs.index(row)); }

void TJobPanel::btnEditClick() {
  const int row = SelectedJobOrSay();
  if (row < 0) return;
  TJob job = m_jobs.Jobs()[static_cast<std::size_t>(row)];
  if (RunJobDialog(job)) m_jobs.SetJob(row, std::move(job));
}

void TJobPanel::btnRemoveClick() {
  const int row = SelectedJobOrSay();
  if (row < 0) return;
  m_jobs.Delete(row);
  if (m_jobs.rowCount() > 0) SelectJob(std::min(row, m_jobs.rowCount() - 1));
}

void TJobPanel::btnUpClick() {
  const int row = SelectedJobOrSay();
  if (row >= 0 && m_jobs.MoveUp(row)) SelectJob(row - 1);
}

void TJobPanel::btnDownClick() {
  const int row = SelectedJobOrSay();
  if (row >= 0 && m_jobs.MoveDown(row)) SelectJob(row + 1);
}

void TJobPanel::UpdateMaskHistory() {
  std::vector<std::string> history = MaskHistoryOf(*m_cmbFileMask);
  const QString mask = m_cmbFileMask->currentText();
  qx::UpdateMaskHistory(history, ToBytes(mask));
  ShowMaskHistory(*m_cmbFileMask, history);
  m_cmbFileMask->setEditText(mask);
}

// The sample name.

void TJobPanel::btnExampleClick() {
  m_counterValue = m_edtCounter->value();
  m_edtExample->setText(ToQString(ApplyJobList(m_jobs.Jobs(), ToBytes(m_edtExample->text()), m_counterValue)));
}

void TJobPanel::ShowSample(const std::string& folder, const std::string& name) {
  const auto dates = DatesOfPath(WithTrailingSlash(folder) + name);
  m_edtExample->setText(ToQString(ApplyJobList(m_jobs.Jobs(), name, m_counterValue, dates.get())));
}

// Settings.

void TJobPanel::ApplySettings(const ToxRegVal& ini) {
  using namespace setting;
  m_options->ApplySettings(ini);
  // Filling the list would overwrite the text, so the text comes last.
  ShowMaskHistory(*m_cmbFileMask, LoadMaskHistory(ini));
  m_cmbFileMask->setEditText(ToQString(ini.GetString(kFileMask)));
  m_edtExample->setText(ToQString(ini.GetString(kExample)));
  m_edtCounter->setValue(ClampToInt(ini.GetInteger(kCounterStart)));
}

void TJobPanel::SaveSettings(ToxRegVal& ini) const {
  using namespace setting;
  m_options->SaveSettings(ini);
  ini.SetString(kFileMask, ToBytes(m_cmbFileMask->currentText()));
  SaveMaskHistory(ini, MaskHistoryOf(*m_cmbFileMask));
  ini.SetString(kExample, ToBytes(m_edtExample->text()));
  ini.SetInteger(kCounterStart, m_edtCounter->value());
}

}  // namespace qx
