# SPDX-License-Identifier: GPL-3.0-or-later
# What the tables' own awk shares, read first (awk -f bench/table.awk -f TABLE.awk): each
# of run.sh's rows (one line each, tab-separated: section title, id, program, files,
# command, median s, min s, max s, peak KiB, idle %, is the floor, check) in named
# fields, a heading and the table's `header` (set in its BEGIN) where a section starts,
# and `xFloor`, the row's time per file against its section's first row. The commands
# gather in `commands` for the table's END.

function seconds(s) { return s < 10 ? sprintf("%.3f", s) : sprintf("%.1f", s) }
function cell(text) { gsub(/\|/, "\\|", text); return text }

{
  title = $1; id = $2; program = $3; files = $4; command = $5
  median = $6; low = $7; high = $8; peak = $9; idle = $10; isFloor = $11; check = $12
  measured = median != "-"
  if (title != section) {
    section = title
    floorPerFile = 0
    printf "\n### %s\n\n%s\n", title, header
  }
  if (isFloor && measured) floorPerFile = median / files
  xFloor = measured && floorPerFile ? sprintf("%.2f", median / files / floorPerFile) : "-"
  range = measured ? seconds(low) "-" seconds(high) : "-"
  rss = measured ? sprintf("%.1f", peak / 1024) : "-"
  commands = commands "# " id "\n" command "\n"
}
