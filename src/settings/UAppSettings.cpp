// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/UAppSettings.h"

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/UAppPaths.h"
// Only for its constants: the bounds of a run's folders at once belong to the run.

namespace qx {

ToxRegVal CreateAppSettings(TMessageHost& messages) { return CreateAppSettings(messages, SettingsDir()); }

ToxRegVal CreateAppSettings(TMessageHost& messages, const std::string& settingsDir) {
  ToxRegVal ini(messages);
  // The settings folder is not always the program's own, so the path is given whole.
  ini.SetUseStartUpDir(false);
  ini.SetIniFileName(WithTrailingSlash(settingsDir) + kSettingsFileName);
  using namespace setting;
  const auto line = [](const char* key, std::string_view value) { return std::string(key) + "=" + std::string(value); };
  ini.SetBooleans({line(kRecurseDirs, "0"), line(kRenameDirs, "0"), line(kResetCounter, "0"), line(kSort, "1"),
                   line(kConfirm, "0"), line(kUndo, "0"), line(kLog, "0"), line(kSimulation, "0"),
                   line(kNumbersByValue, "1")});
  ini.SetIntegers({line(kCounterStart, "0"), line(kViewStyle, "2"), line(kTreeWidth, "200"), line(kFontSize, "8"),
                   line(kSortOrder, "0"), line(kParallelFolders, std::to_string(kDefaultParallelFolders))});
  std::vector<std::string> strings = {line(kPath, ""),
                                      line(kOpenDir, ""),
                                      line(kSaveDir, ""),
                                      line(kFontName, "MS Sans Serif"),
                                      line(kExample, "filename.ext"),
                                      line(kEncoding, "ISO-8859-1"),
                                      line(kFileMask, "*.*")};
  for (int n = 0; n < 10; ++n) strings.push_back(kFileMaskHistory + std::to_string(n) + "=");
  strings.push_back(line(kTakenSuffix, ""));
  ini.SetStrings(strings);
  return ini;
}

int CheckedParallelFolders(ToxRegVal& ini, TMessageHost& messages) {
  using setting::kParallelFolders;
  const std::int64_t stored = ini.GetInteger(kParallelFolders);
  if (stored >= 0 && stored <= kMostFoldersAtOnce) return static_cast<int>(stored);
  // Worded as Load words a value that is no number, with the range that tells why.
  messages.ShowMessage(std::string("Error reading Integer value \"Integers\\") + kParallelFolders + "\". Value = \"" +
                       std::to_string(stored) + "\", not 0 (automatic) or 1 to " + std::to_string(kMostFoldersAtOnce) +
                       ". Value set to 0 (automatic)");
  ini.SetInteger(kParallelFolders, kDefaultParallelFolders);
  return kDefaultParallelFolders;
}

}  // namespace qx
