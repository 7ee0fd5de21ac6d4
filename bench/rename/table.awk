# SPDX-License-Identifier: GPL-3.0-or-later
# Prints run.sh's rows (one line each, tab-separated: section title, id, program, files,
# command, median s, min s, max s, peak KiB, idle %, is the floor, check) as a table per
# section, then every command. Needs -v n=FILES_PER_TREE.

function seconds(s) { return s < 10 ? sprintf("%.3f", s) : sprintf("%.1f", s) }
function thousands(x,   text, grouped) {
  text = sprintf("%.0f", x)
  for (; length(text) > 3; text = substr(text, 1, length(text) - 3)) grouped = "," substr(text, length(text) - 2) grouped
  return text grouped
}
function cell(text) { gsub(/\|/, "\\|", text); return text }

{
  title = $1; id = $2; program = $3; files = $4; command = $5
  median = $6; low = $7; high = $8; peak = $9; idle = $10; isFloor = $11; check = $12
  measured = median != "-"
  if (title != section) {
    section = title
    floorPerFile = 0
    printf "\n### %s\n\n", title
    print "| id | program | median s | min-max s | peak RSS MiB | x floor | idle % | check |"
    print "|---|---|---:|---:|---:|---:|---:|---|"
  }
  if (isFloor && measured) floorPerFile = median / files
  shown = measured ? seconds(median) : "-"
  # a row over part of the tree is also given as the whole tree would take
  if (measured && files != n) shown = shown sprintf(" (=> ~%s s for %s)", thousands(median * n / files), thousands(n))
  printf "| %s | %s | %s | %s | %s | %s | %s | %s |\n", id, cell(program), shown,
         measured ? seconds(low) "-" seconds(high) : "-",
         measured ? sprintf("%.1f", peak / 1024) : "-",
         measured && floorPerFile ? sprintf("%.2f", median / files / floorPerFile) : "-",
         measured ? idle : "-", check
  commands = commands "# " id "\n" command "\n"
}

END { printf "\nThe commands, run in the tree's top folder:\n\n```sh\n%s```\n", commands }
