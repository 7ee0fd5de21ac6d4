// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main/UfrmMain.h"

#include <QAction>
#include <QCloseEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMetaObject>
#include <QMimeData>
#include <QSignalBlocker>
#include <QSplitter>
#include <QWindow>

#include "jobio/UJobIO.h"
#include "platform/UAppPaths.h"
#include "platform/UFiles.h"
#include "platform/UMessages.h"
#include "platform/USystemError.h"
#include "rename/URenameRun.h"
#include "rename/USelection.h"
#include "settings/UAppSettings.h"
#include "ui/UHelpLinks.h"
#include "ui/UQtText.h"
#include "ui/browse/UFileList.h"
#include "ui/browse/UFolderTree.h"
#include "ui/dialogs/UDialogRunner.h"
#include "ui/dialogs/UfrmRegExHelp.h"
#include "ui/dialogs/UfrmXMLEncoding.h"
#include "ui/main/UJobListModel.h"
#include "ui/main/UJobPanel.h"
#include "ui/main/UOptionsPanel.h"
#include "ui/run/URunController.h"
#include "ui/run/UfrmLog.h"

using namespace Qt::StringLiterals;

namespace qx {

namespace {

constexpr int kDefaultWidth = 867;
constexpr int kDefaultHeight = 440;

}  // namespace

TfrmMain::TfrmMain(TWindowMessages& messages, TDialogRunner& dialogs, TMainWindowSetup setup, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint),
      m_messages(messages),
      m_dialogs(dialogs),
      m_setup(std::move(setup)),
      m_ini(CreateAppSettings(m_startUpMessages, m_setup.settingsDir)),
      m_jobs(new TJobListModel(this)),
      m_openDir(m_setup.programDir),
      m_saveDir(m_setup.programDir) {
  setObjectName("frmMain");
  setWindowTitle(u"Quillex "_s + QLatin1StringView(kVersionText));
  setWindowIcon(QIcon(u":/icons/quillex.svg"_s));
  CreateMenu();
  auto* central = new QWidget;
  auto* layout = new QHBoxLayout(central);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(CreateJobPanel());
  m_splitter = new QSplitter(Qt::Horizontal);
  m_splitter->setObjectName("Splitter1");
  m_splitter->setChildrenCollapsible(false);
  m_splitter->addWidget(CreateDirectoryPanel());
  m_splitter->addWidget(CreateExplorerPanel());
  m_splitter->setStretchFactor(0, 0);
  m_splitter->setStretchFactor(1, 1);
  layout->addWidget(m_splitter, 1);
  setCentralWidget(central);
  resize(kDefaultWidth, kDefaultHeight);

  connect(m_stv, &TFolderTree::PathSelected, this, &TfrmMain::ShowFolder);
  connect(m_slv, &TFileList::FolderOpened, m_stv, &TFolderTree::SelectPath);
  connect(m_slv, &TFileList::EntryClicked, m_jobPanel, &TJobPanel::ShowSample);
  connect(m_slv, &TFileList::SelectionRead, m_selectionLine,
          [this](const std::string& summary) { m_selectionLine->setText(ToQString(summary)); });
  connect(m_slv, &TFileList::RenameFailed, this,
          [this](const std::string& text, const std::string& reason) { m_messages.ShowFailure(text, reason); });
  // The file list's New name column follows every input of a run's new names.
  const auto previewNames = [this] { m_slv->PreviewNames(m_jobs->Jobs(), RunOptions()); };
  connect(m_jobPanel, &TJobPanel::NamesInputsChanged, this, previewNames);
  connect(m_numbersByValue, &QAction::toggled, this, previewNames);
  connect(m_numberTakenNames, &QAction::toggled, this, previewNames);
  previewNames();
  m_slv->SetFolder(m_stv->SelectedPath());
  connect(m_jobs, &TJobListModel::JobsChanged, this, [this] { m_keepDefaultJobList = false; });
  const TOptionsPanel& options = m_jobPanel->Options();
  connect(&options, &TOptionsPanel::GoClicked, this, &TfrmMain::btnGoClick);
  connect(&options, &TOptionsPanel::UndoClicked, this, &TfrmMain::btnUndoClick);
  connect(&options, &TOptionsPanel::UndoTreeClicked, this, &TfrmMain::btnUndoTreeClick);

  try {
    m_ini.Load();
    RestorePlacement();
    ApplySettings();
  } catch (const std::exception& error) {
    // An unreadable boolean: the window keeps its design-time state, and the next
    // close writes that state over the bad value.
    m_startUpMessages.ShowMessage(error.what());
  }

  // The log window comes right after the main window and lives as long.
  m_frmLog = std::make_unique<TfrmLog>();
  m_runs = new TRunController(
      *this, m_messages, *m_frmLog, [this](bool running) { SetRunning(running); },
      [this](bool hold) { HoldExplorer(hold); });
  // The selection follows its entries' renames, so that Go and Undo act on them again.
  connect(m_runs, &TRunController::EntriesMoved, this, [this](const std::vector<std::string>& paths) {
    if (m_slv->Selection()) m_slv->ShowSelection(TSelection(paths));
  });
  setAcceptDrops(true);
}

// The quick help has no parent, so that it stays beside the main window; it goes with it.
TfrmMain::~TfrmMain() { delete m_frmRegExHelp.data(); }

const TJobList& TfrmMain::Jobs() const { return m_jobs->Jobs(); }

bool TfrmMain::NoJobChecked() const { return !m_jobs->Jobs().AnyEnabled(); }

std::string TfrmMain::StartingDirectory() const { return m_stv->SelectedPath(); }

std::string TfrmMain::DefaultJobListPath() const {
  return WithTrailingSlash(m_setup.settingsDir) + kDefaultJobListFileName;
}

void TfrmMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (m_shown) return;
  m_shown = true;
  // The window manager's frame is known once the window is on screen.
  windowHandle()->installEventFilter(this);
  // After the window is on screen, so that messages appear over it.
  QMetaObject::invokeMethod(this, &TfrmMain::FormShow, Qt::QueuedConnection);
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
  if (watched == windowHandle() && event->type() == QEvent::Expose && windowHandle()->isExposed()) {
    windowHandle()->removeEventFilter(this);
    KeepOnScreen();
  }
  return QMainWindow::eventFilter(watched, event);
}

