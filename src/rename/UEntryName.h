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

}  // namespace qx
