// TfrmMain's own controls: the menu, the starting-directory pane and the file explorer,
// with their names, captions and hints. The job panel builds itself.
#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "ui/UHelpLinks.h"
#include "ui/browse/UFileList.h"
#include "ui/browse/UFolderTree.h"
#include "ui/dialogs/UDialogRunner.h"
#include "ui/main/UPanelParts.h"
#include "ui/main/UfrmMain.h"
#include "ui/run/UfrmLog.h"

using namespace Qt::StringLiterals;

namespace qx {

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
  command(file, "cmOpenJobList", u"&Open Job List"_s, &TfrmMain::cmOpenJobListClick);
  command(file, "cmSaveJobList", u"&Save Job List"_s, &TfrmMain::cmSaveJobListClick);
  file->addSeparator();
  command(file, "cmQuillexInSendTo", u"&Place Quillex in Send To..."_s, &TfrmMain::cmQuillexInSendToClick);
  file->addSeparator();
  command(file, "cmExit", u"E&xit"_s, &QWidget::close);
  QMenu* settings = bar->addMenu(u"&Settings"_s);
  command(settings, "cmCharacterEncoding", u"&Character Encoding for XML job files..."_s,
          &TfrmMain::cmCharacterEncodingClick);
  command(settings, "cmFont", u"&Font for Directory and File Lists..."_s, &TfrmMain::cmFontClick);
  QMenu* view = bar->addMenu(u"&View"_s);
  command(view, "cmLogWindow", u"&Log Window"_s, [this] { m_frmLog->ShowLog(); });
  QMenu* help = bar->addMenu(u"&Help"_s);
  command(help, "cmQuickHelp", u"&Quick Help (HTML)"_s, &TfrmMain::cmQuickHelpClick);
  command(help, "cmRegExHelp", u"&Regular Expression Quick Help"_s, &TfrmMain::cmRegExHelpClick);
  command(help, "cmOstrelSoftware", u"&Ostrel Software homepage..."_s,
          [this] { m_dialogs.OpenUrl(QUrl(kHomePageAddress)); });
  command(help, "cmCheckForUpdates", u"&Check for Updates..."_s, [this] { m_dialogs.OpenUrl(UpdateCheckUrl()); });
  help->addSeparator();
  command(help, "cmAbout", u"&About"_s, &TfrmMain::cmAboutClick);
}

QWidget* TfrmMain::CreateDirectoryPanel() {
  m_pnlDir = Named(new QWidget, "pnlDir");
  m_pnlDir->setMinimumWidth(50);
  QVBoxLayout* layout = Column(m_pnlDir);
  auto* title = TitleBar(u" Starting Directory"_s, "#0000ff");
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
  layout->addWidget(m_stv, 1);
  connect(imgRefresh, &QToolButton::clicked, m_stv, &TFolderTree::Refresh);
  return m_pnlDir;
}

QWidget* TfrmMain::CreateExplorerPanel() {
  auto* panel = Named(new QWidget, "Panel2");
  QVBoxLayout* layout = Column(panel);
  layout->addWidget(TitleBar(u" File Explorer"_s, "#0000ff"));
  m_slv = new TFileList;
  // A tool bar folds what does not fit into a menu, so the pane can stay narrow.
  auto* toolbar = new QToolBar;
  toolbar->setIconSize(QSize(16, 16));
  auto* btnBack = Named(new QToolButton, "btnBack", u"Back to Parent Folder"_s);
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
    auto* button = Named(new QToolButton, view.name, QString::fromUtf8(view.caption));
    button->setText(QString::fromUtf8(view.caption));
    button->setAutoRaise(true);
    toolbar->addWidget(button);
    connect(button, &QToolButton::clicked, m_slv, [this, style = view.style] { m_slv->SetViewStyle(style); });
  }
  layout->addWidget(toolbar);
  layout->addWidget(m_slv, 1);
  return panel;
}

}  // namespace qx
