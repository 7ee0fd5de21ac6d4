// SPDX-License-Identifier: GPL-3.0-or-later
// The regular-expression quick help: the constructs of the replace job's regular-
// expression mode in six groups, and a link to the full syntax. The caller decides how
// many exist and opens the link; this window only shows and reports the click.
#pragma once

#include <QUrl>
#include <QWidget>
#include <functional>

namespace qx {

class TfrmRegExHelp : public QWidget {
  Q_OBJECT

 public:
  // A window of its own that frees itself when closed. `openUrl` gets the link.
  explicit TfrmRegExHelp(std::function<void(const QUrl&)> openUrl, QWidget* parent = nullptr);
};

}  // namespace qx
