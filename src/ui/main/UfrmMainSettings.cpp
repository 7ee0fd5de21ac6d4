// SPDX-License-Identifier: GPL-3.0-or-later
// TfrmMain and its settings: store to controls at start-up, controls to store before
// every write, the window placement, and the steps of closing.
#include <QApplication>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QSplitter>
#include <QStyle>
#include <QWindow>
#include <algorithm>
#include <iostream>

#include "jobio/UJobIO.h"
#include "platform/UAppPaths.h"
#include "platform/UFiles.h"
#include "platform/UMessages.h"
#include "platform/USystemError.h"
#include "settings/UAppSettings.h"
#include "ui/browse/UFileList.h"
#include "ui/browse/UFolderTree.h"
#include "ui/main/UJobPanel.h"
#include "ui/main/UPanelParts.h"
#include "ui/main/UfrmMain.h"
#include "ui/run/URunController.h"

namespace qx {

namespace {

constexpr const char* kFormName = "frmMain";
constexpr const char* kDefaultEncoding = "ISO-8859-1";
constexpr int kMinDirectoryPaneWidth = 50;

// Beside the default job list: where it goes when it cannot be written at close.
constexpr const char* kUnsavedSuffix = ".unsaved";
// What went wrong when the session closed the window, kept for the next start.
constexpr const char* kLastCloseFileName = "quillex_last_close.txt";
constexpr std::size_t kLastCloseLimit = 64 << 10;

std::string Joined(const std::vector<std::string>& texts) {
  std::string joined;
  for (const std::string& text : texts) joined += (joined.empty() ? "" : "\n") + text;
  return joined;
}

// On stderr for the session's log, and in a file for the next start; when even that
// file cannot be written, stderr is all there is.
void ReportAfterSession(const std::vector<std::string>& texts, const std::string& file) {
  for (const std::string& text : texts) std::cerr << "quillex: " << text << '\n';
  try {
    ReplaceFileAtomically(file, Joined(texts) + "\n");
  } catch (const std::exception& error) {
    std::cerr << "quillex: " << error.what() << '\n';
  }
}

// One axis of a window, frame included: shrunk to the area's length, then moved into it.
std::pair<int, int> FittedAxis(std::int64_t start, std::int64_t length, int areaStart, int areaLength) {
  const std::int64_t fitted = std::min<std::int64_t>(length, areaLength);
  return {ClampToInt(std::clamp<std::int64_t>(start, areaStart, std::int64_t{areaStart} + areaLength - fitted)),
          ClampToInt(fitted)};
}

// The window's normal geometry put onto the available area of the screen under its centre
// (the primary screen when none is there any more, say a monitor since unplugged).
QRect FittedOnScreen(const TWindowPlacement& placement, const QMargins& frame) {
  // In 64 bits: a stored window may lie anywhere in int's range.
  const std::int64_t left = std::int64_t{placement.left} - frame.left();
  const std::int64_t top = std::int64_t{placement.top} - frame.top();
  const std::int64_t width = std::int64_t{placement.width} + frame.left() + frame.right();
  const std::int64_t height = std::int64_t{placement.height} + frame.top() + frame.bottom();
  const QScreen* screen = QGuiApplication::screenAt({ClampToInt(left + width / 2), ClampToInt(top + height / 2)});
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (!screen) return {placement.left, placement.top, placement.width, placement.height};
  const QRect area = screen->availableGeometry();
  const auto [x, fittedWidth] = FittedAxis(left, width, area.left(), area.width());
  const auto [y, fittedHeight] = FittedAxis(top, height, area.top(), area.height());
  return QRect(x, y, fittedWidth, fittedHeight).marginsRemoved(frame);
}

// A first start: `size` with its frame in the middle of the primary screen, shrunk to fit.
QRect CentredOnScreen(const QSize& size, const QMargins& frame) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return QRect(QPoint(), size);
  const QRect area = screen->availableGeometry();
  const QSize framed = size.grownBy(frame).boundedTo(area.size());
  return QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, framed, area).marginsRemoved(frame);
}

}  // namespace

