// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/UAppSettings.h"

#include "platform/UAppPaths.h"

namespace qx {

ToxRegVal CreateAppSettings(TMessageHost& messages) { return CreateAppSettings(messages, SettingsDir()); }

ToxRegVal CreateAppSettings(TMessageHost& messages, const std::string& settingsDir) {
  ToxRegVal ini(messages);
  // The settings folder is not always the program's own, so the path is given whole.
  ini.SetUseStartUpDir(false);
  ini.SetIniFileName(WithTrailingSlash(settingsDir) + kSettingsFileName);
  using namespace setting;
  const auto line = [](const char* key, const char* value) { return std::string(key) + "=" + value; };
  ini.SetBooleans({line(kRecurseDirs, "0"), line(kRenameDirs, "0"), line(kResetCounter, "0"), line(kSort, "1"),
                   line(kConfirm, "0"), line(kUndo, "0"), line(kLog, "0"), line(kSimulation, "0")});
  ini.SetIntegers({line(kCounterStart, "0"), line(kViewStyle, "2"), line(kTreeWidth, "200"), line(kFontSize, "8"),
                   line(kSortOrder, "0")});
  std::vector<std::string> strings = {line(kPath, ""),
                                      line(kOpenDir, ""),
                                      line(kSaveDir, ""),
                                      line(kFontName, "MS Sans Serif"),
                                      line(kExample, "filename.ext"),
                                      line(kEncoding, "ISO-8859-1"),
                                      line(kFileMask, "*.*")};
  for (int n = 0; n < 10; ++n) strings.push_back(kFileMaskHistory + std::to_string(n) + "=");
  ini.SetStrings(strings);
  return ini;
}

}  // namespace qx
