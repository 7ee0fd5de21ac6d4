// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/UMainWindowHarness.h"

#include <QtTest/QtTest>

#include "jobio/UJobIO.h"
#include "settings/UAppSettings.h"
#include "ui/browse/UFileList.h"
#include "ui/browse/UFolderTree.h"
#include "ui/run/URunController.h"

namespace qx::test {

namespace {

// Qt writes its own settings (QtProject.conf) when the application ends, after every
// harness and its home folder have gone; this folder outlives the application.
const TTempDir& QtConfigHome() {
  static const TTempDir folder;
  return folder;
}

}  // namespace

TMainWindowHarness::TMainWindowHarness() {
  // The tree opens on the home folder, Go works there, Send To writes below the data
  // folder: never the real ones.
  qputenv("HOME", QByteArray::fromStdString(m_home.Path()));
  qputenv("XDG_DATA_HOME", QByteArray::fromStdString(m_data.Path()));
  qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(QtConfigHome().Path()));
}

void TMainWindowHarness::WriteDefaultJobList(const std::vector<TJob>& jobs) const {
  SaveJobListToXML(DefaultJobListPath(), jobs, "");
}

TfrmMain& TMainWindowHarness::Start(std::vector<std::string> arguments, TWindowMessages* boxes) {
  m_window = std::make_unique<TfrmMain>(boxes != nullptr ? *boxes : messages, dialogs,
                                        TMainWindowSetup{SettingsDir(), ProgramDir(), std::move(arguments)});
  m_window->show();
  if (!QTest::qWaitForWindowExposed(m_window.get())) qFatal("the main window does not show");
  QCoreApplication::processEvents();
  return *m_window;
}

void TMainWindowHarness::Close() {
  m_window->close();
  m_window.reset();
}

void TMainWindowHarness::WaitForRuns() const {
  // However long it takes: a run that hangs is the test's time-out.
  while (m_window->Runs().IsRunning()) QTest::qWait(1);
}

TFolderTree& TMainWindowHarness::Tree() const { return *m_window->findChild<TFolderTree*>(); }
TFileList& TMainWindowHarness::List() const { return *m_window->findChild<TFileList*>(); }

QStringList TMainWindowHarness::Descriptions() const {
  QStringList texts;
  const QAbstractItemModel* model = JobList()->model();
  for (int row = 0; row < model->rowCount(); ++row) texts << model->index(row, 0).data().toString();
  return texts;
}

QList<bool> TMainWindowHarness::Ticks() const {
  QList<bool> ticks;
  const QAbstractItemModel* model = JobList()->model();
  for (int row = 0; row < model->rowCount(); ++row) {
    ticks << (model->index(row, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked);
  }
  return ticks;
}

int TMainWindowHarness::SelectedRow() const {
  const QModelIndexList rows = JobList()->selectionModel()->selectedRows();
  return rows.isEmpty() ? -1 : rows.first().row();
}

void TMainWindowHarness::SelectRow(int row) const { JobList()->setCurrentIndex(JobList()->model()->index(row, 0)); }

ToxRegVal TMainWindowHarness::Saved() {
  ToxRegVal ini = CreateAppSettings(m_readMessages, SettingsDir());
  ini.Load();
  return ini;
}

}  // namespace qx::test
