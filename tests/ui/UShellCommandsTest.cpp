// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's commands that reach outside the renaming: Send To, the list font,
// the help file and the maker's pages, the About window and the regular-expression
// quick help with its texts.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest/QtTest>
#include <memory>

#include "platform/UAppPaths.h"
#include "platform/UFiles.h"
#include "platform/UShellLink.h"
#include "settings/UAppSettings.h"
#include "support/URecordingMessages.h"
#include "support/UTempDir.h"
#include "ui/UHelpLinks.h"
#include "ui/UMainWindowHarness.h"
#include "ui/UQtText.h"
#include "ui/UScriptedDialogs.h"
#include "ui/UUiTestSupport.h"
#include "ui/browse/UFileList.h"
#include "ui/browse/UFolderTree.h"
#include "ui/dialogs/UfrmAbout.h"
#include "ui/dialogs/UfrmRegExHelp.h"
#include "ui/dialogs/UfrmReplaceDetails.h"
#include "ui/main/UfrmMain.h"

namespace qx {
namespace {

const std::string kCreated = "A shortcut to Quillex has been successfully created in\r\n";
const std::string kCannotCreate = "Cannot create shortcut to Quillex\r\nfilename = ";

using THarness = test::TMainWindowHarness;

QList<TfrmRegExHelp*> RegExHelpWindows() {
  QList<TfrmRegExHelp*> windows;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* help = qobject_cast<TfrmRegExHelp*>(widget)) windows << help;
  }
  return windows;
}

void ProcessDeferredDeletes() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
}

// The texts of a group: its caption, then every label in order.
QStringList GroupTexts(const QGroupBox& group) {
  QStringList texts{group.title()};
  for (const QLabel* label : group.findChildren<QLabel*>()) texts << label->text();
  return texts;
}

}  // namespace

class TShellCommandsTest : public QObject {
  Q_OBJECT

 private slots:
  void commandsAreAvailable();
  void sendToTwiceSucceedsTwiceWithTheSameEntry_data();
  void sendToTwiceSucceedsTwiceWithTheSameEntry();
  void sendToAnUnwritableFolderSaysWhichFile();
  void addressesOpenedWithTheDesktop_data();
  void addressesOpenedWithTheDesktop();
  void aBoldFontStoresNameAndSizeOnly();
  void aCancelledFontChangesNothing();
  void theStoredFontIsAppliedAtStartUp();
  void aboutWindow();
  void regExHelpIsOneWindowUntilClosed();
  void regExHelpTexts();
  void regExHelpLinkOpensItsAddress();
  void regExHelpFromTheReplaceDialogTakesInput();
};

void TShellCommandsTest::commandsAreAvailable() {
  THarness harness;
  TfrmMain& window = harness.Start();
  for (const char* name : {"cmQuillexInSendTo", "cmFont", "cmQuickHelp", "cmRegExHelp", "cmOstrelSoftware",
                           "cmCheckForUpdates", "cmAbout"}) {
    QVERIFY2(window.findChild<QAction*>(name)->isEnabled(), name);
  }
  QVERIFY(!window.windowIcon().isNull());
}

void TShellCommandsTest::sendToTwiceSucceedsTwiceWithTheSameEntry_data() {
  QTest::addColumn<bool>("trailingSeparator");
  QTest::newRow("XDG_DATA_HOME with its separator") << true;
  QTest::newRow("XDG_DATA_HOME without it") << false;
}

void TShellCommandsTest::sendToTwiceSucceedsTwiceWithTheSameEntry() {
  QFETCH(bool, trailingSeparator);
  THarness harness;
  std::string data = harness.Data().Path();
  if (!trailingSeparator) data.pop_back();
  qputenv("XDG_DATA_HOME", QByteArray::fromStdString(data));
  harness.Start();
  const std::string folder = harness.Data() / "applications/";
  const std::string link = folder + "Quillex.desktop";

  harness.Trigger("cmQuillexInSendTo");
  QVERIFY(PathExists(link));
  const std::string first = ReadWholeFile(link);
  harness.Trigger("cmQuillexInSendTo");
  QCOMPARE(harness.messages.messages, (std::vector<std::string>{kCreated + folder, kCreated + folder}));
  QCOMPARE(ReadWholeFile(link), first);
  QVERIFY2(first.find("Exec=\"" + ProgramFile() + "\" %F\n") != std::string::npos, first.c_str());
}

