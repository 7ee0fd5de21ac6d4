// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: composes the job panel, the folder tree and the file explorer, owns the
// job list and its files, the menu, the settings and default job list at start and close,
// and wires them together. The job panel holds the job commands and the options of a run;
// the runs belong to TRunController.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

#include "jobs/UTJob.h"
#include "platform/UMessages.h"
#include "rename/URunOptions.h"
#include "settings/UAppSettings.h"
#include "settings/UToxRegVal.h"
#include "ui/UWindowMessages.h"

class QActionGroup;
class QLabel;
class QMenu;
class QSplitter;
class QWidget;

namespace qx {

class TDialogRunner;
class TFileList;
class TFolderTree;
class TJobListModel;
class TJobPanel;

struct TMainWindowSetup {
  // quillex.ini and the default job list live here.
  std::string settingsDir;
  // The open and save dialogs fall back to this folder.
  std::string programDir;
  // The command line without the program name, byte for byte.
  std::vector<std::string> arguments;
};

class TfrmLog;
class TfrmRegExHelp;
class TRunController;

class TfrmMain : public QMainWindow {
  Q_OBJECT

 public:
  // Loads the settings, restores the placement and applies the settings. `messages`
  // and `dialogs` must outlive the window.
  TfrmMain(TWindowMessages& messages, TDialogRunner& dialogs, TMainWindowSetup setup, QWidget* parent = nullptr);
  ~TfrmMain() override;

  const TJobList& Jobs() const;
  bool NoJobChecked() const;
  TJobPanel& JobPanel() const { return *m_jobPanel; }
  // The folder selected in the tree.
  std::string StartingDirectory() const;

  // Store to controls, once at start-up; controls to store, before every write.
  void ApplySettings();
  void SaveSettings();

  // Replaces the job list with the file's jobs; on failure shows why and keeps the list.
  bool LoadJobsFromFile(const std::string& fileName);
  // Writes every job, ticked or not, in `encoding`; a failure goes to `messages` with
  // its reason. True when written.
  bool SaveJobsToFile(const std::string& fileName, const std::string& encoding, TMessageHost& messages);

  // Who closes the window: the user, who may be asked, or the session (log-off, SIGTERM),
  // which no message box may hold up.
  enum class TClosing { byUser, bySession };
  // The closing steps: the default job list first, then the settings and the window's
  // place; every step runs whatever the one before it did. A job list that cannot be
  // written is written as UTF-8 beside the default file (".unsaved") when possible.
  // By the user: the job list's failure comes with the question whether to close
  // anyway (false for No, and the later steps do not run); later failures are shown.
  // By the session: nothing is shown; what failed goes to stderr and is shown at the
  // next start.
  bool SaveOnExit(TClosing closing);
  // Log-off and SIGTERM: cancels a run, answers open dialogs and questions as Esc would,
  // and closes the window with the session's closing steps (after the run has stopped).
  void EndSession();

  // The options of a run as the controls and the Settings menu show them, over the
  // starting directory, or the entries of the selection the file list shows.
  TRunOptions RunOptions() const;
  TfrmLog& LogWindow() { return *m_frmLog; }
  TRunController& Runs() { return *m_runs; }

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  // Files and folders dropped from a file manager, as if Quillex were started with them.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // Layout (UfrmMainLayout.cpp).
  void CreateMenu();
  // The job panel, in a place that scrolls where the window is smaller than the panel.
  QWidget* CreateJobPanel();
  QWidget* CreateDirectoryPanel();
  QWidget* CreateExplorerPanel();
  QWidget* CreateSelectionBar();
  // Shows the file list in `style` and checks its command.
  void SelectViewStyle(int style);
  // The Settings menu's choice of how many folders a run works on at once.
  void CreateParallelFoldersMenu(QMenu& settings);
  // Takes `folders` (1 to kMostFoldersAtOnce) for the runs and checks its choice; a
  // number the menu does not offer gets a choice of its own, so it shows and stays.
  void SelectParallelFolders(int folders);

