// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target over the texts of renames a user writes outside Quillex: the input is
// read as a comma-separated list, as a tab-separated one and as edited lines. Besides the
// sanitizers it checks that what was read writes and reads back as itself, and that every
// problem is one line that is safe to print.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "lists/UEditText.h"
#include "lists/URenameList.h"
#include "platform/UUtf8.h"

namespace {

using namespace qx::lists;

void Check(bool condition) {
  if (!condition) std::abort();
}

// One line of UTF-8 without control characters: a problem may quote the input, and a
// terminal must show it as text.
void CheckPrintable(std::string_view problem) {
  Check(!problem.empty());
  for (std::size_t pos = 0, len = 0; pos < problem.size(); pos += len) {
    const char32_t cp = qx::utf8::Decode(problem, pos, len);
    Check(cp >= 0x20 && cp != 0x7F && !qx::utf8::IsRawByte(cp));
  }
}

void CheckList(std::string_view input, TListFormat format) {
  const TListReading reading = ReadRenameList(input, format);
  for (const std::string& problem : reading.problems) CheckPrintable(problem);
  std::vector<std::pair<std::string, std::string>> pairs;
  for (const TListRow& row : reading.rows) {
    Check(row.line >= 1 && !row.oldPath.empty() && !row.newName.empty());
    pairs.emplace_back(row.oldPath, row.newName);
  }
  const TListReading again = ReadRenameList(WriteRenameList(pairs, format), format);
  Check(again.problems.empty() && again.rows.size() == pairs.size());
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    Check(again.rows[i].oldPath == pairs[i].first && again.rows[i].newName == pairs[i].second);
  }
}

// What the escapes must carry: a line break, a tab, a byte that is not UTF-8.
const std::vector<std::string> kOldTexts = {"a.txt", "b\nc\td", "caf\xE9"};

void CheckEditText(std::string_view input) {
  const TEditReading reading = ReadEditText(input, kOldTexts);
  for (const std::string& problem : reading.problems) CheckPrintable(problem);
  // Written above the lines again, the problems stay comments.
  const TEditReading unedited = ReadEditText(WriteEditText(kOldTexts, reading.problems), kOldTexts);
  Check(unedited.problems.empty() && unedited.texts == kOldTexts);
  if (reading.problems.empty()) {
    Check(reading.texts.size() == kOldTexts.size());
    const TEditReading again = ReadEditText(WriteEditText(reading.texts), reading.texts);
    Check(again.problems.empty() && again.texts == reading.texts);
  }
  // Any bytes as a name come back from the text an editor gets.
  if (!input.empty()) {
    const std::vector<std::string> name = {std::string(input)};
    Check(ReadEditText(WriteEditText(name), name).texts == name);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  CheckList(input, TListFormat::csv);
  CheckList(input, TListFormat::tsv);
  CheckEditText(input);
  return 0;
}
