#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Renumbering one up beside plain runs and the C floor: N files file000001 .. fileN become
# file000002 .. file(N+1), so every new name is still taken when its turn comes and each
# rename waits for the next one. The plain runs rename the same files to names that are
# free (file000001 -> file[000001]), in listing order and, like the renumbering, sorted by
# name; the C floor does that plain rename with readdir + renameat2. Every run gets a
# fresh tree (not timed); the renumbered tree is checked name by name.
#   bench/rename/renumber.sh BUILD_DIR      (N=100000, RUNS=5)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bench=$(dirname "$here")
build=$(cd "${1:?usage: renumber.sh BUILD_DIR}" && pwd)
N=${N:-100000} RUNS=${RUNS:-5}
cli=$build/src/cli/quillex-cli
floor=$build/bench/floors/floor-rename
for program in "$cli" "$floor"; do
  [ -x "$program" ] || { echo "renumber.sh: $program is missing; build the release preset's benchmarks target first" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/config"
fresh=$(printf '%q ' "$bench/fresh-tree.sh" numbered "$work/tree" "$N")
quillex=$(printf '%q ' "$cli" --config-dir "$work/config" run --no-undo)
brackets=$(printf %q "$bench/jobs/brackets.xml")
renumber=$(printf %q "$bench/jobs/renumber.xml")

seconds() { # command: the median time of RUNS runs in a fresh tree
  "$bench/measure.sh" "$RUNS" "$fresh" "$work/tree" "$1" | cut -d' ' -f1
}
floor_s=$(seconds "$(printf %q "$floor") .")
plain_s=$(seconds "$quillex --jobs $brackets --sort none .")
sorted_s=$(seconds "$quillex --jobs $brackets --sort name-asc .")
renumber_s=$(seconds "$quillex --jobs $renumber --counter-start 2 --sort name-asc .")
if ! ls "$work/tree" | cmp -s - <(seq -f 'file%06g' 2 $((N + 1))); then
  echo "renumber.sh: the renumbered tree is not file000002 .. file$(printf '%06d' $((N + 1)))" >&2
  exit 1
fi

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
echo "| run | median s | x C floor | x plain, listing order | x plain, by name |"
echo "|---|---:|---:|---:|---:|"
printf '| C floor: readdir + renameat2, file000001 -> file[000001] | %.3f | 1.00 | - | - |\n' "$floor_s"
printf '| Quillex, (\\d+) -> [$1], listing order | %.3f | %s | 1.00 | - |\n' "$plain_s" "$(ratio "$plain_s" "$floor_s")"
printf '| Quillex, (\\d+) -> [$1], by name | %.3f | %s | %s | 1.00 |\n' "$sorted_s" \
  "$(ratio "$sorted_s" "$floor_s")" "$(ratio "$sorted_s" "$plain_s")"
printf '| Quillex, renumber one up, by name (every name taken at its turn) | %.3f | %s | %s | %s |\n' "$renumber_s" \
  "$(ratio "$renumber_s" "$floor_s")" "$(ratio "$renumber_s" "$plain_s")" "$(ratio "$renumber_s" "$sorted_s")"
echo
echo "N=$N, RUNS=$RUNS, median seconds"
"$bench/machine.sh" "$work"
