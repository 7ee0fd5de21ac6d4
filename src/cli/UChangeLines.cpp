// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/UChangeLines.h"

#include <algorithm>

#include "cli/UTerminalText.h"
#include "platform/UFiles.h"
#include "platform/UUtf8.h"

namespace qx::cli {

namespace {

constexpr std::string_view kRed = "\x1b[31m";
constexpr std::string_view kGreen = "\x1b[32m";
constexpr std::string_view kBold = "\x1b[1m";
constexpr std::string_view kPlain = "\x1b[0m";

// Where the entry's folder lies below `base`, with a slash; "" for `base` itself.
std::string Below(const std::string& folder, std::string_view base) {
  const std::string below = PathBelow(folder, base);
  return below.empty() ? below : below + "/";
}

// `name` after `folder`, its changed middle in `colour` when there is one.
void AppendName(std::string& line, std::ios_base& stream, const std::string& folder, std::string_view name,
                std::size_t start, std::size_t end, std::string_view colour) {
  line += ShownOn(stream, folder);
  if (colour.empty() || start + end == name.size()) {
    line += ShownOn(stream, name);
    return;
  }
  line += ShownOn(stream, name.substr(0, start));
  line.append(colour).append(ShownOn(stream, name.substr(start, name.size() - start - end))).append(kPlain);
  line += ShownOn(stream, name.substr(name.size() - end));
}

// The length of the start and of the end, in bytes, that `a` and `b` share, whole
// characters only, the end never reaching into the start.
std::pair<std::size_t, std::size_t> SharedEnds(std::string_view a, std::string_view b) {
  std::size_t start = 0;
  for (std::size_t size = 0; start < a.size() && start < b.size(); start += size) {
    size = utf8::CharSize(a, start);
    if (a.substr(start, size) != b.substr(start, size)) break;
  }
  const std::size_t most = std::min(a.size(), b.size()) - start;
  std::size_t end = 0;
  while (end < most && a[a.size() - 1 - end] == b[b.size() - 1 - end]) ++end;
  // Back to the first byte of a character.
  while (end > 0 && (static_cast<unsigned char>(a[a.size() - end]) & 0xC0) == 0x80) --end;
  return {start, end};
}

}  // namespace

void AppendChangeLine(std::string& lines, const TEntryOutcome& outcome, std::string_view base, bool colour,
                      std::ios_base& stream) {
  if (outcome.status == TEntryStatus::Unchanged) return;
  const std::string folder = Below(outcome.folder.Text(), base);
  const auto [start, end] = SharedEnds(outcome.oldName, outcome.newName);
  const bool renamed = outcome.status == TEntryStatus::Renamed;
  AppendName(lines, stream, folder, outcome.oldName, start, end, colour ? kRed : "");
  lines += " -> ";
  AppendName(lines, stream, folder, outcome.newName, start, end, colour && renamed ? kGreen : "");
  if (!renamed) {
    lines.append("  ").append(colour ? kBold : "").append("[not renamed: ");
    lines.append(ShownOn(stream, outcome.reason)).append("]").append(colour ? kPlain : "");
  }
  lines += '\n';
}

}  // namespace qx::cli
