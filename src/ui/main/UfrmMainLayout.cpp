// SPDX-License-Identifier: GPL-3.0-or-later
// TfrmMain's own controls: the menu, the job panel's place, the starting-directory pane
// and the file explorer, with their names, captions and hints. The job panel builds
// itself.
#include <QAction>
#include <QActionGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/UHelpLinks.h"
#include "ui/browse/UFileList.h"
#include "ui/browse/UFolderTree.h"
#include "ui/dialogs/UDialogRunner.h"
#include "ui/main/UJobPanel.h"
#include "ui/main/UPanelParts.h"
#include "ui/main/UTitleBar.h"
#include "ui/main/UfrmMain.h"
#include "ui/run/UfrmLog.h"

using namespace Qt::StringLiterals;

namespace qx {

namespace {

constexpr const char* kParallelFoldersMenu = "mnuParallelFolders";

// "&16": a choice's first digit is its Alt letter, and no two offered choices share one
// (one's is the "o"). A number from the settings file gets none, as it could share one.
QString ParallelChoiceCaption(int folders, bool offered) {
  if (!offered) return QString::number(folders);
  if (folders == kAutomaticFolders)
    return u"&Automatic: many on a network share, a few on a local disk (the default)"_s;
  if (folders == 1) return u"1, &one after another"_s;
  return u"&"_s + QString::number(folders);
}

QAction* AddParallelChoice(QMenu& menu, QActionGroup& group, int folders, bool offered, QAction* before = nullptr) {
  auto* action = new QAction(ParallelChoiceCaption(folders, offered), &menu);
  action->setObjectName(u"cmParallelFolders"_s + QString::number(folders));
  action->setCheckable(true);
  action->setData(folders);
  group.addAction(action);
  menu.insertAction(before, action);
  return action;
}

// The job panel's place: the panel whole wherever the window has room for it, and
// scrollable where a small screen or a large scale leaves less, so that the window
// never has to be larger than the screen, and every control can be reached (Tab
// scrolls to it).
class TPanelScroller : public QScrollArea {
 public:
  explicit TPanelScroller(QWidget* panel) {
    setObjectName("sbxMain");
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setWidget(panel);
    // The panel's width and the bar's come and go together.
    connect(verticalScrollBar(), &QScrollBar::rangeChanged, this, &QWidget::updateGeometry);
  }

