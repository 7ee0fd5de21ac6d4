// SPDX-License-Identifier: GPL-3.0-or-later
// TfrmMain's commands that reach outside the renaming: Send To, the list font, the help
// file, the maker's pages, the regular-expression quick help and the About window.
#include <QAction>
#include <QApplication>
#include <QFontDialog>
#include <QUrl>
#include <QWindow>
#include <algorithm>
#include <cstdint>

#include "platform/UAppPaths.h"
#include "platform/UMessages.h"
#include "platform/UShellLink.h"
#include "settings/UAppSettings.h"
#include "ui/UHelpLinks.h"
#include "ui/UQtText.h"
#include "ui/browse/UFileList.h"
#include "ui/browse/UFolderTree.h"
#include "ui/dialogs/UDialogRunner.h"
#include "ui/dialogs/UfrmAbout.h"
#include "ui/dialogs/UfrmRegExHelp.h"
#include "ui/main/UfrmMain.h"

namespace qx {

namespace {

// The built-in font of the lists: a Windows font Linux does not have, so while it is
// stored the lists keep the desktop's font.
constexpr const char* kBuiltInFontName = "MS Sans Serif";
constexpr int kBuiltInFontSize = 8;

}  // namespace

void TfrmMain::cmQuillexInSendToClick() {
  const std::string folder = SendToFolder();
  if (CreateShortcut(ProgramFile(), folder + kShortcutFileName, kShortcutDescription) != 0) {
    return m_messages.ShowMessage("Cannot create shortcut to Quillex\r\nfilename = " + folder + kShortcutFileName);
  }
  m_messages.ShowMessage("A shortcut to Quillex has been successfully created in\r\n" + folder);
}

void TfrmMain::cmFontClick() {
  QFontDialog dialog(m_stv->font(), this);
  dialog.setObjectName("dlgFont");
  if (!m_dialogs.Exec(dialog)) return;
  const QFont chosen = dialog.currentFont();
  m_ini.SetString(setting::kFontName, ToBytes(chosen.family()));
  if (chosen.pointSize() > 0) m_ini.SetInteger(setting::kFontSize, chosen.pointSize());
  ApplyListFont();
  // Only the font is new; the other options reach the file at the next close or run.
  WriteSettings(m_messages);
}

void TfrmMain::ApplyListFont() {
  const std::string name = m_ini.GetString(setting::kFontName);
  const std::int64_t size = m_ini.GetInteger(setting::kFontSize);
  if (name == kBuiltInFontName && size == kBuiltInFontSize) return;
  // A fresh font: bold, italic and colour of the dialog's choice stay behind.
  const QFont font(ToQString(name), static_cast<int>(std::clamp<std::int64_t>(size, 1, 512)));
  m_stv->setFont(font);
  m_slv->setFont(font);
}

void TfrmMain::cmQuickHelpClick() {
  m_dialogs.OpenUrl(QUrl::fromLocalFile(ToQString(QuickHelpFile(m_setup.programDir, InstalledDataDir()))));
}

void TfrmMain::cmRegExHelpClick() {
  if (!m_frmRegExHelp) {
    m_frmRegExHelp = new TfrmRegExHelp([this](const QUrl& url) { m_dialogs.OpenUrl(url); });
  }
  // Asked for from the replace dialog, the window must take input while that dialog
  // waits: a window that belongs to the modal one is not blocked by it.
  if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != m_frmRegExHelp) {
    m_frmRegExHelp->winId();
    m_frmRegExHelp->windowHandle()->setTransientParent(modal->windowHandle());
  }
  m_frmRegExHelp->setWindowState(m_frmRegExHelp->windowState() & ~Qt::WindowMinimized);
  m_frmRegExHelp->show();
  m_frmRegExHelp->raise();
  m_frmRegExHelp->activateWindow();
}

void TfrmMain::cmAboutClick() {
  TfrmAbout about(this);
  m_dialogs.Exec(about);
}

}  // namespace qx
