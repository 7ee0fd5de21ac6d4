// TfrmMain's controls: the menu, the job panel, the starting-directory pane and the
// file explorer, with their names, captions and hints.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>

#include "ui/UDialogRunner.h"
#include "ui/UFileList.h"
#include "ui/UFolderTree.h"
#include "ui/UHelpLinks.h"
#include "ui/UJobListModel.h"
#include "ui/UNumberField.h"
#include "ui/UQtText.h"
#include "ui/UfrmLog.h"
#include "ui/UfrmMain.h"

namespace qx {

namespace {

constexpr int kJobPanelWidth = 334;

template <typename TWidget>
TWidget* Named(TWidget* widget, const char* name, const char* hint = nullptr) {
  widget->setObjectName(name);
  if (hint) widget->setToolTip(hint);
  return widget;
}

QLabel* TitleBar(const QString& text, const char* background) {
  auto* title = new QLabel(text);
  title->setStyleSheet(QString("QLabel { color: white; background: %1; padding: 2px; }").arg(background));
  return title;
}

// Navy only while enabled: a disabled caption keeps the palette's disabled colour, so an
// option that is off looks off.
QPalette NavyCaption(QPalette palette) {
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
    palette.setColor(group, QPalette::WindowText, QColor(0x00, 0x00, 0x80));
  }
  return palette;
}

QVBoxLayout* Column(QWidget* owner, int spacing = 2) {
  auto* layout = new QVBoxLayout(owner);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(spacing);
  return layout;
}

}  // namespace

void TfrmMain::CreateMenu() {
  QMenuBar* bar = menuBar();
  bar->setObjectName("mmMain");
  const auto command = [this](QMenu* menu, const char* name, const QString& caption, auto handler) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, handler);
    return action;
  };
  QMenu* file = bar->addMenu("&File");
  command(file, "cmOpenJobList", "&Open Job List", &TfrmMain::cmOpenJobListClick);
  command(file, "cmSaveJobList", "&Save Job List", &TfrmMain::cmSaveJobListClick);
  file->addSeparator();
  command(file, "cmQuillexInSendTo", "&Place Quillex in Send To...", &TfrmMain::cmQuillexInSendToClick);
  file->addSeparator();
  command(file, "cmExit", "E&xit", &QWidget::close);
  QMenu* settings = bar->addMenu("&Settings");
  command(settings, "cmCharacterEncoding", "&Character Encoding for XML job files...",
          &TfrmMain::cmCharacterEncodingClick);
  command(settings, "cmFont", "&Font for Directory and File Lists...", &TfrmMain::cmFontClick);
  QMenu* view = bar->addMenu("&View");
  command(view, "cmLogWindow", "&Log Window", [this] { m_frmLog->ShowLog(); });
  QMenu* help = bar->addMenu("&Help");
  command(help, "cmQuickHelp", "&Quick Help (HTML)", &TfrmMain::cmQuickHelpClick);
  m_cmRegExHelp = command(help, "cmRegExHelp", "&Regular Expression Quick Help", &TfrmMain::cmRegExHelpClick);
  command(help, "cmOstrelSoftware", "&Ostrel Software homepage...",
          [this] { m_dialogs.OpenUrl(QUrl(kHomePageAddress)); });
  command(help, "cmCheckForUpdates", "&Check for Updates...", [this] { m_dialogs.OpenUrl(UpdateCheckUrl()); });
  help->addSeparator();
  command(help, "cmAbout", "&About", &TfrmMain::cmAboutClick);
}

