// SPDX-License-Identifier: GPL-3.0-or-later
// Which names an entry may be given (or, by Undo, given back): a name that stays in its
// folder, that the file system can hold, that an undo file can record, and that is not
// the undo file's own.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace qx {

// Why `name` cannot be an entry's name in a folder whose file system allows names of up
// to `nameMax` bytes, as the reason to show; nothing when it can. With `recorded` (undo
// on), a line break is refused too: the undo file holds one name per line.
std::optional<std::string> EntryNameProblem(std::string_view name, std::size_t nameMax, bool recorded);

// Whether `name` holds a CR or an LF, which an undo file cannot record.
bool HoldsLineBreak(std::string_view name);

// A name as a failure message shows it: one longer than `nameMax` only begun (its first
// characters and "…"), so that a name of a gigabyte never fills a message.
std::string ShownName(std::string_view name, std::size_t nameMax);
// A new name likewise, and an empty one, "." and ".." in quotes, so that "to ." is not
// read as the end of a sentence.
std::string ShownNewName(std::string_view name, std::size_t nameMax);

}  // namespace qx
