// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/UPaletteColours.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QWidget>
#include <cmath>

namespace qx {

namespace {

double Channel(double value) { return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4); }

double Luminance(const QColor& colour) {
  const QColor rgb = colour.toRgb();
  return 0.2126 * Channel(rgb.redF()) + 0.7152 * Channel(rgb.greenF()) + 0.0722 * Channel(rgb.blueF());
}

// Tells of changes to the palette a widget inherits; the change its own setPalette makes
// is not one.
class TPaletteFollower : public QObject {
 public:
  TPaletteFollower(QWidget* widget, std::function<void(const QPalette&)> apply)
      : QObject(widget), m_widget(widget), m_apply(std::move(apply)) {
    Apply();
    widget->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const bool changed = event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange;
    if (watched == m_widget && changed && !m_applying) Apply();
    return false;
  }

 private:
  // The palette around the widget, which its own colours do not change.
  void Apply() {
    m_applying = true;
    const QWidget* parent = m_widget->parentWidget();
    m_apply(parent ? parent->palette() : QApplication::palette(m_widget));
    m_applying = false;
  }

  QWidget* m_widget;
  bool m_applying = false;
  std::function<void(const QPalette&)> m_apply;
};

}  // namespace

double ContrastRatio(const QColor& first, const QColor& second) {
  const double a = Luminance(first);
  const double b = Luminance(second);
  return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

QColor Readable(const QColor& colour, const QColor& background) {
  if (ContrastRatio(colour, background) >= kReadableContrast) return colour;
  // Away from the background's lightness, in small steps; black and white always reach it.
  const bool darker = Luminance(background) > 0.18;
  QColor hsl = colour.toHsl();
  for (int lightness = hsl.lightness(); lightness >= 0 && lightness <= 255; lightness += darker ? -4 : 4) {
    const QColor candidate = QColor::fromHsl(hsl.hslHue(), hsl.hslSaturation(), lightness);
    if (ContrastRatio(candidate, background) >= kReadableContrast) return candidate;
  }
  return darker ? QColor(Qt::black) : QColor(Qt::white);
}

QColor AccentText(const QPalette& palette) {
  return Readable(palette.color(QPalette::Highlight), palette.color(QPalette::Window));
}

QColor WarningText(const QPalette& palette) {
  return Readable(QColor(0xd0, 0x10, 0x10), palette.color(QPalette::Window));
}

void OnPaletteChange(QWidget* widget, std::function<void(const QPalette&)> apply) {
  new TPaletteFollower(widget, std::move(apply));
}

QIcon TintedIcon(const QString& svgResource, const QColor& colour) {
  QIcon icon;
  const QIcon shape(svgResource);
  for (int size : {16, 24, 32, 48, 64}) {
    QPixmap pixmap = shape.pixmap(QSize(size, size));
    QPainter painter(&pixmap);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(pixmap.rect(), colour);
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

void FollowPalette(QWidget* widget, std::function<TTextColours(const QPalette&)> colours) {
  widget->setProperty(kColouredProperty, true);
  OnPaletteChange(widget, [widget, colours = std::move(colours)](const QPalette& application) {
    QPalette palette = widget->palette();
    const TTextColours chosen = colours(application);
    // Only while enabled: a disabled text keeps the palette's disabled colour.
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
      palette.setColor(group, QPalette::WindowText, chosen.text);
      if (chosen.background.isValid()) palette.setColor(group, QPalette::Window, chosen.background);
    }
    widget->setAutoFillBackground(chosen.background.isValid());
    widget->setPalette(palette);
  });
}

}  // namespace qx
