// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/UJobDialog.h"

#include <QBoxLayout>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace qx {

TJobDialog::TJobDialog(QWidget* parent, const QString& caption)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setWindowTitle(caption);
}

void TJobDialog::AddButtonBar(QBoxLayout* layout, QWidget* leftOfButtons) {
  auto* bar = new QHBoxLayout;
  if (leftOfButtons) bar->addWidget(leftOfButtons);
  bar->addStretch();
  auto* cancel = new QPushButton(u"Cancel"_s, this);
  cancel->setObjectName("btnCancel");
  cancel->setAutoDefault(false);
  auto* ok = new QPushButton(u"OK"_s, this);
  ok->setObjectName("btnOk");
  ok->setDefault(true);
  bar->addWidget(cancel);
  bar->addWidget(ok);
  layout->addLayout(bar);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TJobDialog::FixSize() { layout()->setSizeConstraint(QLayout::SetFixedSize); }

}  // namespace qx
