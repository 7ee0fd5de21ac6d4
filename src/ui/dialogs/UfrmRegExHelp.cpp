// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/UfrmRegExHelp.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <initializer_list>
#include <utility>

#include "ui/UHelpLinks.h"

using namespace Qt::StringLiterals;

namespace qx {

namespace {

struct TConstruct {
  const char* construct;
  const char* explanation;
};

struct TGroup {
  const char* name;
  const char* caption;
  std::initializer_list<TConstruct> rows;
  const char* note;
  int row;
  int column;
};

const TGroup kGroups[] = {
    {"gbEscapeSequences",
     " Escape Sequences ",
     {{R"(\)", "Escape Character"},
      {R"(\xnn)", "Char with hex code nn"},
      {R"(\x{nnnn})", "Char with hex code nnnn"},
      {R"(\t)", R"(TAB (\x09))"},
      {R"(\n)", R"(New Line (NL/LF) (\x0a))"},
      {R"(\r)", R"(Carriage Return (CR) (\x0d))"},
      {R"(\f)", R"(Form feed (FF) (\x0c))"}},
     nullptr,
     0,
     0},
    {"gbCharacterClasses",
     " Character Classes ",
     {{"[aeiou]", "Matches any char in [ ]"},
      {"[a-z]", "Matches small caps from 'a' to 'z'"},
      {"[-az]", "Matches 'a', 'z' and '-'"},
      {R"([a\-z])", "Matches 'a', 'z' and '-'"},
      {"[^0-9]", "Matches any non-numeric char"}},
     "If first char is '^' the class matches any character NOT in the list",
     1,
     0},
    {"gbSeparators",
     " Metacharacters - Separators ",
     {{".", "Any character"},
      {"^", "Start of line"},
      {"$", "End of line"},
      {R"(\A)", "Start of text"},
      {R"(\Z)", "End of text"},
      {R"(\b)", "word boundary"},
      {R"(\B)", "non-(word boundary)"}},
     nullptr,
     0,
     1},
    {"gbPredefinedClasses",
     " Predefined Character Classes ",
     {{R"(\w)", "alphanumeric char (incl. '_')"},
      {R"(\W)", "non-alphanumeric char"},
      {R"(\d)", "numeric character"},
      {R"(\D)", "non-numeric char"},
      {R"(\s)", R"(any space (same as \t\n\r\f))"},
      {R"(\S)", "non-space"}},
     nullptr,
     1,
     1},
    {"gbIterators",
     " Metacharacters - Iterators",
     {{"*", "zero or more, similar to {0,}"},
      {"+", "one or more, similar to {1,}"},
      {"?", "zero or one, similar to {0,1}"},
      {"{n}", "exactly n times"},
      {"{n,}", "at least n times"},
      {"{n,m}", "at least n but no more than m times"}},
     R"(Add a '?' at the end for "non-greedy" matches, i.e. as few as possible.)",
     0,
     2},
    {"gbSeparators2",
     " Metacharacters - Separators ",
     {{"|", R"("or" operator, e.g. (a|b))"},
      {"()", "sub-expression, e.g. (foo)"},
      {"$n", "sub-expr n (for replacements)"}},
     "Sub-expressions are numbered from the left-to-right order of their opening parenthesis. First sub-expression "
     "is $1, the whole RegEx match is $0.",
     1,
     2},
};

QLabel* PlainLabel(const QString& text, bool wrap = true) {
  auto* label = new QLabel(text);
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(wrap);
  return label;
}

QGroupBox* Group(const TGroup& group) {
  auto* box = new QGroupBox(QString::fromUtf8(group.caption));
  box->setObjectName(group.name);
  auto* rows = new QGridLayout(box);
  rows->setVerticalSpacing(1);
  rows->setColumnStretch(1, 1);
  int row = 0;
  for (const TConstruct& construct : group.rows) {
    QLabel* left = PlainLabel(QString::fromUtf8(construct.construct), false);
    QFont bold = left->font();
    bold.setBold(true);
    left->setFont(bold);
    rows->addWidget(left, row, 0, Qt::AlignTop);
    rows->addWidget(PlainLabel(QString::fromUtf8(construct.explanation), false), row, 1, Qt::AlignTop);
    ++row;
  }
  if (group.note) rows->addWidget(PlainLabel(QString::fromUtf8(group.note)), row++, 0, 1, 2);
  rows->setRowStretch(row, 1);
  return box;
}

}  // namespace

TfrmRegExHelp::TfrmRegExHelp(std::function<void(const QUrl&)> openUrl, QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("frmRegExHelp");
  setWindowTitle(u"Regular Expression Quick Help"_s);
  setWindowIcon(QIcon(u":/icons/quillex.svg"_s));
  setAttribute(Qt::WA_DeleteOnClose);
  // A helper window: closing the main window ends the program even while this one shows.
  setAttribute(Qt::WA_QuitOnClose, false);
  // Small print, as a quick reference wants; the rows must fit their columns.
  QFont small = font();
  small.setPointSize(8);
  setFont(small);

  auto* columns = new QGridLayout;
  for (const TGroup& group : kGroups) columns->addWidget(Group(group), group.row, group.column);
  for (int column = 0; column < 3; ++column) columns->setColumnStretch(column, 1);

  auto* footer = new QHBoxLayout;
  auto* credits = new QVBoxLayout;
  auto* lblCredit = PlainLabel(u"Regular expressions by Quillex's own regular-expression engine"_s, false);
  lblCredit->setObjectName("lblCredit");
  credits->addWidget(lblCredit);
  auto* moreHelp = new QHBoxLayout;
  auto* lblMoreHelp = PlainLabel(u"For more help please click:"_s, false);
  lblMoreHelp->setObjectName("lblMoreHelp");
  moreHelp->addWidget(lblMoreHelp);
  auto* lblLink = new QLabel(
      u"<a href=\"%1\" style=\"color: blue; text-decoration: underline;\">%1</a>"_s.arg(kRegexSyntaxAddress));
  lblLink->setObjectName("lblLink");
  lblLink->setTextFormat(Qt::RichText);
  lblLink->setCursor(Qt::PointingHandCursor);
  connect(lblLink, &QLabel::linkActivated, this,
          [openUrl = std::move(openUrl)](const QString& link) { openUrl(QUrl(link)); });
  moreHelp->addWidget(lblLink);
  moreHelp->addStretch();
  credits->addLayout(moreHelp);
  footer->addLayout(credits, 1);
  auto* btnOK = new QPushButton(u"OK"_s);
  btnOK->setObjectName("btnOK");
  // Not a dialog, so Enter reaches the button only as the focused auto-default one.
  btnOK->setAutoDefault(true);
  btnOK->setFocus();
  connect(btnOK, &QPushButton::clicked, this, &QWidget::close);
  footer->addWidget(btnOK, 0, Qt::AlignBottom);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns, 1);
  layout->addLayout(footer);
  // Never so small that a row is cut: a larger desktop font makes the window larger.
  resize(QSize(615, 368).expandedTo(minimumSizeHint()));
}

}  // namespace qx