void TfrmMain::ApplySettings() {
  using namespace setting;
  m_jobPanel->ApplySettings(m_ini);
  // A saved folder that is gone is passed over without a word.
  m_stv->SelectPath(m_ini.GetString(kPath));
  const std::string openDir = m_ini.GetString(kOpenDir);
  m_openDir = IsDirectory(openDir) ? openDir : m_setup.programDir;
  const std::string saveDir = m_ini.GetString(kSaveDir);
  m_saveDir = IsDirectory(saveDir) ? saveDir : m_setup.programDir;
  m_encoding = m_ini.GetString(kEncoding);
  // Checked now rather than at the close, where a list that cannot be written is at stake.
  if (const auto problem = EncodingProblem(m_encoding)) {
    m_startUpMessages.ShowMessage(*problem + "\nThe job lists are saved in " + kDefaultEncoding + " instead.");
    m_encoding = kDefaultEncoding;
  }
  SelectViewStyle(ClampToInt(m_ini.GetInteger(kViewStyle)));
  SelectParallelFolders(CheckedParallelFolders(m_ini, m_startUpMessages));
  m_numbersByValue->setChecked(m_ini.GetBoolean(kNumbersByValue));
  // Empty: taken names fail. Any other format is the user's, kept while it is ticked.
  const std::string takenSuffix = m_ini.GetString(kTakenSuffix);
  const auto takenProblem = takenSuffix.empty() ? std::nullopt : TakenSuffixProblem(takenSuffix);
  if (takenProblem) {
    m_startUpMessages.ShowMessage(std::string(kTakenSuffix) + "=" + takenSuffix + " in quillex.ini: " + *takenProblem +
                                  ".\nA new name that is taken fails.");
  }
  if (!takenSuffix.empty() && !takenProblem) m_takenSuffix = takenSuffix;
  m_numberTakenNames->setChecked(!takenSuffix.empty() && !takenProblem);
  ApplyListFont();
  const int treeWidth = std::max(ClampToInt(m_ini.GetInteger(kTreeWidth)), kMinDirectoryPaneWidth);
  // The splitter scales sizes that do not add up to its width, so they must.
  layout()->activate();
  centralWidget()->layout()->activate();
  m_splitter->setSizes({treeWidth, std::max(m_splitter->width() - m_splitter->handleWidth() - treeWidth, 1)});
}

void TfrmMain::SaveSettings() {
  using namespace setting;
  m_jobPanel->SaveSettings(m_ini);
  m_ini.SetString(kPath, m_stv->SelectedPath());
  m_ini.SetString(kOpenDir, m_openDir);
  m_ini.SetString(kSaveDir, m_saveDir);
  m_ini.SetString(kEncoding, m_encoding);
  m_ini.SetInteger(kViewStyle, m_slv->ViewStyle());
  m_ini.SetInteger(kParallelFolders, m_parallelFolders);
  m_ini.SetBoolean(kNumbersByValue, m_numbersByValue->isChecked());
  m_ini.SetString(kTakenSuffix, m_numberTakenNames->isChecked() ? m_takenSuffix : "");
  m_ini.SetInteger(kTreeWidth, m_splitter->sizes().value(0, m_pnlDir->width()));
}

TWindowPlacement TfrmMain::Placement() const {
  const QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
  TWindowState state = TWindowState::wsNormal;
  if (windowState() & Qt::WindowMinimized) state = TWindowState::wsMinimized;
  if (windowState() & Qt::WindowMaximized) state = TWindowState::wsMaximized;
  return {normal.x(), normal.y(), normal.width(), normal.height(), state};
}

