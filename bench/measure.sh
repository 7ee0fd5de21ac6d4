#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Times a shell command and reads its peak memory, as every row of the tables is measured:
# hyperfine runs it RUNS times under GNU time, PREPARE (untimed) before each run when given.
#   bench/measure.sh RUNS PREPARE DIR COMMAND      both run by sh; PREPARE may be ''
# COMMAND starts in DIR, entered anew every run: PREPARE may have made DIR again.
# Prints one line: MEDIAN_S MIN_S MAX_S PEAK_KIB IDLE_PCT, where PEAK_KIB is the median
# over the runs of the largest process's peak resident set, and IDLE_PCT the share of all
# cores idle meanwhile, preparations included: on 2 cores about 50 means one core was ours
# and the other free, well below 50 that something else competed.
set -euo pipefail
usage="usage: measure.sh RUNS PREPARE DIR COMMAND"
runs=${1:?$usage} prepare=${2?$usage} dir=${3:?$usage} command=${4:?$usage}

gnu_time=$(type -P time || true)
if [ -z "$gnu_time" ] || ! "$gnu_time" --version 2>&1 | grep -q GNU; then
  echo "measure.sh: GNU time is missing; scripts/install-deps.sh bench installs it" >&2
  exit 1
fi
command -v hyperfine >/dev/null || {
  echo "measure.sh: hyperfine is missing; scripts/install-deps.sh bench installs it" >&2
  exit 1
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf 'cd %q || exit 99\n%s\n' "$dir" "$command" >"$work/command.sh"
options=(-N --style basic --runs "$runs" --output null --export-csv "$work/times.csv")
if [ -n "$prepare" ]; then
  printf '%s\n' "$prepare" >"$work/prepare.sh"
  options+=(--prepare "sh $(printf %q "$work/prepare.sh")")
fi

cpu() { awk '/^cpu / { print $2 + $3 + $4 + $5 + $6 + $7 + $8 + $9, $5 + $6 }' /proc/stat; }
before=$(cpu)
if ! hyperfine "${options[@]}" \
  "$(printf '%q ' "$gnu_time" -f %M -a -o "$work/peaks" sh "$work/command.sh")" >"$work/log" 2>&1; then
  cat "$work/log" >&2
  exit 1
fi
after=$(cpu)

median() { sort -n | awk '{ v[NR] = $1 } END { print NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
# The command may hold commas, so the figures are counted from the end of the line.
times=$(awk -F, 'NR == 2 { print $(NF - 4), $(NF - 1), $NF }' "$work/times.csv")
peak=$(grep -E '^[0-9]+$' "$work/peaks" | median)
idle=$(echo "$before $after" | awk '{ total = $3 - $1; printf "%.0f", (total > 0 ? 100 * ($4 - $2) / total : 0) }')
echo "$times $peak $idle"
