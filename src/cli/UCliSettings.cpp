// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/UCliSettings.h"

#include <algorithm>
#include <ostream>

#include "cli/UTerminalText.h"
#include "platform/UAppPaths.h"
#include "settings/UAppSettings.h"

namespace qx::cli {

namespace {

// Settings messages are warnings here: the command still runs, with defaults.
class TWarnings : public TMessageHost {
 public:
  explicit TWarnings(std::ostream& err) : m_err(err) {}
  void ShowMessage(const std::string& text) override {
    m_err << "quillex-cli: quillex.ini: " << ShownOn(m_err, text) << '\n';
  }
  bool Confirm(const std::string&) override { return false; }

 private:
  std::ostream& m_err;
};

std::int32_t ToInt32(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

}  // namespace

TCliDefaults LoadCliDefaults(const std::string& configDir, std::ostream& err) {
  const std::string dir = configDir.empty() ? SettingsDir() : WithTrailingSlash(configDir);
  TWarnings warnings(err);
  ToxRegVal ini = CreateAppSettings(warnings, dir);
  try {
    ini.Load();
  } catch (const std::exception& error) {
    warnings.ShowMessage(error.what());
  }

  TCliDefaults defaults;
  TRunOptions& run = defaults.run;
  using namespace setting;
  run.fileMask = ini.GetString(kFileMask);
  run.recurseDirs = ini.GetBoolean(kRecurseDirs);
  run.renameDirs = ini.GetBoolean(kRenameDirs);
  run.resetCounter = ini.GetBoolean(kResetCounter);
  run.sort = ini.GetBoolean(kSort);
  run.confirm = ini.GetBoolean(kConfirm);
  run.undo = ini.GetBoolean(kUndo);
  run.log = ini.GetBoolean(kLog);
  run.simulate = ini.GetBoolean(kSimulation);
  run.numbersByValue = ini.GetBoolean(kNumbersByValue);
  run.takenSuffix = ini.GetString(kTakenSuffix);
  if (const auto problem = run.takenSuffix.empty() ? std::nullopt : TakenSuffixProblem(run.takenSuffix)) {
    warnings.ShowMessage(std::string(kTakenSuffix) + "=" + run.takenSuffix + " in quillex.ini: " + *problem +
                         "; a name that is taken fails");
    run.takenSuffix.clear();
  }
  try {
    run.counterStart = ToInt32(ini.GetInteger(kCounterStart));
    // Like the main window: a number outside 0..3 leaves the first order chosen.
    run.sortOrder = SortOrderFromNumber(ini.GetInteger(kSortOrder)).value_or(TSortOrder::NameAsc);
    run.parallel = CheckedParallelFolders(ini, warnings);
  } catch (const std::exception& error) {
    warnings.ShowMessage(error.what());
  }
  defaults.defaultJobList = dir + kDefaultJobListFileName;
  defaults.settingsFile = ini.FilePath();
  return defaults;
}

}  // namespace qx::cli