  // The panel, and beside it the vertical bar while that shows.
  QSize sizeHint() const override {
    QSize hint = widget()->sizeHint();
    if (verticalScrollBar()->isVisibleTo(this)) hint.rwidth() += verticalScrollBar()->sizeHint().width();
    return hint;
  }
  // Room for the bars and a little of the panel.
  QSize minimumSizeHint() const override {
    const int least = 3 * verticalScrollBar()->sizeHint().width();
    return QSize(least, least).boundedTo(sizeHint());
  }
};

}  // namespace

QWidget* TfrmMain::CreateJobPanel() {
  m_jobPanel = new TJobPanel(*m_jobs, m_messages, m_dialogs, findChild<QAction*>(u"cmRegExHelp"_s));
  return new TPanelScroller(m_jobPanel);
}

void TfrmMain::CreateMenu() {
  QMenuBar* bar = menuBar();
  bar->setObjectName("mmMain");
  const auto command = [this](QMenu* menu, const char* name, const QString& caption, auto handler) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, handler);
    return action;
  };
  QMenu* file = bar->addMenu(u"&File"_s);
  command(file, "cmOpenJobList", u"&Open Job List"_s, &TfrmMain::cmOpenJobListClick)->setShortcut(QKeySequence::Open);
  command(file, "cmSaveJobList", u"&Save Job List"_s, &TfrmMain::cmSaveJobListClick)->setShortcut(QKeySequence::Save);
  file->addSeparator();
  command(file, "cmQuillexInSendTo", u"&Place Quillex in Send To..."_s, &TfrmMain::cmQuillexInSendToClick);
  file->addSeparator();
  command(file, "cmExit", u"E&xit"_s, &QWidget::close)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
  // Alt+S is the Simulate button's.
  QMenu* settings = bar->addMenu(u"S&ettings"_s);
  command(settings, "cmCharacterEncoding", u"&Character Encoding for XML job files..."_s,
          &TfrmMain::cmCharacterEncodingClick);
  command(settings, "cmFont", u"&Font for Directory and File Lists..."_s, &TfrmMain::cmFontClick);
  CreateParallelFoldersMenu(*settings);
  m_numbersByValue = settings->addAction(u"&Numbers in names by value"_s);
  m_numbersByValue->setObjectName("cmNumbersByValue");
  m_numbersByValue->setCheckable(true);
  m_numbersByValue->setChecked(true);
  const QString numbersHint =
      u"Sorting by name puts f2 before f10, as file managers show names; unticked, "
      "digits compare one by one as text (f10 before f2)."_s;
  m_numbersByValue->setToolTip(numbersHint);
  m_numbersByValue->setStatusTip(numbersHint);
  m_numberTakenNames = settings->addAction(u"Number new names that are &taken"_s);
  m_numberTakenNames->setObjectName("cmNumberTakenNames");
  m_numberTakenNames->setCheckable(true);
  const QString takenHint =
      u"Where a new name is taken, the entry takes it with a number before its extension "
      "(\"IMG (2).jpg\") instead of failing."_s;
  m_numberTakenNames->setToolTip(takenHint);
  m_numberTakenNames->setStatusTip(takenHint);
  QMenu* view = bar->addMenu(u"&View"_s);
  command(view, "cmLogWindow", u"&Log Window"_s, [this] { m_frmLog->ShowLog(); });
  command(view, "cmRefresh", u"&Refresh Folders"_s, &TfrmMain::RefreshExplorer)->setShortcut(QKeySequence::Refresh);
  QMenu* help = bar->addMenu(u"&Help"_s);
  command(help, "cmQuickHelp", u"&Quick Help (HTML)"_s, &TfrmMain::cmQuickHelpClick)
      ->setShortcut(QKeySequence::HelpContents);
  command(help, "cmRegExHelp", u"&Regular Expression Quick Help"_s, &TfrmMain::cmRegExHelpClick);
  command(help, "cmOstrelSoftware", u"&Ostrel Software homepage..."_s,
          [this] { m_dialogs.OpenUrl(QUrl(kHomePageAddress)); });
  command(help, "cmCheckForUpdates", u"&Check for Updates..."_s, [this] { m_dialogs.OpenUrl(UpdateCheckUrl()); });
  help->addSeparator();
  command(help, "cmAbout", u"&About"_s, &TfrmMain::cmAboutClick);
}

void TfrmMain::CreateParallelFoldersMenu(QMenu& settings) {
  QMenu* menu = settings.addMenu(u"Folders at &Once"_s);
  menu->setObjectName(kParallelFoldersMenu);
  menu->menuAction()->setObjectName("cmParallelFolders");
  const QString hint =
      u"How many folders a run works on at once. Several at once are faster on network shares; they "
      "are used only where the outcome cannot depend on the order of the folders (without \"Confirm "
      "every change\", and with no counter running on from folder to folder), so the names come out "
      "the same."_s;
  menu->menuAction()->setToolTip(hint);
  menu->menuAction()->setStatusTip(hint);
  settings.setToolTipsVisible(true);
  // Exclusive: one choice is checked at a time.
  m_parallelChoices = new QActionGroup(this);
  AddParallelChoice(*menu, *m_parallelChoices, kAutomaticFolders, true);
  for (int folders = 1; folders <= kMostFoldersAtOnce; folders *= 2) {
    AddParallelChoice(*menu, *m_parallelChoices, folders, true);
  }
  connect(m_parallelChoices, &QActionGroup::triggered, this,
          [this](QAction* choice) { m_parallelFolders = choice->data().toInt(); });
  SelectParallelFolders(m_parallelFolders);
}

void TfrmMain::SelectParallelFolders(int folders) {
  m_parallelFolders = folders;
  QMenu* menu = findChild<QMenu*>(QLatin1StringView(kParallelFoldersMenu));
  // The menu holds the choices in ascending order.
  const QList<QAction*> choices = menu->actions();
  const auto next = std::find_if(choices.begin(), choices.end(),
                                 [folders](const QAction* choice) { return choice->data().toInt() >= folders; });
  QAction* choice =
      next != choices.end() && (*next)->data().toInt() == folders
          ? *next
          : AddParallelChoice(*menu, *m_parallelChoices, folders, false, next != choices.end() ? *next : nullptr);
  choice->setChecked(true);
}