QWidget* TfrmMain::CreateJobPanel() {
  auto* panel = m_pnlMain = Named(new QWidget, "pnlMain");
  QVBoxLayout* layout = Column(panel, 4);
  QLabel* title = TitleBar("  A multiple file rename utility for Windows Operating Systems", "#000080");
  // The title may be cut off; the controls below decide the width.
  title->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  layout->addWidget(title);

  auto* maskRow = new QHBoxLayout;
  maskRow->addWidget(new QLabel("Match ..."));
  m_cmbFileMask = Named(new QComboBox, "cmbFileMask");
  m_cmbFileMask->setEditable(true);
  m_cmbFileMask->setInsertPolicy(QComboBox::NoInsert);
  maskRow->addWidget(m_cmbFileMask, 1);
  maskRow->addWidget(new QLabel("... and do the following:"));
  layout->addLayout(maskRow);

  auto* jobsRow = new QHBoxLayout;
  m_lbJobs = Named(new QListView, "lbJobs");
  m_lbJobs->setModel(m_jobs);
  m_lbJobs->setSelectionMode(QAbstractItemView::SingleSelection);
  m_lbJobs->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_lbJobs->viewport()->installEventFilter(this);
  jobsRow->addWidget(m_lbJobs, 1);
  auto* jobButtons = new QVBoxLayout;
  auto* btnUp = Named(new QToolButton, "btnUp", "Move job up");
  btnUp->setArrowType(Qt::UpArrow);
  auto* btnDown = Named(new QToolButton, "btnDown", "Move job down");
  btnDown->setArrowType(Qt::DownArrow);
  auto* btnEdit = Named(new QPushButton("Edit"), "btnEdit", "Edit Job");
  auto* btnRemove = Named(new QPushButton("Delete"), "btnRemove", "Delete Job from List");
  for (QWidget* button : {static_cast<QWidget*>(btnUp), static_cast<QWidget*>(btnDown)}) {
    jobButtons->addWidget(button, 0, Qt::AlignHCenter);
  }
  jobButtons->addStretch();
  jobButtons->addWidget(btnEdit);
  jobButtons->addWidget(btnRemove);
  jobsRow->addLayout(jobButtons);
  layout->addLayout(jobsRow, 1);
  connect(btnUp, &QToolButton::clicked, this, &TfrmMain::btnUpClick);
  connect(btnDown, &QToolButton::clicked, this, &TfrmMain::btnDownClick);
  connect(btnEdit, &QPushButton::clicked, this, &TfrmMain::btnEditClick);
  connect(btnRemove, &QPushButton::clicked, this, &TfrmMain::btnRemoveClick);

  struct TAddButton {
    const char* name;
    const char* caption;
    const char* hint;
    TJobKind kind;
  };
  static constexpr TAddButton kAddButtons[] = {
      {"btnLower", "ab", "Convert to Lower Case", TJobKind::jobLower},
      {"btnUpper", "AB", "Convert to Upper Case", TJobKind::jobUpper},
      {"btnNormal", "Ab", "Normalize Case (First Letter Upper)", TJobKind::jobNormal},
      {"btnInsert", "+", "Insert Characters", TJobKind::jobInsert},
      {"btnRemoveChars", "-", "Remove Characters", TJobKind::jobRemove},
      {"btnReplace", "a/b", "Replace Characters", TJobKind::jobReplace},
      {"btnCounter", "#", "Add a numeric Counter ('XXX')", TJobKind::jobCounter},
  };
  auto* addRow = new QHBoxLayout;
  addRow->setSpacing(2);
  for (const TAddButton& add : kAddButtons) {
    auto* button = Named(new QToolButton, add.name, add.hint);
    button->setText(add.caption);
    button->setFixedSize(32, 26);
    addRow->addWidget(button);
    connect(button, &QToolButton::clicked, this, [this, kind = add.kind] { AddJob(kind); });
  }
  addRow->addStretch();
  m_edtCounter =
      Named(new TNumberField(std::numeric_limits<int>::min(), std::numeric_limits<int>::max()), "edtCounter");
  m_edtCounter->setMinimumWidth(64);
  addRow->addWidget(m_edtCounter);
  layout->addLayout(addRow);

  auto* options = new QGridLayout;
  options->setVerticalSpacing(0);
  auto* left = new QVBoxLayout;
  left->setSpacing(0);
  m_chkRecurseDirs = Named(new QCheckBox("Recurse into subdirectories"), "chkRecurseDirs");
  m_chkRenameDirs = Named(new QCheckBox("Rename subdirectories too"), "chkRenameDirs");
  m_chkResetCounter = Named(new QCheckBox("Reset counter in every subdir"), "chkResetCounter");
  m_chkSort = Named(new QCheckBox("Sort list before processing"), "chkSort");
  m_chkSort->setChecked(true);
  for (QCheckBox* box : {m_chkRecurseDirs, m_chkRenameDirs, m_chkResetCounter, m_chkSort}) left->addWidget(box);
  auto* order = new QVBoxLayout;
  order->setContentsMargins(18, 0, 0, 0);
  order->setSpacing(0);
  m_rbNameASC = Named(new QRadioButton("by Name A..Z"), "rbNameASC");
  m_rbNameASC->setChecked(true);
  m_rbNameDESC = Named(new QRadioButton("by Name Z..A"), "rbNameDESC");
  m_rbDateASC = Named(new QRadioButton("by Date (oldest..newest)"), "rbDateASC");
  m_rbDateDESC = Named(new QRadioButton("by Date (newest..oldest)"), "rbDateDESC");
  for (QRadioButton* button : {m_rbNameASC, m_rbNameDESC, m_rbDateASC, m_rbDateDESC}) order->addWidget(button);
  left->addLayout(order);
  left->addStretch();
  options->addLayout(left, 0, 0);

  auto* right = new QVBoxLayout;
  right->setSpacing(0);
  m_chkConfirm = Named(new QCheckBox("Confirm every change"), "chkConfirm");
  m_chkUndo = Named(new QCheckBox("Create Undo file"), "chkUndo");
  m_chkLog = Named(new QCheckBox("Produce Log"), "chkLog");
  m_chkSimulation = Named(new QCheckBox("Simulation mode"), "chkSimulation");
  QFont bold = m_chkSimulation->font();
  bold.setBold(true);
  m_chkSimulation->setFont(bold);
  for (QCheckBox* box : {m_chkConfirm, m_chkUndo, m_chkLog, m_chkSimulation}) {
    box->setPalette(NavyCaption(box->palette()));
    right->addWidget(box);
  }
  right->addSpacing(6);
  m_btnGo = Named(new QPushButton("&Go"), "btnGo");
  QFont large = m_btnGo->font();
  large.setBold(true);
  large.setPointSizeF(large.pointSizeF() * 1.4);
  m_btnGo->setFont(large);
  m_btnGo->setMinimumHeight(40);
  right->addWidget(m_btnGo);
  right->addSpacing(4);
  auto* undoRow = new QHBoxLayout;
  undoRow->setSpacing(4);
  auto* btnUndo = Named(new QPushButton("&Undo"), "btnUndo", "Undo Renaming in Current Dir");
  auto* btnUndoTree = Named(new QPushButton("Undo &Tree"), "btnUndoTree", "Undo in Folder and Subfolders");
  undoRow->addWidget(btnUndo);
  undoRow->addWidget(btnUndoTree);
  right->addLayout(undoRow);
  right->addStretch();
  options->addLayout(right, 0, 1);
  layout->addLayout(options);
  connect(m_btnGo, &QPushButton::clicked, this, &TfrmMain::btnGoClick);
  connect(btnUndo, &QPushButton::clicked, this, &TfrmMain::btnUndoClick);
  connect(btnUndoTree, &QPushButton::clicked, this, &TfrmMain::btnUndoTreeClick);
  connect(m_chkSimulation, &QCheckBox::toggled, this, &TfrmMain::chkSimulationClick);
  connect(m_chkSort, &QCheckBox::toggled, this, &TfrmMain::chkSortClick);

  layout->addWidget(new QLabel("Type a sample filename to test jobs:"));
  auto* exampleRow = new QHBoxLayout;
  m_edtExample = Named(new QLineEdit("filename.ext"), "edtExample");
  auto* btnExample = Named(new QPushButton("..."), "btnExample", "Check the result on the example string");
  btnExample->setFixedWidth(32);
  exampleRow->addWidget(m_edtExample, 1);
  exampleRow->addWidget(btnExample);
  layout->addLayout(exampleRow);
  connect(btnExample, &QPushButton::clicked, this, &TfrmMain::btnExampleClick);
  // Fixed, and wide enough for every caption in the desktop's font.
  panel->setFixedWidth(std::max(kJobPanelWidth, panel->sizeHint().width()));
  return panel;
}

