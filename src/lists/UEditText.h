// SPDX-License-Identifier: GPL-3.0-or-later
// The text a user edits in their own editor to rename entries: one line per entry, its
// number, a tab and its name. What an editor would break or show as something else (line
// breaks, tabs, control characters, bytes that are not UTF-8) is written as an escape,
// so that every name comes back byte for byte from an editor that saves UTF-8.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qx::lists {

// The problems first, as comment lines, then one line per text, numbered from 1.
std::string WriteEditText(std::span<const std::string> texts, std::span<const std::string> problems = {});

struct TEditReading {
  // Entry i's text after editing; only meaningful when there are no problems.
  std::vector<std::string> texts;
  // One line of plain English each, in the order of the lines they are about.
  std::vector<std::string> problems;
};

// The edited text read back against the texts it was written with: each entry must keep
// exactly one line, and no two entries may end up with the same text.
TEditReading ReadEditText(std::string_view edited, std::span<const std::string> oldTexts);

}  // namespace qx::lists
