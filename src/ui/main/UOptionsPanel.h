// SPDX-License-Identifier: GPL-3.0-or-later
// The options of a run under the job list: which entries, in what order, and how (confirm,
// undo file, log, simulation), with the buttons that start a run or take one back, and
// their settings keys. It knows nothing of the jobs, the mask or the folder.
#pragma once

#include <QWidget>
#include <array>
#include <optional>
#include <utility>

#include "rename/URunOptions.h"

class QBoxLayout;
class QCheckBox;
class QPushButton;
class QRadioButton;

namespace qx {

class ToxRegVal;

class TOptionsPanel : public QWidget {
  Q_OBJECT

 public:
  explicit TOptionsPanel(QWidget* parent = nullptr);

  // The boxes and the order as shown; the folder, mask and counter keep their defaults,
  // for the caller to fill. No chosen order button keeps the listing order.
  TRunOptions RunOptions() const;
  // Store to controls: every box, and the order when its stored number names a button
  // (any other number leaves the one shown). Throws what the store's getters throw.
  void ApplySettings(const ToxRegVal& ini);
  // Controls to store; the stored order stays when no button is chosen.
  void SaveSettings(ToxRegVal& ini) const;

 signals:
  void GoClicked();
  void UndoClicked();
  void UndoTreeClicked();
  // A box or an order button changed.
  void Changed();

 private:
  // The two columns side by side: what is renamed and in what order; how, and the buttons.
  QBoxLayout* CreateSelectionColumn();
  QBoxLayout* CreateOrderButtons();
  QBoxLayout* CreateModeColumn();
  QBoxLayout* CreateUndoRow();

  std::array<QRadioButton*, 4> OrderButtons() const;
  std::optional<TSortOrder> CheckedOrder() const;
  // The boxes by their boolean keys, in the store's order.
  std::array<std::pair<const char*, QCheckBox*>, 8> BooleanControls() const;
  void chkSimulationClick();
  void chkSortClick();

  QCheckBox* m_chkRecurseDirs = nullptr;
  QCheckBox* m_chkRenameDirs = nullptr;
  QCheckBox* m_chkResetCounter = nullptr;
  QCheckBox* m_chkSort = nullptr;
  QCheckBox* m_chkConfirm = nullptr;
  QCheckBox* m_chkUndo = nullptr;
  QCheckBox* m_chkLog = nullptr;
  QCheckBox* m_chkSimulation = nullptr;
  QRadioButton* m_rbNameASC = nullptr;
  QRadioButton* m_rbNameDESC = nullptr;
  QRadioButton* m_rbDateASC = nullptr;
  QRadioButton* m_rbDateDESC = nullptr;
  QPushButton* m_btnGo = nullptr;
};

}  // namespace qx
