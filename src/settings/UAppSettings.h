// SPDX-License-Identifier: GPL-3.0-or-later
// The application's settings store: the keys Quillex declares, with their defaults and
// in their order, over quillex.ini. Creating it reads nothing; the owner calls Load.
#pragma once

#include <string>

#include "platform/UMessages.h"
#include "rename/URunOptions.h"
#include "settings/UToxRegVal.h"

namespace qx {

// The application's keys, each written once here.
namespace setting {
inline constexpr const char* kRecurseDirs = "recurseDirs";
inline constexpr const char* kRenameDirs = "renameDirs";
inline constexpr const char* kResetCounter = "resetCounter";
inline constexpr const char* kSort = "sort";
inline constexpr const char* kConfirm = "confirm";
inline constexpr const char* kUndo = "undo";
inline constexpr const char* kLog = "log";
inline constexpr const char* kSimulation = "simulation";
inline constexpr const char* kNumbersByValue = "numbersByValue";
inline constexpr const char* kTakenSuffix = "takenSuffix";
inline constexpr const char* kCounterStart = "counterStart";
inline constexpr const char* kViewStyle = "viewStyle";
inline constexpr const char* kTreeWidth = "stvWidth";
inline constexpr const char* kFontSize = "fontSize";
inline constexpr const char* kSortOrder = "sortOrder";
inline constexpr const char* kParallelFolders = "parallelFolders";
inline constexpr const char* kPath = "path";
inline constexpr const char* kOpenDir = "openDir";
inline constexpr const char* kSaveDir = "saveDir";
inline constexpr const char* kFontName = "fontName";
inline constexpr const char* kExample = "example";
inline constexpr const char* kEncoding = "encoding";
inline constexpr const char* kFileMask = "filemask";
// The history's keys are this followed by 0 to 9.
inline constexpr const char* kFileMaskHistory = "filemask";
}  // namespace setting

// The folders at once a run takes unless told otherwise: its own choice by the file
// system it renames on.
inline constexpr int kDefaultParallelFolders = kAutomaticFolders;

// The store over SettingsDir() + "quillex.ini".
ToxRegVal CreateAppSettings(TMessageHost& messages);

// The store over `settingsDir` + "quillex.ini" (a trailing '/' is optional).
ToxRegVal CreateAppSettings(TMessageHost& messages, const std::string& settingsDir);

// The folders a run may work on at once, as the loaded store holds them: 0 for the run's
// own choice, or 1 to kMostFoldersAtOnce. Another number shows "Error reading Integer
// value "Integers\parallelFolders". Value = "N", not 0 (automatic) or 1 to 64. Value set
// to 0 (automatic)" on `messages` and is replaced by the default in the store, as Load
// does for a value that is no number.
int CheckedParallelFolders(ToxRegVal& ini, TMessageHost& messages);

}  // namespace qx
