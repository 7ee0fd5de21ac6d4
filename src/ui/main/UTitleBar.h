// SPDX-License-Identifier: GPL-3.0-or-later
// A pane's title: its text on the palette's highlight colours. Narrower than its text, it
// ends the text with "..." and shows the whole of it as a tooltip.
#pragma once

#include <QLabel>

namespace qx {

class TTitleBar : public QLabel {
  Q_OBJECT

 public:
  explicit TTitleBar(const QString& text, QWidget* parent = nullptr);

  // Wide enough for a few letters: a pane may be narrower than its title.
  QSize minimumSizeHint() const override;
  bool IsElided() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QString ShownText() const;
};

}  // namespace qx
