// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/UfrmAbout.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/UHelpLinks.h"
#include "ui/UPaletteColours.h"

using namespace Qt::StringLiterals;

namespace qx {

namespace {

QLabel* ProgramIcon() {
  auto* icon = new QLabel;
  icon->setPixmap(QIcon(u":/icons/quillex.svg"_s).pixmap(32, 32));
  icon->setFixedSize(32, 32);
  return icon;
}

QLabel* Line(const char* name, const QString& text, QColor (*colour)(const QPalette&) = nullptr) {
  auto* line = new QLabel(text);
  line->setObjectName(name);
  line->setAlignment(Qt::AlignHCenter);
  line->setWordWrap(true);
  if (colour) FollowPalette(line, [colour](const QPalette& palette) { return TTextColours{colour(palette), {}}; });
  return line;
}

}  // namespace

TfrmAbout::TfrmAbout(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName("frmAbout");
  setWindowTitle(u"About ..."_s);
  setWindowIcon(QIcon(u":/icons/quillex.svg"_s));

  auto* pnlTop = new QFrame;
  pnlTop->setObjectName("pnlTop");
  pnlTop->setFrameShape(QFrame::Panel);
  pnlTop->setFrameShadow(QFrame::Raised);
  auto* top = new QHBoxLayout(pnlTop);
  top->addWidget(ProgramIcon(), 0, Qt::AlignTop);
  auto* lines = new QVBoxLayout;
  QLabel* lblName = Line("lblName", u"Quillex "_s + QLatin1StringView(kVersionText));
  QFont large = lblName->font();
  large.setBold(true);
  large.setPointSizeF(large.pointSizeF() * 1.6);
  lblName->setFont(large);
  lines->addWidget(lblName);
  lines->addSpacing(8);
  lines->addWidget(Line("lblAuthor", u"by the Quillex developers"_s, AccentText));
  lines->addWidget(Line("lblMaker", u"Ostrel Software"_s, WarningText));
  lines->addStretch();
  lines->addWidget(Line("lblLicence",
                        u"Free software under the GNU General Public License, version 3 or later. "
                        u"It comes with no warranty."_s));
  top->addLayout(lines, 1);
  top->addWidget(ProgramIcon(), 0, Qt::AlignTop);

  auto* btnOK = new QPushButton(u"OK"_s);
  btnOK->setObjectName("btnOK");
  btnOK->setDefault(true);
  connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pnlTop, 1);
  layout->addWidget(btnOK, 0, Qt::AlignRight);
  // Its classic size, or more where a large font needs it; the lines wrap to the width.
  const int width = std::max(274, minimumSizeHint().width());
  setFixedSize(width, std::max(364, layout->heightForWidth(width)));
}

}  // namespace qx
