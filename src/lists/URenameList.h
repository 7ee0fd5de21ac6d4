// SPDX-License-Identifier: GPL-3.0-or-later
// A list of renames kept in a spreadsheet: one record per rename, the old path and the
// new name, as comma- or tab-separated values. Both formats quote the same way: a field
// that starts with a double quote runs to the next lone one, may hold separators and
// line breaks, and writes a quote of its own as two.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qx::lists {

enum class TListFormat { csv, tsv };

// By the file name's extension (.csv; .tsv or .tab), else by whether the first line
// holds a tab.
TListFormat ListFormatOf(std::string_view fileName, std::string_view text);

struct TListRow {
  std::size_t line;  // where the record starts, from 1
  std::string oldPath;
  std::string newName;

  friend bool operator==(const TListRow&, const TListRow&) = default;
};

struct TListReading {
  std::vector<TListRow> rows;
  // One line of plain English each, in the order of the lines they are about.
  std::vector<std::string> problems;
};

// Every record of the text. A byte order mark, empty lines and a first record of "old"
// and "new" are passed over; a record that cannot be a rename is a problem, not a row.
TListReading ReadRenameList(std::string_view text, TListFormat format);

// A header and one record per row, quoting only the fields that need it. Reading the
// result gives the same rows back when neither text of a row is empty.
std::string WriteRenameList(std::span<const std::pair<std::string, std::string>> rows, TListFormat format);

}  // namespace qx::lists
