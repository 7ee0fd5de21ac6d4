// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main/UOptionsPanel.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "settings/UAppSettings.h"
#include "settings/UToxRegVal.h"
#include "ui/UPaletteColours.h"
#include "ui/main/UPanelParts.h"

using namespace Qt::StringLiterals;

namespace qx {

namespace {

// The job panel's spacing, which the columns had while they were a layout inside it.
constexpr int kColumnGap = 4;

QVBoxLayout* TightColumn() {
  auto* column = new QVBoxLayout;
  column->setSpacing(0);
  return column;
}

}  // namespace

TOptionsPanel::TOptionsPanel(QWidget* parent) : QWidget(parent) {
  auto* columns = new QGridLayout(this);
  columns->setContentsMargins(0, 0, 0, 0);
  columns->setHorizontalSpacing(kColumnGap);
  columns->setVerticalSpacing(0);
  columns->addLayout(CreateSelectionColumn(), 0, 0);
  columns->addLayout(CreateModeColumn(), 0, 1);
  connect(m_chkSimulation, &QCheckBox::toggled, this, &TOptionsPanel::chkSimulationClick);
  connect(m_chkSort, &QCheckBox::toggled, this, &TOptionsPanel::chkSortClick);
  chkSimulationClick();
  chkSortClick();
  for (const auto& [key, box] : BooleanControls()) connect(box, &QCheckBox::toggled, this, &TOptionsPanel::Changed);
  for (QRadioButton* button : OrderButtons()) connect(button, &QRadioButton::toggled, this, &TOptionsPanel::Changed);
}

QBoxLayout* TOptionsPanel::CreateSelectionColumn() {
  QVBoxLayout* column = TightColumn();
  m_chkRecurseDirs = Named(new QCheckBox(u"Recurse into subdirectories"_s), "chkRecurseDirs");
  m_chkRenameDirs = Named(new QCheckBox(u"Rename subdirectories too"_s), "chkRenameDirs");
  m_chkResetCounter = Named(new QCheckBox(u"Reset counter in every subdir"_s), "chkResetCounter");
  m_chkSort = Named(new QCheckBox(u"Sort list before processing"_s), "chkSort");
  m_chkSort->setChecked(true);
  for (QCheckBox* box : {m_chkRecurseDirs, m_chkRenameDirs, m_chkResetCounter, m_chkSort}) column->addWidget(box);
  column->addLayout(CreateOrderButtons());
  column->addStretch();
  return column;
}

QBoxLayout* TOptionsPanel::CreateOrderButtons() {
  QVBoxLayout* order = TightColumn();
  // Indented under the sort box they belong to.
  order->setContentsMargins(18, 0, 0, 0);
  m_rbNameASC = Named(new QRadioButton(u"by Name A..Z"_s), "rbNameASC");
  m_rbNameASC->setChecked(true);
  m_rbNameDESC = Named(new QRadioButton(u"by Name Z..A"_s), "rbNameDESC");
  m_rbDateASC = Named(new QRadioButton(u"by Date (oldest..newest)"_s), "rbDateASC");
  m_rbDateDESC = Named(new QRadioButton(u"by Date (newest..oldest)"_s), "rbDateDESC");
  for (QRadioButton* button : OrderButtons()) order->addWidget(button);
  return order;
}

QBoxLayout* TOptionsPanel::CreateModeColumn() {
  QVBoxLayout* column = TightColumn();
  m_chkConfirm = Named(new QCheckBox(u"Confirm every change"_s), "chkConfirm");
  m_chkUndo = Named(new QCheckBox(u"Create Undo file"_s), "chkUndo");
  m_chkLog = Named(new QCheckBox(u"Produce Log"_s), "chkLog");
  m_chkSimulation = Named(new QCheckBox(u"Simulation mode"_s), "chkSimulation");
  QFont bold = m_chkSimulation->font();
  bold.setBold(true);
  m_chkSimulation->setFont(bold);
  for (QCheckBox* box : {m_chkConfirm, m_chkUndo, m_chkLog, m_chkSimulation}) {
    // How a run goes stands apart from what it renames.
    FollowPalette(box, [](const QPalette& palette) { return TTextColours{AccentText(palette), {}}; });
    column->addWidget(box);
  }
  column->addSpacing(6);
  m_btnGo = Named(new QPushButton(u"&Go"_s), "btnGo");
  QFont large = m_btnGo->font();
  large.setBold(true);
  large.setPointSizeF(large.pointSizeF() * 1.4);
  m_btnGo->setFont(large);
  m_btnGo->setMinimumHeight(40);
  connect(m_btnGo, &QPushButton::clicked, this, &TOptionsPanel::GoClicked);
  column->addWidget(m_btnGo);
  column->addSpacing(4);
  column->addLayout(CreateUndoRow());
  column->addStretch();
  return column;
}

QBoxLayout* TOptionsPanel::CreateUndoRow() {
  auto* row = new QHBoxLayout;
  row->setSpacing(4);
  auto* btnUndo = Named(new QPushButton(u"&Undo"_s), "btnUndo", u"Undo Renaming in Current Dir"_s);
  auto* btnUndoTree = Named(new QPushButton(u"Undo &Tree"_s), "btnUndoTree", u"Undo in Folder and Subfolders"_s);
  row->addWidget(btnUndo);
  row->addWidget(btnUndoTree);
  connect(btnUndo, &QPushButton::clicked, this, &TOptionsPanel::UndoClicked);
  connect(btnUndoTree, &QPushButton::clicked, this, &TOptionsPanel::UndoTreeClicked);
  return row;
}

std::array<QRadioButton*, 4> TOptionsPanel::OrderButtons() const {
  return {m_rbNameASC, m_rbNameDESC, m_rbDateASC, m_rbDateDESC};
}

std::optional<TSortOrder> TOptionsPanel::CheckedOrder() const {
  const auto buttons = OrderButtons();
  for (std::size_t n = 0; n < buttons.size(); ++n) {
    if (buttons[n]->isChecked()) return SortOrderFromNumber(static_cast<std::int64_t>(n));
  }
  return std::nullopt;
}

std::array<std::pair<const char*, QCheckBox*>, 8> TOptionsPanel::BooleanControls() const {
  using namespace setting;
  return {{{kRecurseDirs, m_chkRecurseDirs},
           {kRenameDirs, m_chkRenameDirs},
           {kResetCounter, m_chkResetCounter},
           {kSort, m_chkSort},
           {kConfirm, m_chkConfirm},
           {kUndo, m_chkUndo},
           {kLog, m_chkLog},
           {kSimulation, m_chkSimulation}}};
}

TRunOptions TOptionsPanel::RunOptions() const {
  TRunOptions options;
  options.simulate = m_chkSimulation->isChecked();
  options.recurseDirs = m_chkRecurseDirs->isChecked();
  options.renameDirs = m_chkRenameDirs->isChecked();
  options.resetCounter = m_chkResetCounter->isChecked();
  options.confirm = m_chkConfirm->isChecked();
  options.undo = m_chkUndo->isChecked();
  options.log = m_chkLog->isChecked();
  options.sort = m_chkSort->isChecked();
  options.sortOrder = CheckedOrder().value_or(TSortOrder::ListingOrder);
  return options;
}

void TOptionsPanel::ApplySettings(const ToxRegVal& ini) {
  // Setting a box runs its click reaction, so Go's caption and the greyed controls follow.
  for (const auto& [key, box] : BooleanControls()) box->setChecked(ini.GetBoolean(key));
  if (const auto order = SortOrderFromNumber(ini.GetInteger(setting::kSortOrder))) {
    OrderButtons()[static_cast<std::size_t>(*order)]->setChecked(true);
  }
}

void TOptionsPanel::SaveSettings(ToxRegVal& ini) const {
  for (const auto& [key, box] : BooleanControls()) ini.SetBoolean(key, box->isChecked());
  if (const auto order = CheckedOrder()) ini.SetInteger(setting::kSortOrder, static_cast<std::int64_t>(*order));
}

void TOptionsPanel::chkSimulationClick() {
  const bool simulate = m_chkSimulation->isChecked();
  m_chkUndo->setEnabled(!simulate);
  m_chkConfirm->setEnabled(!simulate);
  m_btnGo->setText(simulate ? u"&Simulate"_s : u"&Go"_s);
}

void TOptionsPanel::chkSortClick() {
  for (QRadioButton* button : OrderButtons()) button->setEnabled(m_chkSort->isChecked());
}

}  // namespace qx
