# SPDX-License-Identifier: GPL-3.0-or-later
# Prints run.sh's rows as a table per section, then every command; read after
# bench/table.awk. Needs -v n=FILES_PER_TREE.

function thousands(x,   text, grouped) {
  text = sprintf("%.0f", x)
  for (; length(text) > 3; text = substr(text, 1, length(text) - 3)) grouped = "," substr(text, length(text) - 2) grouped
  return text grouped
}

BEGIN {
  header = "| id | program | median s | min-max s | peak RSS MiB | x floor | idle % | check |\n" \
           "|---|---|---:|---:|---:|---:|---:|---|"
}

{
  shown = measured ? seconds(median) : "-"
  # a row over part of the tree is also given as the whole tree would take
  if (measured && files != n) shown = shown sprintf(" (=> ~%s s for %s)", thousands(median * n / files), thousands(n))
  printf "| %s | %s | %s | %s | %s | %s | %s | %s |\n", id, cell(program), shown, range, rss, xFloor,
         measured ? idle : "-", check
}

END { printf "\nThe commands, run in the tree's top folder:\n\n```sh\n%s```\n", commands }
