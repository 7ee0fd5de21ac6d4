// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target over the settings readers: the ini reader TProfileFile and the typed
// store ToxRegVal with the application's keys. The input is a quillex.ini, optionally
// followed by "\0 section \0 key \0 value" naming one write; both readers read from a
// path only, so each input is written to quillex.ini in a folder of this process.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/UAppPaths.h"
#include "platform/UFiles.h"
#include "platform/UMessages.h"
#include "platform/UProfileFile.h"
#include "platform/UUtf8.h"
#include "settings/UAppSettings.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// The folder of this process's quillex.ini: in memory, so a long run does not wear a
// disk, and removed when the run ends.
std::string gWorkDir;

struct TWrite {
  std::string section = "Strings";
  std::string key = "path";
  std::string value = "/home/user/renamed\r\n[Booleans]\r\nundo=1";
};

// The input's write, taken from its last three NUL-separated fields; an input with fewer
// NULs is all file (a real quillex.ini has none) and gets a write with a line break.
std::pair<std::string_view, TWrite> Split(std::string_view input) {
  std::vector<std::size_t> nuls;
  for (std::size_t at = input.size(); nuls.size() < 3 && at-- > 0;) {
    if (input[at] == '\0') nuls.push_back(at);
  }
  if (nuls.size() < 3) return {input, TWrite{}};
  const auto field = [&](std::size_t from, std::size_t to) {
    return std::string(input.substr(from + 1, to - from - 1));
  };
  return {input.substr(0, nuls[2]), {field(nuls[2], nuls[1]), field(nuls[1], nuls[0]), field(nuls[0], input.size())}};
}

using TProbe = std::pair<std::string, std::string>;

// The keys Quillex reads, plus the window placement and a stranger in the written section.
std::vector<TProbe> Probes(const qx::ToxRegVal& store, const TWrite& write) {
  std::vector<TProbe> probes;
  const auto add = [&](const char* section, const std::vector<std::string>& lines) {
    for (const std::string& line : lines) probes.emplace_back(section, line.substr(0, line.find('=')));
  };
  add("Booleans", store.Booleans());
  add("Integers", store.Integers());
  add("Strings", store.Strings());
  for (const char* key : {"Left", "Top", "Width", "Height", "WinState"}) probes.emplace_back("frmMain", key);
  probes.emplace_back(write.section, "other");
  return probes;
}

std::vector<std::optional<std::string>> ReadAll(const qx::TProfileFile& file, const std::vector<TProbe>& probes) {
  std::vector<std::optional<std::string>> values;
  for (const auto& [section, key] : probes) values.push_back(file.Read(section, key));
  return values;
}

// Names are compared without the blanks around them, as the file compares them.
bool SameName(std::string_view a, std::string_view b) {
  const auto trimmed = [](std::string_view s) {
    s.remove_prefix(std::min(s.find_first_not_of(" \t"), s.size()));
    return s.substr(0, s.find_last_not_of(" \t") + 1);
  };
  return qx::ProfileNamesEqual(trimmed(a), trimmed(b));
}

// What Read gives back for a written value: its first line, cut to the longest value.
std::string AsRead(std::string_view value) {
  value = value.substr(0, value.find_first_of("\r\n"));
  return std::string(value.substr(0, qx::utf8::ByteOffsetOfChar(value, qx::kMaxProfileValueChars)));
}

// Write sets its key to what Read then gives back and leaves every other key as it
// read; the file it flushes reads as the one in memory.
void CheckProfileWrite(const std::string& path, const std::vector<TProbe>& probes, const TWrite& write) {
  qx::TProfileFile file(path);
  const std::vector<std::optional<std::string>> before = ReadAll(file, probes);
  try {
    file.Write(write.section, write.key, write.value);
  } catch (const std::invalid_argument&) {
    Check(!file.IsModified() && ReadAll(file, probes) == before);  // a name the format cannot hold
    return;
  }
  Check(file.Read(write.section, write.key) == AsRead(write.value));
  const std::vector<std::optional<std::string>> after = ReadAll(file, probes);
  for (std::size_t i = 0; i < probes.size(); ++i) {
    Check(after[i] == before[i] || (SameName(probes[i].first, write.section) && SameName(probes[i].second, write.key)));
  }
  file.Flush();
  const qx::TProfileFile reread(path);
  Check(ReadAll(reread, probes) == after && reread.Read(write.section, write.key) == AsRead(write.value));
}

struct TLoaded {
  std::vector<std::string> booleans, integers, strings;
  qx::TWindowPlacement placement;
  bool operator==(const TLoaded&) const = default;
};

TLoaded Load(qx::ToxRegVal& store) {
  store.Load();
  TLoaded loaded{store.Booleans(), store.Integers(), store.Strings(), {}};
  store.RestoreWindowPlacement("frmMain", loaded.placement);
  return loaded;
}

// What the store loaded, it saves, and loading that again gives the same settings but
// for a string's text after a line break, which the file cannot hold.
void CheckStoreRoundTrip(qx::ToxRegVal& store, TLoaded loaded) {
  store.Save();
  store.SaveWindowPlacement("frmMain", loaded.placement);
  for (std::string& line : loaded.strings) line = line.substr(0, line.find_first_of("\r\n"));
  Check(Load(store) == loaded);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  gWorkDir = "/dev/shm/quillex-settings-fuzz-" + std::to_string(getpid()) + "/";
  std::filesystem::create_directories(gWorkDir);
  std::atexit([] { std::filesystem::remove_all(gWorkDir); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const auto [content, write] = Split(std::string_view(reinterpret_cast<const char*>(data), size));
  const std::string path = gWorkDir + qx::kSettingsFileName;
  qx::TMessageLog messages;  // unreadable numbers and booleans are told, not thrown
  qx::ToxRegVal store = qx::CreateAppSettings(messages, gWorkDir);

  qx::ReplaceFileAtomically(path, content);
  TLoaded loaded;
  try {
    loaded = Load(store);
  } catch (const qx::TSettingsError&) {
    return 0;  // a boolean that is neither a number nor true/false may still stop the load
  }
  CheckStoreRoundTrip(store, loaded);

  qx::ReplaceFileAtomically(path, content);
  CheckProfileWrite(path, Probes(store, write), write);
  return 0;
}