void TfrmMain::FormShow() {
  if (!m_setup.arguments.empty()) OpenPaths(m_setup.arguments);
  // A session that ended while a box was open has closed the window: nothing more shows.
  if (m_sessionEnding) return;
  // Loaded even after a bad argument: skipping it would let the close write an empty
  // list over the user's last job list.
  const std::string defaultJobList = DefaultJobListPath();
  m_keepDefaultJobList = PathExists(defaultJobList) && !LoadJobsFromFile(defaultJobList);
  // What the settings said while the window was being built; a box then would have
  // held up the start before SIGTERM could be caught.
  for (const std::string& text : m_startUpMessages.Texts()) {
    if (m_sessionEnding) return;
    m_messages.ShowMessage(text);
  }
  if (!m_sessionEnding) ShowLastCloseFailures();
}

void TfrmMain::OpenPaths(const std::vector<std::string>& paths) {
  const auto problem = [](const std::string& path) { return "Error setting path: \"" + path + "\""; };
  if (paths.size() == 1 && !IsNonDirectory(AbsolutePath(paths.front()))) {
    if (!m_stv->SelectPath(AbsolutePath(paths.front()))) m_messages.ShowMessage(problem(paths.front()));
    return;
  }
  std::vector<std::string> found;
  std::string missing;
  for (const std::string& path : paths) {
    if (PathExists(AbsolutePath(path))) {
      found.push_back(path);
    } else {
      missing += (missing.empty() ? "" : "\r\n") + problem(path);
    }
  }
  if (!missing.empty()) m_messages.ShowMessage(missing);
  if (found.empty()) return;
  TSelection selection(found);
  {
    // The tree shows where the entries lie, without the file list reading that folder.
    const QSignalBlocker quiet(m_stv);
    m_stv->SelectPath(selection.CommonFolder());
  }
  m_selectionLine->clear();
  m_selectionBar->show();
  m_slv->ShowSelection(std::move(selection));
}

void TfrmMain::ShowFolder(const std::string& path) {
  m_selectionBar->hide();
  m_slv->SetFolder(path);
}

void TfrmMain::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TfrmMain::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.isEmpty()) return;
  event->acceptProposedAction();
  // After the drop has ended: the file manager waits for it while a box would be open.
  QMetaObject::invokeMethod(
      this,
      [this, urls] {
        if (m_runs->IsRunning()) {
          return m_messages.ShowMessage("Quillex takes no dropped files while a run or an undo goes on.");
        }
        std::vector<std::string> paths;
        for (const QUrl& url : urls) {
          const auto path = LocalFilePath(url);
          if (!path) {
            return m_messages.ShowMessage("Quillex renames files and folders of this computer only, not " +
                                          ToBytes(url.toDisplayString()) + ". The drop is left as it is.");
          }
          paths.push_back(*path);
        }
        OpenPaths(paths);
      },
      Qt::QueuedConnection);
}

void TfrmMain::closeEvent(QCloseEvent* event) {
  if (m_runs->IsRunning()) {
    // The run stops as its Cancel stops it; once it has, the window closes.
    m_closeAfterRun = true;
    m_runs->Cancel();
    return event->ignore();
  }
  if (!SaveOnExit(m_sessionEnding ? TClosing::bySession : TClosing::byUser)) return event->ignore();
  QMainWindow::closeEvent(event);
}

