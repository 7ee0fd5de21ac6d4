#include "ui/UfrmAbout.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/UHelpLinks.h"

namespace qx {

namespace {

QLabel* ProgramIcon() {
  auto* icon = new QLabel;
  icon->setPixmap(QIcon(":/icons/quillex.svg").pixmap(32, 32));
  icon->setFixedSize(32, 32);
  return icon;
}

QLabel* Line(const char* name, const QString& text, const char* colour) {
  auto* line = new QLabel(text);
  line->setObjectName(name);
  line->setAlignment(Qt::AlignHCenter);
  line->setWordWrap(true);
  if (colour) line->setStyleSheet(QString("QLabel { color: %1; }").arg(colour));
  return line;
}

}  // namespace

TfrmAbout::TfrmAbout(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName("frmAbout");
  setWindowTitle("About ...");
  setWindowIcon(QIcon(":/icons/quillex.svg"));
  setFixedSize(274, 364);

  auto* pnlTop = new QFrame;
  pnlTop->setObjectName("pnlTop");
  pnlTop->setFrameShape(QFrame::Panel);
  pnlTop->setFrameShadow(QFrame::Raised);
  auto* top = new QHBoxLayout(pnlTop);
  top->addWidget(ProgramIcon(), 0, Qt::AlignTop);
  auto* lines = new QVBoxLayout;
  QLabel* lblName = Line("lblName", QString("Quillex ") + kVersionText, nullptr);
  QFont large = lblName->font();
  large.setBold(true);
  large.setPointSizeF(large.pointSizeF() * 1.6);
  lblName->setFont(large);
  lines->addWidget(lblName);
  lines->addSpacing(8);
  lines->addWidget(Line("lblAuthor", "by the Quillex developers", "#000080"));
  lines->addWidget(Line("lblMaker", "Ostrel Software", "#ff0000"));
  lines->addStretch();
  top->addLayout(lines, 1);
  top->addWidget(ProgramIcon(), 0, Qt::AlignTop);

  auto* btnOK = new QPushButton("OK");
  btnOK->setObjectName("btnOK");
  btnOK->setDefault(true);
  connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pnlTop, 1);
  layout->addWidget(btnOK, 0, Qt::AlignRight);
}

}  // namespace qx
