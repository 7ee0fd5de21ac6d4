// SPDX-License-Identifier: GPL-3.0-or-later
// ToxRegVal: declared, typed settings (booleans, floats, integers, strings) with their
// defaults, read from and written to an ini file, plus a window's placement. A key that
// is not declared in one of the four lists cannot be read or written. No Qt, no windows:
// placement travels as a plain value that the desktop program converts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/UMessages.h"
#include "platform/UProfileFile.h"

namespace qx {

// Misuse and unconvertible values; what() is the exact message for the user.
class TSettingsError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class TRegistryRoot { rgCurrentUser, rgLocalMachine };

enum class TWindowState { wsNormal = 0, wsMinimized = 1, wsMaximized = 2 };

// A window's normal (restored) geometry and its state.
struct TWindowPlacement {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  TWindowState state = TWindowState::wsNormal;
  bool operator==(const TWindowPlacement&) const = default;
};

class ToxRegVal {
 public:
  // Unreadable numbers in the file are reported through `messages` (it must outlive the store).
  explicit ToxRegVal(TMessageHost& messages) : m_messages(&messages) {}

  // Properties. The lists are lines "name=value"; the first "=" ends the name, a line
  // without one is a name with an empty value. A line's position is its key's index.
  const std::string& IniFileName() const { return m_iniFileName; }
  void SetIniFileName(std::string name) { m_iniFileName = std::move(name); }
  // When not empty, every section is named IniSection + "\" + section.
  const std::string& IniSection() const { return m_iniSection; }
  void SetIniSection(std::string section) { m_iniSection = std::move(section); }
  // True: the file is ProgramDir() + IniFileName; false: IniFileName as it stands.
  bool UseStartUpDir() const { return m_useStartUpDir; }
  void SetUseStartUpDir(bool use) { m_useStartUpDir = use; }
  // Registry storage is not provided: when true, nothing is read or written at all.
  bool UseRegistry() const { return m_useRegistry; }
  void SetUseRegistry(bool use) { m_useRegistry = use; }
  TRegistryRoot RegistryRoot() const { return m_registryRoot; }
  void SetRegistryRoot(TRegistryRoot root) { m_registryRoot = root; }
  std::vector<std::string> Booleans() const;
  void SetBooleans(const std::vector<std::string>& lines);
  std::vector<std::string> Floats() const;
  void SetFloats(const std::vector<std::string>& lines);
  std::vector<std::string> Integers() const;
  void SetIntegers(const std::vector<std::string>& lines);
  std::vector<std::string> Strings() const;
  void SetStrings(const std::vector<std::string>& lines);

  // The path of the ini file.
  std::string FilePath() const;

  // Reads every listed key from the file; a key absent from the file keeps its value.
  // Only reads: it never creates or changes the file or its folder. A file that exists
  // but cannot be read shows "<why>; the default settings are used" and changes nothing.
  // An unreadable value costs only its own key, which keeps its default: a float or an
  // integer shows "Error reading Integer value "SECTION\KEY". Value = "TEXT". Value set
  // to DEFAULT" (Float likewise), a boolean that is neither a number nor true/false
  // "'TEXT' is not a valid boolean value". Throws TSettingsError "Error in conversion of
  // integer[INDEX], Value = "TEXT"" (float likewise) for a listed default that is no number.
  void Load();

  // Writes every listed key, sections Booleans, Floats (only when listed), Integers and
  // Strings, keeping every other line of the file. All of it is one atomic replacement of
  // the file: on any error nothing is written. Throws TProfileWriteError ("Unable to write
  // to " + path), the by-index conversion errors of Load, and std::invalid_argument for a
  // listed name that an ini file cannot hold (empty, with "=", starting with ";" or "[").
  void Save();

  // By name, letter case ignored. Unknown names throw TSettingsError "Boolean Field "NAME"
  // not found" (Integer, String likewise) and change nothing. GetBoolean is true unless the
  // text is "0". GetInteger throws "Error in conversion of integer "NAME", Value = "TEXT""
  // for a text that is no number. Setters change memory only; Save writes.
  bool GetBoolean(std::string_view name) const;
  std::int64_t GetInteger(std::string_view name) const;
  std::string GetString(std::string_view name) const;
  void SetBoolean(std::string_view name, bool value);
  void SetInteger(std::string_view name, std::int64_t value);
  void SetString(std::string_view name, std::string_view value);

  // Writes Left, Top, Width, Height and WinState (0 normal, 1 minimised, 2 maximised) to
  // the section `formName` at once. Throws TProfileWriteError; nothing is written then.
  void SaveWindowPlacement(const std::string& formName, const TWindowPlacement& placement);

  // Reads the placement back into `placement`: only the values present in the file change
  // (width and height only when `resize`); a stored state of 0, 1 or 2 sets the state. An
  // unreadable or out-of-range value counts as absent. The window takes the geometry first
  // and then a minimised or maximised state.
  void RestoreWindowPlacement(const std::string& formName, TWindowPlacement& placement, bool resize = true);

 private:
  struct TEntry {
    std::string name;
    std::string value;
  };
  using TEntries = std::vector<TEntry>;

  static std::vector<std::string> LinesOf(const TEntries& entries);
  static TEntries EntriesOf(const std::vector<std::string>& lines);
  // The index of `name`; throws "<type> Field "NAME" not found".
  static std::size_t IndexOf(const TEntries& entries, std::string_view name, std::string_view type);

  std::string SectionName(std::string_view section) const;
  // nullopt when the storage cannot be opened (registry storage).
  std::optional<TProfileFile> Open() const;

  bool ReadBoolean(const TProfileFile& file, std::string_view section, std::string_view key, bool fallback) const;
  long double ReadFloat(const TProfileFile& file, std::string_view section, std::string_view key,
                        long double fallback) const;
  std::int64_t ReadInteger(const TProfileFile& file, std::string_view section, std::string_view key,
                           std::int64_t fallback) const;
  std::string ReadString(const TProfileFile& file, std::string_view section, std::string_view key,
                         const std::string& fallback) const;
  void WriteValue(TProfileFile& file, std::string_view section, std::string_view key, std::string_view text) const;

  // By index, for Load and Save.
  bool BooleanAt(std::size_t index) const;
  long double FloatAt(std::size_t index) const;
  std::int64_t IntegerAt(std::size_t index) const;

  TMessageHost* m_messages;
  std::string m_iniFileName;
  std::string m_iniSection;
  bool m_useStartUpDir = true;
  bool m_useRegistry = false;
  TRegistryRoot m_registryRoot = TRegistryRoot::rgCurrentUser;
  TEntries m_booleans;
  TEntries m_floats;
  TEntries m_integers;
  TEntries m_strings;
};

}  // namespace qx
