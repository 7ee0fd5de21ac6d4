// SPDX-License-Identifier: GPL-3.0-or-later
// The About window: the program's name and version, its author and its maker. Shown
// modally by its caller; knows nothing of the main window.
#pragma once

#include <QDialog>

namespace qx {

class TfrmAbout : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmAbout(QWidget* parent = nullptr);
};

}  // namespace qx
