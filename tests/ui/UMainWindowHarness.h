// SPDX-License-Identifier: GPL-3.0-or-later
// One main window after another over temporary settings, program, home and data
// folders, so no test ever reads or writes the real home; with the look-ups and
// actions the tests of the desktop program share.
#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QList>
#include <QListView>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

#include "jobs/UTJob.h"
#include "settings/UToxRegVal.h"
#include "support/URecordingMessages.h"
#include "support/UTempDir.h"
#include "ui/UScriptedDialogs.h"
#include "ui/UUiTestSupport.h"
#include "ui/UWindowMessages.h"
#include "ui/main/UfrmMain.h"

namespace qx {

class TFileList;
class TFolderTree;

namespace test {

// Answers the window's boxes from a script, those of its runs too.
using TWindowRecording = TRecordingMessagesOf<TWindowMessages>;

class TMainWindowHarness {
 public:
  TMainWindowHarness();

  const std::string& SettingsDir() const { return m_settings.Path(); }
  const std::string& ProgramDir() const { return m_program.Path(); }
  const TTempDir& Program() const { return m_program; }
  const TTempDir& Data() const { return m_data; }
  std::string IniPath() const { return m_settings / "quillex.ini"; }
  std::string DefaultJobListPath() const { return m_settings / "quillex_job_config.xml"; }
  void WriteIni(const std::string& text) const { m_settings.WriteFile("quillex.ini", text); }
  void WriteDefaultJobList(const std::vector<TJob>& jobs) const;

  // Creates and shows the window and lets its first-show steps run; its boxes are
  // `messages` unless `boxes` is given.
  TfrmMain& Start(std::vector<std::string> arguments = {}, TWindowMessages* boxes = nullptr);
  void Close();
  TfrmMain& Window() const { return *m_window; }

  template <typename T>
  T* Control(const char* name) const {
    return Child<T>(*m_window, name);
  }
  QAction* Command(const char* name) const { return m_window->findChild<QAction*>(name); }
  void Trigger(const char* command) const { Command(command)->trigger(); }
  void Click(const char* button) const { Control<QAbstractButton>(button)->click(); }
  // Lets the window's events run until its run or undo has ended.
  void WaitForRuns() const;
  // Clicks Go, Undo or Undo Tree and waits for the work.
  void ClickAndWait(const char* button) const {
    Click(button);
    WaitForRuns();
  }
  TFolderTree& Tree() const;
  TFileList& List() const;

  QListView* JobList() const { return Control<QListView>("lbJobs"); }
  QStringList Descriptions() const;
  QList<bool> Ticks() const;
  int SelectedRow() const;
  void SelectRow(int row) const;

  // The settings file as the next start reads it.
  ToxRegVal Saved();

  TWindowRecording messages;
  TScriptedDialogs dialogs;

 private:
  TTempDir m_settings;
  TTempDir m_program;
  TTempDir m_home;
  TTempDir m_data;
  TRecordingMessages m_readMessages;
  std::unique_ptr<TfrmMain> m_window;
};

}  // namespace test
}  // namespace qx
