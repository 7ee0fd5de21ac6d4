# SPDX-License-Identifier: GPL-3.0-or-later
# Prints run.sh's rows as a table per section, then every command; read after
# bench/table.awk. Time per file is the figure to read beside the delay.

BEGIN {
  header = "| id | program | files | median s | min-max s | ms per file | x floor | peak RSS MiB | idle % | check |\n" \
           "|---|---|---:|---:|---:|---:|---:|---:|---:|---|"
}

{
  printf "| %s | %s | %s | %s | %s | %s | %s | %s | %s | %s |\n", id, cell(program), files,
         measured ? seconds(median) : "-", range,
         measured ? sprintf("%.3f", 1000 * median / files) : "-",
         xFloor, rss, measured ? idle : "-", check
}

END { printf "\nThe commands, run in the tree's top folder (in Archive 00 for the sections named after it):\n\n```sh\n%s```\n", commands }
