# SPDX-License-Identifier: GPL-3.0-or-later
# Prints run.sh's rows (one line each, tab-separated: section title, id, program, files,
# command, median s, min s, max s, peak KiB, idle %, is the floor, check) as a table per
# section, then every command. Time per file is the figure to read beside the delay.

function seconds(s) { return s < 10 ? sprintf("%.3f", s) : sprintf("%.1f", s) }
function cell(text) { gsub(/\|/, "\\|", text); return text }

{
  title = $1; id = $2; program = $3; files = $4; command = $5
  median = $6; low = $7; high = $8; peak = $9; idle = $10; isFloor = $11; check = $12
  measured = median != "-"
  if (title != section) {
    section = title
    floorPerFile = 0
    printf "\n### %s\n\n", title
    print "| id | program | files | median s | min-max s | ms per file | x floor | peak RSS MiB | idle % | check |"
    print "|---|---|---:|---:|---:|---:|---:|---:|---:|---|"
  }
  if (isFloor && measured) floorPerFile = median / files
  printf "| %s | %s | %s | %s | %s | %s | %s | %s | %s | %s |\n", id, cell(program), files,
         measured ? seconds(median) : "-",
         measured ? seconds(low) "-" seconds(high) : "-",
         measured ? sprintf("%.3f", 1000 * median / files) : "-",
         measured && floorPerFile ? sprintf("%.2f", median / files / floorPerFile) : "-",
         measured ? sprintf("%.1f", peak / 1024) : "-",
         measured ? idle : "-", check
  commands = commands "# " id "\n" command "\n"
}

END { printf "\nThe commands, run in the tree's top folder (in Archive 00 for the sections named after it):\n\n```sh\n%s```\n", commands }