QWidget* TfrmMain::CreateDirectoryPanel() {
  m_pnlDir = Named(new QWidget, "pnlDir");
  m_pnlDir->setMinimumWidth(50);
  QVBoxLayout* layout = Column(m_pnlDir);
  auto* title = new TTitleBar(u" Starting Directory"_s);
  auto* titleRow = new QHBoxLayout(title);
  titleRow->setContentsMargins(0, 0, 2, 0);
  titleRow->addStretch();
  auto* imgRefresh = Named(new QToolButton(title), "imgRefresh", u"Click to Refresh Directories"_s);
  imgRefresh->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
  imgRefresh->setIconSize(QSize(14, 14));
  imgRefresh->setAutoRaise(true);
  imgRefresh->setCursor(Qt::PointingHandCursor);
  titleRow->addWidget(imgRefresh);
  layout->addWidget(title);
  m_stv = new TFolderTree;
  m_stv->setAccessibleName(u"Starting directory"_s);
  layout->addWidget(m_stv, 1);
  connect(imgRefresh, &QToolButton::clicked, m_stv, &TFolderTree::Refresh);
  return m_pnlDir;
}

QWidget* TfrmMain::CreateExplorerPanel() {
  auto* panel = Named(new QWidget, "Panel2");
  QVBoxLayout* layout = Column(panel);
  layout->addWidget(new TTitleBar(u" File Explorer"_s));
  m_slv = new TFileList;
  // A tool bar folds the commands that do not fit into its » menu, so the pane can stay
  // narrow: they are actions, which the menu can show, and their buttons keep the names.
  auto* toolbar = new QToolBar;
  toolbar->setIconSize(QSize(16, 16));
  QAction* back = toolbar->addAction(style()->standardIcon(QStyle::SP_FileDialogToParent), u"Back"_s);
  back->setToolTip(u"Back to Parent Folder"_s);
  toolbar->widgetForAction(back)->setObjectName("btnBack");
  connect(back, &QAction::triggered, m_slv, &TFileList::OpenParent);
  struct TViewButton {
    const char* name;
    const char* caption;
    int style;
  };
  static constexpr TViewButton kViewButtons[] = {
      {"btnLargeIcons", "Large Icons", 0},
      {"btnSmallIcons", "Small Icons", 1},
      {"btnList", "List", 2},
      {"btnDetails", "Details", 3},
  };
  m_viewStyles = new QActionGroup(this);
  for (const TViewButton& view : kViewButtons) {
    QAction* action = toolbar->addAction(QString::fromUtf8(view.caption));
    action->setCheckable(true);
    action->setData(view.style);
    m_viewStyles->addAction(action);
    toolbar->widgetForAction(action)->setObjectName(view.name);
    connect(action, &QAction::triggered, this, [this, style = view.style] { SelectViewStyle(style); });
  }
  layout->addWidget(toolbar);
  layout->addWidget(CreateSelectionBar());
  layout->addWidget(m_slv, 1);
  return panel;
}

QWidget* TfrmMain::CreateSelectionBar() {
  m_selectionBar = Named(new QWidget, "pnlSelection");
  auto* row = new QHBoxLayout(m_selectionBar);
  row->setContentsMargins(4, 2, 2, 2);
  m_selectionLine = Named(new QLabel, "lblSelection");
  m_selectionLine->setTextFormat(Qt::PlainText);
  // A narrow pane folds the line rather than cutting it or growing.
  m_selectionLine->setWordWrap(true);
  row->addWidget(m_selectionLine, 1);
  auto* btnShowFolder =
      Named(new QPushButton(u"Show the F&older"_s), "btnShowFolder", u"Show every entry of the folder"_s);
  connect(btnShowFolder, &QPushButton::clicked, this, [this] { ShowFolder(m_stv->SelectedPath()); });
  row->addWidget(btnShowFolder);
  m_selectionBar->hide();
  return m_selectionBar;
}

void TfrmMain::SelectViewStyle(int style) {
  m_slv->SetViewStyle(style);
  // A style outside 0..3 shows as a list.
  const int shown = style >= 0 && style <= 3 ? style : 2;
  for (QAction* action : m_viewStyles->actions()) action->setChecked(action->data().toInt() == shown);
}

}  // namespace qx
