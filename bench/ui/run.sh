#!/usr/bin/env bash
# The desktop program beside the command line on the same work, in one run: a real
# rename of the FLAT tree (100,000 files, the job (\d+) -> [$1]) and a simulation of
# it, each several times on a fresh tree; the medians, and the desktop's ratio.
#   bench/ui/run.sh BUILD_DIR      (N=..., RUNS=... as for the rename benchmark)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bench=$(dirname "$here")
build=$(cd "${1:?usage: run.sh BUILD_DIR}" && pwd)
N=${N:-100000}
RUNS=${RUNS:-5}
cli=$build/src/cli/quillex-cli
ui=$build/bench/ui/quillex-ui-bench
for program in "$cli" "$ui"; do
  [ -x "$program" ] || { echo "run.sh: $program is missing; build the release preset's benchmarks target first" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/config"
cp "$bench/jobs/brackets.xml" "$work/config/quillex_job_config.xml"
settings() { # simulation 0|1
  printf '[Booleans]\r\nrecurseDirs=0\r\nsort=0\r\nundo=0\r\nlog=0\r\nconfirm=0\r\nsimulation=%s\r\n[Strings]\r\nfilemask=*.*\r\n' "$1" \
    > "$work/config/quillex.ini"
}
median() { sort -n | awk '{ a[NR] = $1 } END { print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2 }'; }
cli_seconds() { # options...
  local start end
  start=$(date +%s.%N)
  "$cli" --config-dir "$work/config" run "$@" "$work/tree" > /dev/null
  end=$(date +%s.%N)
  echo "$end - $start" | bc -l
}
ui_seconds() { QT_QPA_PLATFORM=offscreen "$ui" "$work/config" "$work/tree" 2> /dev/null; }

declare -A result
for mode in real simulate; do
  if [ "$mode" = real ]; then settings 0; flag=--no-simulate; else settings 1; flag=--simulate; fi
  for who in cli ui; do
    for _ in $(seq "$RUNS"); do
      "$bench/fresh-tree.sh" flat "$work/tree" "$N"
      if [ "$who" = cli ]; then cli_seconds "$flag"; else ui_seconds; fi
    done | median > "$work/$mode-$who"
    result[$mode-$who]=$(cat "$work/$mode-$who")
  done
done

echo "Desktop program (offscreen, from Go to the result shown) beside quillex-cli, FLAT tree of $N files, median of $RUNS"
echo
echo "| run | quillex-cli s | desktop s | desktop / cli |"
echo "|---|---:|---:|---:|"
for mode in real simulate; do
  printf '| %s | %.3f | %.3f | %.2f |\n' "$mode" "${result[$mode-cli]}" "${result[$mode-ui]}" \
    "$(echo "${result[$mode-ui]} / ${result[$mode-cli]}" | bc -l)"
done
echo
"$bench/machine.sh" "$work"