void TShellCommandsTest::sendToAnUnwritableFolderSaysWhichFile() {
  THarness harness;
  // A file where the folder belongs: refused even to root.
  harness.Data().WriteFile("applications", "");
  harness.Start();
  harness.Trigger("cmQuillexInSendTo");
  QCOMPARE(harness.messages.messages,
           (std::vector<std::string>{kCannotCreate + harness.Data().Path() + "applications/Quillex.desktop"}));
}

void TShellCommandsTest::addressesOpenedWithTheDesktop_data() {
  QTest::addColumn<QString>("command");
  QTest::addColumn<bool>("helpBesideTheProgram");
  QTest::addColumn<QString>("address");  // "<program>" stands for the program folder
  QTest::newRow("help beside the program") << "cmQuickHelp" << true << "file://<program>help/index.html";
  QTest::newRow("help in the installed data folder")
      << "cmQuickHelp" << false << "file://" + ToQString(InstalledDataDir()) + "help/index.html";
  QTest::newRow("home page") << "cmOstrelSoftware" << false << "https://www.ostrelsoftware.com/";
  QTest::newRow("update check") << "cmCheckForUpdates" << false
                                << "https://www.ostrelsoftware.com/utils_3.asp?version=v2.07";
}

void TShellCommandsTest::addressesOpenedWithTheDesktop() {
  QFETCH(QString, command);
  QFETCH(bool, helpBesideTheProgram);
  QFETCH(QString, address);
  THarness harness;
  if (helpBesideTheProgram) {
    std::filesystem::create_directory(harness.Program() / "help");
    harness.Program().WriteFile("help/index.html", "<html></html>");
  }
  harness.Start();
  harness.Trigger(qPrintable(command));
  address.replace("<program>", ToQString(harness.Program().Path()));
  QCOMPARE(harness.dialogs.openedUrls, std::vector<std::string>{address.toStdString()});
  QVERIFY(harness.messages.messages.empty());
}

// The dialog's choice: made, then OK or Cancel.
test::TScriptedDialogs::TStep ChooseFont(const QFont& font, bool ok) {
  return [font, ok](QDialog& dialog) {
    auto& fontDialog = dynamic_cast<QFontDialog&>(dialog);
    if (fontDialog.objectName() != "dlgFont") qFatal("not the font dialog");
    fontDialog.setCurrentFont(font);
    return ok;
  };
}

QFont BoldItalic(int size) {
  QFont font(QApplication::font().family(), size);
  font.setBold(true);
  font.setItalic(true);
  return font;
}

void TShellCommandsTest::aBoldFontStoresNameAndSizeOnly() {
  THarness harness;
  harness.Start();
  // Changed after start-up: the font command writes the file but not this option.
  harness.Control<QCheckBox>("chkRecurseDirs")->setChecked(true);
  const QFont chosen = BoldItalic(17);
  harness.dialogs.steps.push_back(ChooseFont(chosen, true));
  harness.Trigger("cmFont");

  ToxRegVal saved = harness.Saved();
  QCOMPARE(saved.GetString("fontName"), ToBytes(chosen.family()));
  QCOMPARE(saved.GetInteger("fontSize"), 17);
  QCOMPARE(saved.GetBoolean("recurseDirs"), false);
  for (const QWidget* list : {static_cast<QWidget*>(&harness.Tree()), static_cast<QWidget*>(&harness.List())}) {
    QCOMPARE(list->font().family(), chosen.family());
    QCOMPARE(list->font().pointSize(), 17);
    QVERIFY(!list->font().bold());
    QVERIFY(!list->font().italic());
  }
}

void TShellCommandsTest::aCancelledFontChangesNothing() {
  THarness harness;
  harness.Start();
  const QFont before = harness.Tree().font();
  harness.dialogs.steps.push_back(ChooseFont(BoldItalic(17), false));
  harness.Trigger("cmFont");
  QCOMPARE(harness.Tree().font(), before);
  QCOMPARE(harness.Saved().GetInteger("fontSize"), 8);
  QCOMPARE(harness.dialogs.unexpected, 0);
}

void TShellCommandsTest::theStoredFontIsAppliedAtStartUp() {
  THarness harness;
  harness.Start();
  const QFont desktopFont = harness.Tree().font();
  harness.dialogs.steps.push_back(ChooseFont(BoldItalic(15), true));
  harness.Trigger("cmFont");
  harness.Close();
  harness.Start();
  QCOMPARE(harness.Tree().font().pointSize(), 15);
  QCOMPARE(harness.List().font().pointSize(), 15);
  QVERIFY(!harness.List().font().bold());
  QVERIFY(desktopFont.pointSize() != 15);
}

