#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# How quillex-cli grows with one folder: 10,000, 100,000 and 1,000,000 files in one folder
# (make-tree.sh's FLAT names, the job (\d+) -> [$1]), a simulation and a real run, both
# sorted by name with undo off, and the largest once more in listing order; wall time and
# peak resident memory of the whole process, from GNU time. The start-up footprint, the
# peak of a simulation of an empty folder, is taken off each peak to give the bytes one
# entry costs. Every real run gets a fresh tree (not timed) and must rename every file;
# the simulations share one tree.
#   bench/scaling/run.sh BUILD_DIR      (SIZES="10000 100000 1000000", SCALING_RUNS=3)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bench=$(dirname "$here")
build=$(cd "${1:?usage: run.sh BUILD_DIR}" && pwd)
SIZES=${SIZES:-10000 100000 1000000} SCALING_RUNS=${SCALING_RUNS:-3}
cli=$build/src/cli/quillex-cli
[ -x "$cli" ] || { echo "run.sh: $cli is missing; build the release preset's benchmarks target first" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/config" "$work/empty"
# An empty settings folder: every option is on the command line.
quillex=$(printf '%q ' "$cli" --config-dir "$work/config" run --jobs "$bench/jobs/brackets.xml" --mask '*.*' \
  --no-undo)

# measure DIR PREPARE OPTIONS: "seconds peak_kib idle_pct" of quillex-cli run OPTIONS DIR
measure() {
  "$bench/measure.sh" "$SCALING_RUNS" "$2" "$1" "$quillex $3 ." | awk '{ print $1, $4, $5 }'
}
mib() { awk -v kib="$1" 'BEGIN { printf "%.1f", kib / 1024 }'; }
per_entry() { awk -v kib="$1" -v base="$startup_kib" -v files="$2" 'BEGIN { printf "%.0f", (kib - base) * 1024 / files }'; }
thousands() { echo "$1" | sed ':a; s/\B[0-9]\{3\}\>/,&/; ta'; }

read -r startup_s startup_kib _ <<<"$(measure "$work/empty" '' --simulate)"

rows=()
# size_row FILES SORT [LABEL]: one row of the table, FILES sorted by SORT
size_row() {
  local files=$1 sort="--sort $2" label=${3:-}
  local tree=$work/tree-$files
  "$bench/fresh-tree.sh" flat "$tree" "$files"
  (cd "$tree" && eval "$quillex $sort --simulate ." >/dev/null) # untimed: it warms the cache
  simulate=$(measure "$tree" '' "$sort --simulate")
  real=$(measure "$tree" "$(printf '%q ' "$bench/fresh-tree.sh" flat "$tree" "$files")" "$sort --no-simulate")
  read -r simulate_s simulate_kib simulate_idle <<<"$simulate"
  read -r real_s real_kib real_idle <<<"$real"
  renamed=$(find "$tree" -maxdepth 1 -type f -name '*\[*' | wc -l)
  if [ "$renamed" != "$files" ]; then
    echo "run.sh: the real run over $files files renamed $renamed of them" >&2
    exit 1
  fi
  rm -rf "$tree" "$tree.trash" # before the next, larger tree: it keeps the disk's load down
  rows+=("$(printf '| %s%s | %.3f | %s | %s | %.3f | %s | %s | %s / %s |' "$(thousands "$files")" "$label" \
    "$simulate_s" "$(mib "$simulate_kib")" "$(per_entry "$simulate_kib" "$files")" \
    "$real_s" "$(mib "$real_kib")" "$(per_entry "$real_kib" "$files")" "$simulate_idle" "$real_idle")")
}
largest=0
for files in $SIZES; do
  size_row "$files" name-asc
  if [ "$files" -gt "$largest" ]; then largest=$files; fi
done
size_row "$largest" none ', listing order'

echo "quillex-cli run over one folder of FLAT files, (\\d+) -> [\$1], sorted by name unless said, undo off; median of $SCALING_RUNS runs"
echo
echo "| files in one folder | simulate s | simulate peak MiB | simulate bytes/entry | real s | real peak MiB | real bytes/entry | idle % simulate / real |"
echo "|---:|---:|---:|---:|---:|---:|---:|---:|"
printf '%s\n' "${rows[@]}"
echo
printf 'Start-up footprint (a simulation of an empty folder): %s MiB peak, %.3f s. Bytes/entry is\n' \
  "$(mib "$startup_kib")" "$startup_s"
echo "(peak - start-up footprint) / files."
"$bench/machine.sh" "$work"
