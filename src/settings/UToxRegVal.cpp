// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/UToxRegVal.h"

#include <limits>

#include "platform/UAppPaths.h"
#include "platform/UValueText.h"

namespace qx {

namespace {

constexpr std::string_view kBooleansSection = "Booleans";
constexpr std::string_view kFloatsSection = "Floats";
constexpr std::string_view kIntegersSection = "Integers";
constexpr std::string_view kStringsSection = "Strings";

// Placement values default to these, which mark them as absent from the file.
constexpr std::int64_t kAbsent = 0x1FFFFFF;
constexpr std::int64_t kNoState = -1;

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// Empty counts as false here too, so what GetBoolean answers is what Save writes.
bool IsTrueText(std::string_view text) { return !text.empty() && text != "0"; }

std::string BooleanText(bool value) { return value ? "1" : "0"; }

void ApplyStored(std::int64_t stored, int& target) {
  if (stored != kAbsent && stored >= std::numeric_limits<int>::min() && stored <= std::numeric_limits<int>::max()) {
    target = static_cast<int>(stored);
  }
}

}  // namespace

std::vector<std::string> ToxRegVal::LinesOf(const TEntries& entries) {
  std::vector<std::string> lines;
  lines.reserve(entries.size());
  for (const TEntry& entry : entries) lines.push_back(entry.name + "=" + entry.value);
  return lines;
}

ToxRegVal::TEntries ToxRegVal::EntriesOf(const std::vector<std::string>& lines) {
  TEntries entries;
  entries.reserve(lines.size());
  for (const std::string& line : lines) {
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) {
      entries.push_back({line, ""});
    } else {
      entries.push_back({line.substr(0, equals), line.substr(equals + 1)});
    }
  }
  return entries;
}

std::size_t ToxRegVal::IndexOf(const TEntries& entries, std::string_view name, std::string_view type) {
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (ProfileNamesEqual(entries[i].name, name)) return i;
  }
  throw TSettingsError(std::string(type) + " Field " + Quoted(name) + " not found");
}

std::vector<std::string> ToxRegVal::Booleans() const { return LinesOf(m_booleans); }
void ToxRegVal::SetBooleans(const std::vector<std::string>& lines) { m_booleans = EntriesOf(lines); }
std::vector<std::string> ToxRegVal::Floats() const { return LinesOf(m_floats); }
void ToxRegVal::SetFloats(const std::vector<std::string>& lines) { m_floats = EntriesOf(lines); }
std::vector<std::string> ToxRegVal::Integers() const { return LinesOf(m_integers); }
void ToxRegVal::SetIntegers(const std::vector<std::string>& lines) { m_integers = EntriesOf(lines); }
std::vector<std::string> ToxRegVal::Strings() const { return LinesOf(m_strings); }
void ToxRegVal::SetStrings(const std::vector<std::string>& lines) { m_strings = EntriesOf(lines); }

std::string ToxRegVal::FilePath() const { return m_useStartUpDir ? ProgramDir() + m_iniFileName : m_iniFileName; }

std::string ToxRegVal::SectionName(std::string_view section) const {
  return m_iniSection.empty() ? std::string(section) : m_iniSection + "\\" + std::string(section);
}

std::optional<TProfileFile> ToxRegVal::Open() const {
  if (m_useRegistry) return std::nullopt;  // registry storage is not provided
  return std::optional<TProfileFile>(std::in_place, FilePath());
}

std::string ToxRegVal::ReadString(const TProfileFile& file, std::string_view section, std::string_view key,
                                  const std::string& fallback) const {
  return file.Read(SectionName(section), key).value_or(fallback);
}

bool ToxRegVal::ReadBoolean(const TProfileFile& file, std::string_view section, std::string_view key,
                            bool fallback) const {
  const std::string text = ReadString(file, section, key, "");
  if (text.empty()) return fallback;
  if (const auto value = ParseBoolean(text)) return *value;
  // One bad line costs that key only: the others are still read.
  m_messages->ShowMessage("'" + text + "' is not a valid boolean value");
  return fallback;
}

long double ToxRegVal::ReadFloat(const TProfileFile& file, std::string_view section, std::string_view key,
                                 long double fallback) const {
  const std::string text = ReadString(file, section, key, "");
  if (text.empty()) return fallback;
  if (const auto value = ParseFloat(text)) return *value;
  m_messages->ShowMessage("Error reading Float value \"" + std::string(section) + "\\" + std::string(key) +
                          "\". Value = " + Quoted(text) + ". Value set to " + FloatText(fallback));
  return fallback;
}

std::int64_t ToxRegVal::ReadInteger(const TProfileFile& file, std::string_view section, std::string_view key,
                                    std::int64_t fallback) const {
  const std::string text = ReadString(file, section, key, "");
  if (text.empty()) return fallback;
  if (const auto value = ParseInteger(text)) return *value;
  m_messages->ShowMessage("Error reading Integer value \"" + std::string(section) + "\\" + std::string(key) +
                          "\". Value = " + Quoted(text) + ". Value set to " + std::to_string(fallback));
  return fallback;
}

void ToxRegVal::WriteValue(TProfileFile& file, std::string_view section, std::string_view key,
                           std::string_view text) const {
  file.Write(SectionName(section), key, text);
}