void TfrmMain::RestorePlacement() {
  const TWindowPlacement before = Placement();
  TWindowPlacement placement = before;
  m_ini.RestoreWindowPlacement(kFormName, placement);
  // The frame counts too, where the platform can tell it before the window shows:
  // creating the window asks it. Where it cannot (X11), KeepOnScreen fits the window
  // again once it shows.
  create();
  const QMargins frame = windowHandle()->frameMargins();
  // Nothing stored: the design-time size, or what a large font or scale needs, all of it
  // on the screen; left to the window manager it could open partly off a small screen.
  if (placement == before) return setGeometry(CentredOnScreen(size().expandedTo(minimumSizeHint()), frame));
  const QRect fitted = FittedOnScreen(placement, frame);
  // Without a stored position the window manager places the window.
  if (placement.left != before.left || placement.top != before.top) {
    setGeometry(fitted);
  } else {
    resize(fitted.size());
  }
  // A window closed while minimised opens normal, so that it is never started out of sight.
  if (placement.state == TWindowState::wsMaximized) setWindowState(Qt::WindowMaximized);
}

void TfrmMain::KeepOnScreen() {
  if (isMaximized() || isFullScreen()) return;
  const QRect fitted = FittedOnScreen(Placement(), windowHandle()->frameMargins());
  if (fitted != geometry()) setGeometry(fitted);
}

bool TfrmMain::WriteSettings(TMessageHost& messages) {
  try {
    m_ini.Save();
    return true;
  } catch (const std::exception& error) {
    messages.ShowMessage(error.what());
    return false;
  }
}

bool TfrmMain::SaveDefaultJobList(TMessageHost& messages) {
  const std::string path = DefaultJobListPath();
  if (m_keepDefaultJobList || SaveJobsToFile(path, m_encoding, messages)) return true;
  // UTF-8 holds every text, so this copy fails only where nothing can be written.
  TMessageLog unsaved;
  if (SaveJobsToFile(path + kUnsavedSuffix, "", unsaved)) {
    messages.ShowMessage("The job list was written to " + path + kUnsavedSuffix + " instead.");
  }
  return false;
}

bool TfrmMain::SaveOnExit(TClosing closing) {
  TMessageLog sessionLog;
  TMessageHost& messages = closing == TClosing::bySession ? static_cast<TMessageHost&>(sessionLog) : m_messages;
  TMessageLog jobListLog;
  // A new user's first session has no settings folder yet; all that follows goes there.
  try {
    EnsureDirectory(m_setup.settingsDir);
  } catch (const TSystemError& error) {
    jobListLog.ShowMessage(error.what());
  }
  if (!SaveDefaultJobList(jobListLog)) {
    const std::string failure = Joined(jobListLog.Texts());
    if (closing == TClosing::bySession) {
      sessionLog.ShowMessage(failure);
    } else if (!m_messages.Confirm(failure + "\n\nClose Quillex anyway?")) {
      return false;
    }
  }
  SaveSettings();
  if (WriteSettings(messages)) {
    try {
      m_ini.SaveWindowPlacement(kFormName, Placement());
    } catch (const std::exception& error) {
      messages.ShowMessage(error.what());
    }
  }
  if (!sessionLog.Texts().empty())
    ReportAfterSession(sessionLog.Texts(), WithTrailingSlash(m_setup.settingsDir) + kLastCloseFileName);
  return true;
}

void TfrmMain::EndSession() {
  m_sessionEnding = true;
  // Nobody is there to answer: a dialog or question open now is answered as Esc would.
  m_runs->Cancel();
  for (QWidget* modal = QApplication::activeModalWidget(); modal && modal->close();
       modal = QApplication::activeModalWidget()) {
  }
  close();
}

void TfrmMain::ShowLastCloseFailures() {
  const std::string path = WithTrailingSlash(m_setup.settingsDir) + kLastCloseFileName;
  if (!PathExists(path)) return;
  try {
    const std::string failures = ReadWholeFile(path, kLastCloseLimit);
    m_messages.ShowMessage("When Quillex was closed last time, with the session:\n\n" + failures);
  } catch (const std::exception&) {
    // Not ours to show: a folder or a FIFO by that name stays as it is.
    return;
  }
  RemoveFile(path);
}

}  // namespace qx