  // Start-up, once the window shows: the command line's paths, then the default job list.
  void FormShow();
  // One folder opens in the folder tree; several paths, or a file, are shown in the file
  // list as a selection, the tree on the folder that holds them. A path that names
  // nothing is reported and left out.
  void OpenPaths(const std::vector<std::string>& paths);
  // The file list back on the tree's folder, the selection let go.
  void ShowFolder(const std::string& path);
  std::string DefaultJobListPath() const;
  void RestorePlacement();
  // Moves and shrinks the window, frame included, onto the screen, where a frame the
  // window manager added after RestorePlacement pushed it partly off.
  void KeepOnScreen();
  TWindowPlacement Placement() const;
  // A write of the settings file; false after its error has gone to `messages`.
  bool WriteSettings(TMessageHost& messages);
  // The default job list written at close, or what went wrong and where the list went instead.
  bool SaveDefaultJobList(TMessageHost& messages);
  // What went wrong at the last close by the session, shown once.
  void ShowLastCloseFailures();

  // Commands.
  void btnGoClick();
  void btnUndoClick();
  void btnUndoTreeClick();
  // Says so when `folder` is empty: no folder is chosen (or it has gone since).
  bool SaidNoFolderChosen(const std::string& folder);
  void cmOpenJobListClick();
  void cmSaveJobListClick();
  void cmCharacterEncodingClick();
  void cmQuillexInSendToClick();
  void cmFontClick();
  void cmQuickHelpClick();
  void cmRegExHelpClick();
  void cmAboutClick();
  // The stored font name and size on the folder tree and the file list, nothing else.
  void ApplyListFont();
  // While a run or an undo lasts, the commands that could disturb it are off.
  void SetRunning(bool running);
  // The folder tree and the file list stop following their folders while a run changes
  // them, still showing them, and read them afresh afterwards.
  void HoldExplorer(bool hold);
  // F5: the folder tree and the file list read afresh.
  void RefreshExplorer();

  TWindowMessages& m_messages;
  // The settings' messages while the window is built, shown once it is on screen.
  TMessageLog m_startUpMessages;
  TDialogRunner& m_dialogs;
  TMainWindowSetup m_setup;
  ToxRegVal m_ini;
  TJobListModel* m_jobs;
  std::string m_openDir;
  std::string m_saveDir;
  std::string m_encoding = "ISO-8859-1";
  bool m_shown = false;
  std::unique_ptr<TfrmLog> m_frmLog;
  // At most one; cleared when the user closes it.
  QPointer<TfrmRegExHelp> m_frmRegExHelp;
  TRunController* m_runs = nullptr;
  // The default job list has not been read yet, or could not be read at start-up: it is
  // not overwritten at close unless the job list has been changed since.
  bool m_keepDefaultJobList = true;
  bool m_sessionEnding = false;
  // Closing waits for the cancelled run to stop.
  bool m_closeAfterRun = false;

  TJobPanel* m_jobPanel = nullptr;
  QSplitter* m_splitter = nullptr;
  QActionGroup* m_viewStyles = nullptr;
  QActionGroup* m_parallelChoices = nullptr;
  QAction* m_numbersByValue = nullptr;    // Settings > Numbers in names by value
  QAction* m_numberTakenNames = nullptr;  // Settings > Number new names that are taken
  std::string m_takenSuffix = " (%d)";    // the number's format, while that is ticked
  int m_parallelFolders = kDefaultParallelFolders;
  QWidget* m_pnlDir = nullptr;
  TFolderTree* m_stv = nullptr;
  TFileList* m_slv = nullptr;
  // Above the file list while it shows a selection: what it shows, and the way back.
  QWidget* m_selectionBar = nullptr;
  QLabel* m_selectionLine = nullptr;
};

}  // namespace qx