void TShellCommandsTest::aboutWindow() {
  THarness harness;
  harness.Start();
  QStringList seen;
  harness.dialogs.steps.push_back([&seen](QDialog& dialog) {
    seen << dialog.windowTitle() << test::Child<QLabel>(dialog, "lblName")->text();
    seen << QString::number(dialog.width()) + "x" + QString::number(dialog.height());
    auto* ok = test::Child<QPushButton>(dialog, "btnOK");
    seen << ok->text() << (ok->isDefault() ? "default" : "not default");
    seen << (dialog.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint) ? "buttons"
                                                                                              : "no buttons");
    seen << (dialog.parentWidget() == QApplication::activeWindow() ? "over the main window" : "elsewhere");
    for (const char* line : {"lblAuthor", "lblMaker", "lblLicence"}) {
      seen << (test::Child<QLabel>(dialog, line)->text().isEmpty() ? "empty" : "written");
    }
    return true;
  });
  harness.Trigger("cmAbout");
  QCOMPARE(seen, (QStringList{"About ...", "Quillex v2.07", "274x364", "OK", "default", "no buttons",
                              "over the main window", "written", "written", "written"}));
  QCOMPARE(harness.dialogs.shownDialogs, std::vector<std::string>{"qx::TfrmAbout"});
}

void TShellCommandsTest::regExHelpIsOneWindowUntilClosed() {
  THarness harness;
  harness.Start();
  harness.Trigger("cmRegExHelp");
  QCOMPARE(RegExHelpWindows().size(), 1);
  QPointer<TfrmRegExHelp> first = RegExHelpWindows().first();
  QVERIFY(first->isVisible());
  first->showMinimized();
  harness.Trigger("cmRegExHelp");
  ProcessDeferredDeletes();
  QCOMPARE(RegExHelpWindows(), QList<TfrmRegExHelp*>{first.data()});
  QVERIFY2(!first->isMinimized(), "brought back to the front");

  test::Child<QPushButton>(*first, "btnOK")->click();
  ProcessDeferredDeletes();
  QVERIFY2(first.isNull(), "closing destroys the window");
  harness.Trigger("cmRegExHelp");
  QCOMPARE(RegExHelpWindows().size(), 1);
  QVERIFY(RegExHelpWindows().first()->isVisible());

  // Closing the main window takes it along.
  QPointer<TfrmRegExHelp> second = RegExHelpWindows().first();
  QVERIFY(!second->testAttribute(Qt::WA_QuitOnClose));
  harness.Close();
  QVERIFY(second.isNull());
}

