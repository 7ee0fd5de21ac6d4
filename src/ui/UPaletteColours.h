// SPDX-License-Identifier: GPL-3.0-or-later
// Every colour the program gives a text or an icon is taken from the palette and made
// readable on its background, so a light theme, a dark one and a switch between them all
// work.
#pragma once

#include <QColor>
#include <QIcon>
#include <functional>

class QPalette;
class QWidget;

namespace qx {

// The contrast of two colours as the accessibility guidelines define it, 1 to 21.
double ContrastRatio(const QColor& first, const QColor& second);

// The least contrast a text the program colours keeps against its background.
inline constexpr double kReadableContrast = 4.5;

// `colour` with its hue and saturation kept, made darker or lighter only as far as it
// takes to reach kReadableContrast on `background`.
QColor Readable(const QColor& colour, const QColor& background);

// The colours the program sets, each readable on the background it is drawn on.
// A caption that stands out from the others: the highlight's hue on the window.
QColor AccentText(const QPalette& palette);
// A warning, red, on the window.
QColor WarningText(const QPalette& palette);

// Runs `apply` with the palette around `widget` now and whenever it changes (the desktop
// switching between light and dark).
void OnPaletteChange(QWidget* widget, std::function<void(const QPalette&)> apply);

// A one-colour icon drawn in `colour`: the SVG's own colour is replaced, its shape kept.
QIcon TintedIcon(const QString& svgResource, const QColor& colour);

// Colours `widget`'s text (the window text of a label or a check box) and, when given, its
// background by `colours`, now and whenever the desktop's palette changes. Marks the widget as coloured by the program,
// for the check that every such text stays readable.
struct TTextColours {
  QColor text;
  QColor background;  // invalid: the widget keeps the window's background
};
void FollowPalette(QWidget* widget, std::function<TTextColours(const QPalette&)> colours);

// The property FollowPalette sets on the widgets it colours.
inline constexpr char kColouredProperty[] = "quillexColoured";

}  // namespace qx