QWidget* TfrmMain::CreateDirectoryPanel() {
  m_pnlDir = Named(new QWidget, "pnlDir");
  m_pnlDir->setMinimumWidth(50);
  QVBoxLayout* layout = Column(m_pnlDir);
  auto* title = TitleBar(" Starting Directory", "#0000ff");
  auto* titleRow = new QHBoxLayout(title);
  titleRow->setContentsMargins(0, 0, 2, 0);
  titleRow->addStretch();
  auto* imgRefresh = Named(new QToolButton(title), "imgRefresh", "Click to Refresh Directories");
  imgRefresh->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
  imgRefresh->setIconSize(QSize(14, 14));
  imgRefresh->setAutoRaise(true);
  imgRefresh->setCursor(Qt::PointingHandCursor);
  titleRow->addWidget(imgRefresh);
  layout->addWidget(title);
  m_stv = new TFolderTree;
  layout->addWidget(m_stv, 1);
  connect(imgRefresh, &QToolButton::clicked, m_stv, &TFolderTree::Refresh);
  return m_pnlDir;
}

QWidget* TfrmMain::CreateExplorerPanel() {
  auto* panel = Named(new QWidget, "Panel2");
  QVBoxLayout* layout = Column(panel);
  layout->addWidget(TitleBar(" File Explorer", "#0000ff"));
  m_slv = new TFileList;
  // A tool bar folds what does not fit into a menu, so the pane can stay narrow.
  auto* toolbar = new QToolBar;
  toolbar->setIconSize(QSize(16, 16));
  auto* btnBack = Named(new QToolButton, "btnBack", "Back to Parent Folder");
  btnBack->setIcon(style()->standardIcon(QStyle::SP_FileDialogToParent));
  toolbar->addWidget(btnBack);
  connect(btnBack, &QToolButton::clicked, m_slv, &TFileList::OpenParent);
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
  for (const TViewButton& view : kViewButtons) {
    auto* button = Named(new QToolButton, view.name, view.caption);
    button->setText(view.caption);
    button->setAutoRaise(true);
    toolbar->addWidget(button);
    connect(button, &QToolButton::clicked, m_slv, [this, style = view.style] { m_slv->SetViewStyle(style); });
  }
  layout->addWidget(toolbar);
  layout->addWidget(m_slv, 1);
  return panel;
}

}  // namespace qx
