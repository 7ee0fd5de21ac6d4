// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/UEntryName.h"

#include "platform/UUndoFile.h"
#include "platform/UUtf8.h"

namespace qx {

std::optional<std::string> EntryNameProblem(std::string_view name, std::size_t nameMax, bool recorded) {
  if (name.empty()) return "the name is empty";
  if (name == "." || name == ".." || name.find('/') != std::string_view::npos) return "the name would leave its folder";
  if (name.find('\0') != std::string_view::npos) return "the name holds a NUL byte";
  // Undo would take such a file for its record.
  if (name == kUndoFileName) return "the name is the undo file's own";
  if (recorded && HoldsLineBreak(name)) return "the name holds a line break";
  if (name.size() > nameMax) return "name too long";
  return std::nullopt;
}

// Two scans of the whole name: find_first_of would call memchr once per character, a
// cost every rename with undo on pays twice.
bool HoldsLineBreak(std::string_view name) {
  return name.find('\n') != std::string_view::npos || name.find('\r') != std::string_view::npos;
}

std::string ShownName(std::string_view name, std::size_t nameMax) {
  constexpr std::size_t kShownChars = 64;
  if (name.size() <= nameMax) return std::string(name);
  return std::string(name.substr(0, utf8::ByteOffsetOfChar(name, kShownChars))) + "\u2026";
}

std::string ShownNewName(std::string_view name, std::size_t nameMax) {
  if (name.empty() || name == "." || name == "..") return "\"" + std::string(name) + "\"";
  return ShownName(name, nameMax);
}

}  // namespace qx