void TShellCommandsTest::regExHelpTexts() {
  TfrmRegExHelp help([](const QUrl&) {});
  QCOMPARE(help.windowTitle(), "Regular Expression Quick Help");
  QVERIFY(help.width() >= 615 && help.height() >= 368);
  help.show();
  QVERIFY(QTest::qWaitForWindowExposed(&help));
  // Every text is shown whole: no row is cut or squeezed under its neighbour.
  for (const QLabel* label : help.findChildren<QLabel*>()) {
    const QSize needed =
        label->wordWrap() ? QSize(label->width(), label->heightForWidth(label->width())) : label->sizeHint();
    QVERIFY2(label->width() >= needed.width() && label->height() >= needed.height(), qPrintable(label->text()));
  }
  struct TRow {
    const char* group;
    QStringList texts;
  };
  const TRow rows[] = {
      {"gbEscapeSequences",
       {" Escape Sequences ", R"(\)", "Escape Character", R"(\xnn)", "Char with hex code nn", R"(\x{nnnn})",
        "Char with hex code nnnn", R"(\t)", R"(TAB (\x09))", R"(\n)", R"(New Line (NL/LF) (\x0a))", R"(\r)",
        R"(Carriage Return (CR) (\x0d))", R"(\f)", R"(Form feed (FF) (\x0c))"}},
      {"gbCharacterClasses",
       {" Character Classes ", "[aeiou]", "Matches any char in [ ]", "[a-z]", "Matches small caps from 'a' to 'z'",
        "[-az]", "Matches 'a', 'z' and '-'", R"([a\-z])", "Matches 'a', 'z' and '-'", "[^0-9]",
        "Matches any non-numeric char", "If first char is '^' the class matches any character NOT in the list"}},
      {"gbSeparators",
       {" Metacharacters - Separators ", ".", "Any character", "^", "Start of line", "$", "End of line", R"(\A)",
        "Start of text", R"(\Z)", "End of text", R"(\b)", "word boundary", R"(\B)", "non-(word boundary)"}},
      {"gbPredefinedClasses",
       {" Predefined Character Classes ", R"(\w)", "alphanumeric char (incl. '_')", R"(\W)", "non-alphanumeric char",
        R"(\d)", "numeric character", R"(\D)", "non-numeric char", R"(\s)", R"(any space (same as \t\n\r\f))", R"(\S)",
        "non-space"}},
      {"gbIterators",
       {" Metacharacters - Iterators", "*", "zero or more, similar to {0,}", "+", "one or more, similar to {1,}", "?",
        "zero or one, similar to {0,1}", "{n}", "exactly n times", "{n,}", "at least n times", "{n,m}",
        "at least n but no more than m times",
        R"(Add a '?' at the end for "non-greedy" matches, i.e. as few as possible.)"}},
      {"gbSeparators2",
       {" Metacharacters - Separators ", "|", R"("or" operator, e.g. (a|b))", "()", "sub-expression, e.g. (foo)", "$n",
        "sub-expr n (for replacements)",
        "Sub-expressions are numbered from the left-to-right order of their opening parenthesis. First "
        "sub-expression is $1, the whole RegEx match is $0."}},
  };
  for (const TRow& row : rows) {
    const auto* group = help.findChild<QGroupBox*>(row.group);
    QVERIFY2(group, row.group);
    QCOMPARE(GroupTexts(*group), row.texts);
    // Every construct is bold, every explanation is not, and nothing is read as markup.
    const QList<QLabel*> labels = group->findChildren<QLabel*>();
    for (int n = 0; n < labels.size(); ++n) {
      QCOMPARE(labels[n]->textFormat(), Qt::PlainText);
      if (n + 1 < labels.size() || labels.size() % 2 == 0) QCOMPARE(labels[n]->font().bold(), n % 2 == 0);
    }
  }
  // Three columns of two, in the order the help reads.
  const auto* grid = qobject_cast<QGridLayout*>(help.layout()->itemAt(0)->layout());
  QVERIFY(grid);
  QStringList placed;
  for (int row = 0; row < 2; ++row) {
    for (int column = 0; column < 3; ++column) placed << grid->itemAtPosition(row, column)->widget()->objectName();
  }
  QCOMPARE(placed, (QStringList{"gbEscapeSequences", "gbSeparators", "gbIterators", "gbCharacterClasses",
                                "gbPredefinedClasses", "gbSeparators2"}));
  QCOMPARE(test::Child<QLabel>(help, "lblMoreHelp")->text(), "For more help please click:");
  QVERIFY(test::Child<QLabel>(help, "lblCredit")->text().contains("Quillex's own regular-expression engine"));
  QCOMPARE(test::Child<QPushButton>(help, "btnOK")->text(), "OK");
}

void TShellCommandsTest::regExHelpLinkOpensItsAddress() {
  std::vector<QUrl> opened;
  TfrmRegExHelp help([&opened](const QUrl& url) { opened.push_back(url); });
  auto* link = test::Child<QLabel>(help, "lblLink");
  QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
  QVERIFY(link->text().contains(kRegexSyntaxAddress));
  emit link->linkActivated(kRegexSyntaxAddress);
  QCOMPARE(opened, std::vector<QUrl>{QUrl(kRegexSyntaxAddress)});
}

void TShellCommandsTest::regExHelpFromTheReplaceDialogTakesInput() {
  THarness harness;
  harness.Start();
  bool closedByClick = false;
  harness.dialogs.steps.push_back([&closedByClick](QDialog& dialog) {
    // Modal as the real runner makes it, so that it blocks every other window.
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.show();
    if (!QTest::qWaitForWindowExposed(&dialog)) return false;
    test::Child<QPushButton>(dialog, "btnRegExHelp")->click();
    QList<TfrmRegExHelp*> windows = RegExHelpWindows();
    if (windows.size() != 1 || !QTest::qWaitForWindowExposed(windows.first())) return false;
    QPointer<TfrmRegExHelp> help = windows.first();
    // Through the window system, where a blocked window drops the click.
    const QPushButton* ok = test::Child<QPushButton>(*help, "btnOK");
    QTest::mouseClick(help->windowHandle(), Qt::LeftButton, {}, ok->mapTo(help, ok->rect().center()));
    ProcessDeferredDeletes();
    closedByClick = help.isNull();
    dialog.hide();
    return false;
  });
  harness.Control<QAbstractButton>("btnReplace")->click();
  QVERIFY2(closedByClick, "a click on the quick help's OK reaches it while the replace dialog waits");
}

}  // namespace qx

QTEST_MAIN(qx::TShellCommandsTest)
#include "UShellCommandsTest.moc"
