// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main/UTitleBar.h"

#include <QPainter>
#include <QStyle>

#include "ui/UPaletteColours.h"

using namespace Qt::StringLiterals;

namespace qx {

TTitleBar::TTitleBar(const QString& text, QWidget* parent) : QLabel(text, parent) {
  setMargin(2);
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  FollowPalette(this, [](const QPalette& palette) {
    const QColor background = palette.color(QPalette::Highlight);
    return TTextColours{Readable(palette.color(QPalette::HighlightedText), background), background};
  });
}

QSize TTitleBar::minimumSizeHint() const {
  return {fontMetrics().horizontalAdvance(u"M..."_s) + 2 * margin(), QLabel::minimumSizeHint().height()};
}

bool TTitleBar::IsElided() const { return ShownText() != text(); }

QString TTitleBar::ShownText() const {
  return fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width() - 2 * margin());
}

void TTitleBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  style()->drawItemText(&painter, contentsRect().adjusted(margin(), margin(), -margin(), -margin()),
                        Qt::AlignLeft | Qt::AlignVCenter, palette(), isEnabled(), ShownText(), foregroundRole());
}

void TTitleBar::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  setToolTip(IsElided() ? text() : QString());
}

}  // namespace qx