bool ToxRegVal::BooleanAt(std::size_t index) const { return IsTrueText(m_booleans[index].value); }

long double ToxRegVal::FloatAt(std::size_t index) const {
  const std::string& text = m_floats[index].value;
  if (const auto value = ParseFloat(text)) return *value;
  throw TSettingsError("Error in conversion of float[" + std::to_string(index) + "], Value = " + Quoted(text));
}

std::int64_t ToxRegVal::IntegerAt(std::size_t index) const {
  const std::string& text = m_integers[index].value;
  if (const auto value = ParseInteger(text)) return *value;
  throw TSettingsError("Error in conversion of integer[" + std::to_string(index) + "], Value = " + Quoted(text));
}

void ToxRegVal::Load() {
  const auto file = Open();
  if (!file) return;
  if (!file->ReadFailure().empty()) m_messages->ShowMessage(file->ReadFailure() + "; the default settings are used");
  for (std::size_t i = 0; i < m_booleans.size(); ++i) {
    m_booleans[i].value = BooleanText(ReadBoolean(*file, kBooleansSection, m_booleans[i].name, BooleanAt(i)));
  }
  for (std::size_t i = 0; i < m_floats.size(); ++i) {
    m_floats[i].value = FloatText(ReadFloat(*file, kFloatsSection, m_floats[i].name, FloatAt(i)));
  }
  for (std::size_t i = 0; i < m_integers.size(); ++i) {
    m_integers[i].value = std::to_string(ReadInteger(*file, kIntegersSection, m_integers[i].name, IntegerAt(i)));
  }
  for (TEntry& entry : m_strings) entry.value = ReadString(*file, kStringsSection, entry.name, entry.value);
}

void ToxRegVal::Save() {
  auto file = Open();
  if (!file) return;
  for (std::size_t i = 0; i < m_booleans.size(); ++i) {
    WriteValue(*file, kBooleansSection, m_booleans[i].name, BooleanText(BooleanAt(i)));
  }
  for (std::size_t i = 0; i < m_floats.size(); ++i) {
    WriteValue(*file, kFloatsSection, m_floats[i].name, FloatText(FloatAt(i)));
  }
  for (std::size_t i = 0; i < m_integers.size(); ++i) {
    WriteValue(*file, kIntegersSection, m_integers[i].name, std::to_string(IntegerAt(i)));
  }
  for (const TEntry& entry : m_strings) WriteValue(*file, kStringsSection, entry.name, entry.value);
  // One replacement of the file for the whole save: it is written completely or not at all.
  file->Flush();
}

bool ToxRegVal::GetBoolean(std::string_view name) const {
  return IsTrueText(m_booleans[IndexOf(m_booleans, name, "Boolean")].value);
}

std::int64_t ToxRegVal::GetInteger(std::string_view name) const {
  const std::string& text = m_integers[IndexOf(m_integers, name, "Integer")].value;
  if (const auto value = ParseInteger(text)) return *value;
  throw TSettingsError("Error in conversion of integer " + Quoted(name) + ", Value = " + Quoted(text));
}

std::string ToxRegVal::GetString(std::string_view name) const {
  return m_strings[IndexOf(m_strings, name, "String")].value;
}

void ToxRegVal::SetBoolean(std::string_view name, bool value) {
  m_booleans[IndexOf(m_booleans, name, "Boolean")].value = BooleanText(value);
}

void ToxRegVal::SetInteger(std::string_view name, std::int64_t value) {
  m_integers[IndexOf(m_integers, name, "Integer")].value = std::to_string(value);
}

void ToxRegVal::SetString(std::string_view name, std::string_view value) {
  m_strings[IndexOf(m_strings, name, "String")].value = value;
}

void ToxRegVal::SaveWindowPlacement(const std::string& formName, const TWindowPlacement& placement) {
  auto file = Open();
  if (!file) return;
  WriteValue(*file, formName, "Left", std::to_string(placement.left));
  WriteValue(*file, formName, "Top", std::to_string(placement.top));
  WriteValue(*file, formName, "Width", std::to_string(placement.width));
  WriteValue(*file, formName, "Height", std::to_string(placement.height));
  WriteValue(*file, formName, "WinState", std::to_string(static_cast<int>(placement.state)));
  file->Flush();
}

void ToxRegVal::RestoreWindowPlacement(const std::string& formName, TWindowPlacement& placement, bool resize) {
  const auto file = Open();
  if (!file) return;
  const std::int64_t left = ReadInteger(*file, formName, "Left", kAbsent);
  const std::int64_t top = ReadInteger(*file, formName, "Top", kAbsent);
  const std::int64_t width = ReadInteger(*file, formName, "Width", kAbsent);
  const std::int64_t height = ReadInteger(*file, formName, "Height", kAbsent);
  const std::int64_t state = ReadInteger(*file, formName, "WinState", kNoState);
  ApplyStored(left, placement.left);
  ApplyStored(top, placement.top);
  if (resize) {
    ApplyStored(width, placement.width);
    ApplyStored(height, placement.height);
  }
  // A state this program does not know would leave the window in no defined state.
  if (state >= 0 && state <= 2) placement.state = static_cast<TWindowState>(state);
}

}  // namespace qx