// Go and Undo.

void TfrmMain::btnGoClick() {
  if (const auto problem = RunStartProblem(m_jobs->Jobs())) return m_messages.ShowMessage(*problem);
  // Taken once: the run goes where the check looked.
  const TRunOptions options = RunOptions();
  if (!options.given && SaidNoFolderChosen(options.startDirectory)) return;
  m_jobPanel->UpdateMaskHistory();
  SaveSettings();
  // A settings file that cannot be written has been reported; the run still goes ahead.
  WriteSettings(m_messages);
  m_runs->Go(m_jobs->Jobs(), options);
}

void TfrmMain::btnUndoClick() {
  if (const TSelection* selection = m_slv->Selection()) return m_runs->UndoSelection(*selection);
  const std::string folder = StartingDirectory();
  if (!SaidNoFolderChosen(folder)) m_runs->Undo(folder);
}

void TfrmMain::btnUndoTreeClick() {
  const std::string folder = StartingDirectory();
  if (!SaidNoFolderChosen(folder)) m_runs->UndoTree(folder);
}

bool TfrmMain::SaidNoFolderChosen(const std::string& folder) {
  if (!folder.empty()) return false;
  m_messages.ShowMessage("No folder is chosen. Choose the folder to work in from the folder tree.");
  return true;
}

TRunOptions TfrmMain::RunOptions() const {
  TRunOptions options = m_jobPanel->RunOptions(StartingDirectory());
  options.parallel = m_parallelFolders;
  options.numbersByValue = m_numbersByValue->isChecked();
  if (m_numberTakenNames->isChecked()) options.takenSuffix = m_takenSuffix;
  if (const TSelection* selection = m_slv->Selection()) options.given = selection->Given();
  return options;
}

void TfrmMain::SetRunning(bool running) {
  m_jobPanel->setEnabled(!running);
  m_stv->setEnabled(!running);
  m_selectionBar->setEnabled(!running);
  for (const char* name : {"cmOpenJobList", "cmSaveJobList", "cmExit", "cmCharacterEncoding", "cmRefresh"}) {
    findChild<QAction*>(QLatin1StringView(name))->setEnabled(!running);
  }
  if (!running && m_closeAfterRun) {
    // After the run's last steps, which come after this.
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
  }
}

void TfrmMain::HoldExplorer(bool hold) {
  if (!hold) return RefreshExplorer();
  m_stv->StopWatching();
  m_slv->Release();
}

void TfrmMain::RefreshExplorer() {
  m_stv->Refresh();
  m_slv->Refresh();
}

// Job list files.

bool TfrmMain::LoadJobsFromFile(const std::string& fileName) {
  auto jobs = LoadJobListFromXML(fileName, m_messages);
  if (!jobs) {
    m_messages.ShowMessage(LoadFailureMessage(fileName));
    return false;
  }
  m_jobs->ReplaceAll(std::move(*jobs));
  return true;
}

bool TfrmMain::SaveJobsToFile(const std::string& fileName, const std::string& encoding, TMessageHost& messages) {
  // Reported, unlike a silent failure, so that nobody believes a list saved that is not.
  try {
    SaveJobListToXML(fileName, m_jobs->Jobs().Jobs(), encoding);
    return true;
  } catch (const TJobListError& error) {
    messages.ShowMessage(error.what());
  } catch (const TSystemError& error) {
    messages.ShowFailure("Unable to write to " + fileName, error.Reason());
  }
  return false;
}

void TfrmMain::cmOpenJobListClick() {
  const auto fileName = m_dialogs.ChooseJobListFile(TJobListFileDialog::dlgOpen, this, m_openDir);
  if (!fileName) return;
  LoadJobsFromFile(*fileName);
  m_openDir = DirectoryOf(*fileName);
}

void TfrmMain::cmSaveJobListClick() {
  if (m_jobs->Jobs().IsEmpty()) return m_messages.ShowMessage("No jobs have been defined yet. Nothing to save");
  const auto fileName = m_dialogs.ChooseJobListFile(TJobListFileDialog::dlgSave, this, m_saveDir);
  if (!fileName) return;
  if (PathExists(*fileName) && !m_messages.Confirm("File exists. Overwrite?")) return;
  SaveJobsToFile(*fileName, m_encoding, m_messages);
  m_saveDir = DirectoryOf(*fileName);
}

void TfrmMain::cmCharacterEncodingClick() {
  TfrmPreferences dialog(m_messages, this);
  dialog.SelectEncoding(m_encoding);
  if (!m_dialogs.Exec(dialog)) return;
  m_encoding = dialog.EncodingSetting();
  SaveSettings();
  WriteSettings(m_messages);
}

}  // namespace qx
