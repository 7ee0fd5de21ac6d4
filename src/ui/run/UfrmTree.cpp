// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/run/UfrmTree.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "ui/run/UResultTreeModel.h"
#include "ui/run/UStateIcons.h"

using namespace Qt::StringLiterals;

namespace qx {

namespace {

QToolButton* StripButton(const char* name, const QString& text, const QString& hint, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setText(text);
  button->setToolTip(hint);
  button->setFixedSize(22, 22);
  return button;
}

// One legend row: the kind in bold, then each state's icon and word.
void AddLegendRow(QGridLayout* grid, int row, const QString& kind, TNodeState unchanged, TNodeState renamed,
                  TNodeState error, QWidget* parent) {
  auto* label = new QLabel(kind, parent);
  QFont bold = label->font();
  bold.setBold(true);
  label->setFont(bold);
  grid->addWidget(label, row, 0);
  int column = 1;
  for (const auto& [state, word] :
       {std::pair{unchanged, "unchanged"}, {renamed, "renamed"}, {error, "renaming error"}}) {
    auto* icon = new QLabel(parent);
    icon->setPixmap(StateIcon(state).pixmap(16, 16));
    grid->addWidget(icon, row, column++);
    grid->addWidget(new QLabel(QString::fromUtf8(word), parent), row, column++);
  }
}

}  // namespace

TfrmTree::TfrmTree(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("frmTree");
  setWindowTitle(u"Quillex Simulated Result ..."_s);
  setAttribute(Qt::WA_DeleteOnClose);
  // A helper window: closing the main window ends the program even while this one shows.
  setAttribute(Qt::WA_QuitOnClose, false);
  resize(380, 315);

  m_tvSim = new QTreeView(this);
  m_tvSim->setObjectName("tvSim");
  m_tvSim->setAccessibleName(u"Simulated result"_s);
  m_tvSim->setHeaderHidden(true);
  m_tvSim->setIndentation(19);
  m_tvSim->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_tvSim->setUniformRowHeights(true);

  auto* btnExpand = StripButton("btnExpand", u"++"_s, u"Expand All Nodes"_s, this);
  auto* btnExpandOneLevel = StripButton("btnExpandOneLevel", u"+"_s, u"Expand First Level"_s, this);
  auto* strip = new QVBoxLayout;
  strip->addWidget(btnExpand);
  strip->addWidget(btnExpandOneLevel);
  strip->addStretch(1);

  m_lblResult = new QLabel(u"..."_s, this);
  m_lblResult->setObjectName("lblResult");
  auto* legend = new QGridLayout;
  AddLegendRow(legend, 0, u"Folders:"_s, TNodeState::FolderUnchanged, TNodeState::FolderRenamed,
               TNodeState::FolderError, this);
  AddLegendRow(legend, 1, u"Files:"_s, TNodeState::FileUnchanged, TNodeState::FileRenamed, TNodeState::FileError, this);
  legend->setColumnStretch(7, 1);

  auto* top = new QHBoxLayout;
  top->addLayout(strip);
  top->addWidget(m_tvSim, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top, 1);
  layout->addWidget(m_lblResult);
  layout->addLayout(legend);

  connect(btnExpand, &QToolButton::clicked, this, &TfrmTree::ExpandAll);
  connect(btnExpandOneLevel, &QToolButton::clicked, this, &TfrmTree::ExpandFirstLevel);
}

void TfrmTree::ShowResult(std::shared_ptr<const TResultTree> tree, int filesRenamed, int dirsRenamed) {
  auto* model = new TResultTreeModel(std::move(tree), this);
  m_tvSim->setModel(model);
  delete m_model;
  m_model = model;
  m_lblResult->setText(u"%1 files and %2 directories have been renamed."_s.arg(filesRenamed).arg(dirsRenamed));
}

void TfrmTree::Clear() {
  m_tvSim->setModel(nullptr);
  delete m_model;
  m_model = nullptr;
}

void TfrmTree::ExpandFirstLevel() {
  if (m_model == nullptr) return;
  m_tvSim->setUpdatesEnabled(false);
  m_tvSim->collapseAll();
  const QModelIndex root = m_model->RootIndex();
  m_tvSim->expand(root);
  m_tvSim->setCurrentIndex(root);
  m_tvSim->setUpdatesEnabled(true);
}

void TfrmTree::ExpandAll() {
  m_tvSim->setUpdatesEnabled(false);
  m_tvSim->expandAll();
  m_tvSim->setUpdatesEnabled(true);
}

}  // namespace qx
