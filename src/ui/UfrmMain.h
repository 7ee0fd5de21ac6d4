// The main window: the job list and its commands, the options of a run, the sample test,
// the folder tree and file explorer, settings and default job list at start and close,
// and the help and desktop commands of the menu. The runs belong to TRunController.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "jobs/UTJob.h"
#include "platform/UMessages.h"
#include "rename/URunOptions.h"
#include "settings/UToxRegVal.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QListView;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QSplitter;
class QWidget;

namespace qx {

class TDialogRunner;
class TFileList;
class TFolderTree;
class TJobListModel;
class TMessageHost;

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
  TfrmMain(TMessageHost& messages, TDialogRunner& dialogs, TMainWindowSetup setup, QWidget* parent = nullptr);
  ~TfrmMain() override;

  const TJobList& Jobs() const;
  // Opens the dialog of the job's kind; true, and the job changed, only after OK.
  bool RunJobDialog(TJob& job);
  bool NoJobChecked() const;
  // Puts the current mask at the top of the history.
  void UpdateMaskHistory();
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

  // The options of a run as the controls show them, over the starting directory.
  TRunOptions RunOptions() const;
  TfrmLog& LogWindow() { return *m_frmLog; }
  TRunController& Runs() { return *m_runs; }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Layout (UfrmMainLayout.cpp).
  void CreateMenu();
  QWidget* CreateJobPanel();
  QWidget* CreateDirectoryPanel();
  QWidget* CreateExplorerPanel();

  // Start-up, once the window shows: the command-line folder, then the default job list.
  void FormShow();
  std::string DefaultJobListPath() const;
  // The order buttons, each at its order's number; the first checked one's order.
  std::array<QRadioButton*, 4> OrderButtons() const;
  std::optional<TSortOrder> CheckedOrder() const;
  // The option boxes by their boolean keys, in the store's order.
  std::array<std::pair<const char*, QCheckBox*>, 8> BooleanControls() const;
  void RestorePlacement();
  TWindowPlacement Placement() const;
  // A write of the settings file; false after its error has gone to `messages`.
  bool WriteSettings(TMessageHost& messages);
  // The default job list written at close, or what went wrong and where the list went instead.
  bool SaveDefaultJobList(TMessageHost& messages);
  // What went wrong at the last close by the session, shown once.
  void ShowLastCloseFailures();

  // Commands.
  void AddJob(TJobKind kind);
  int SelectedJob() const;
  void SelectJob(int row);
  void btnEditClick();
  void btnRemoveClick();
  void btnUpClick();
  void btnDownClick();
  void btnGoClick();
  void btnUndoClick();
  void btnUndoTreeClick();
  // Says so when `folder` is empty: no folder is chosen (or it has gone since).
  bool SaidNoFolderChosen(const std::string& folder);
  void btnExampleClick();
  void slvEntryClick(const std::string& name);
  void chkSimulationClick();
  void chkSortClick();
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
  void RefreshExplorer();

  TMessageHost& m_messages;
  // The settings' messages while the window is built, shown once it is on screen.
  TMessageLog m_startUpMessages;
  TDialogRunner& m_dialogs;
  TMainWindowSetup m_setup;
  ToxRegVal m_ini;
  TJobListModel* m_jobs;
  std::int32_t m_counterValue = 0;
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

  QAction* m_cmRegExHelp = nullptr;
  QWidget* m_pnlMain = nullptr;
  QComboBox* m_cmbFileMask = nullptr;
  QListView* m_lbJobs = nullptr;
  QSpinBox* m_edtCounter = nullptr;
  QCheckBox* m_chkRecurseDirs = nullptr;
  QCheckBox* m_chkRenameDirs = nullptr;
  QCheckBox* m_chkResetCounter = nullptr;
  QCheckBox* m_chkSort = nullptr;
  QCheckBox* m_chkConfirm = nullptr;
  QCheckBox* m_chkUndo = nullptr;
  QCheckBox* m_chkLog = nullptr;
  QCheckBox* m_chkSimulation = nullptr;
  QRadioButton* m_rbNameASC = nullptr;
  QRadioButton* m_rbNameDESC = nullptr;
  QRadioButton* m_rbDateASC = nullptr;
  QRadioButton* m_rbDateDESC = nullptr;
  QPushButton* m_btnGo = nullptr;
  QLineEdit* m_edtExample = nullptr;
  QSplitter* m_splitter = nullptr;
  QWidget* m_pnlDir = nullptr;
  TFolderTree* m_stv = nullptr;
  TFileList* m_slv = nullptr;
};

}  // namespace qx
