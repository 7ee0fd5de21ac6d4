#!/usr/bin/env bash
# The desktop program beside the command line on the same work, in one run, each row
# several times on a fresh tree; the medians, the desktop's ratio, and how long the
# desktop window stays busy after showing the result:
#   real            the FLAT tree (N files), the job (\d+) -> [$1]
#   simulate        the same as a simulation
#   simulate, log   the same with Produce Log (the command line's --log=FILE)
#   simulate, clash CLASH files file000001 .. in one folder, all renamed to one name
#   bench/ui/run.sh BUILD_DIR      (N=100000, CLASH=20000, RUNS=5)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bench=$(dirname "$here")
build=$(cd "${1:?usage: run.sh BUILD_DIR}" && pwd)
N=${N:-100000}
CLASH=${CLASH:-20000}
RUNS=${RUNS:-5}
cli=$build/src/cli/quillex-cli
ui=$build/bench/ui/quillex-ui-bench
for program in "$cli" "$ui"; do
  [ -x "$program" ] || { echo "run.sh: $program is missing; build the release preset's benchmarks target first" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/config"
modes=(real simulate simulate-log simulate-clash)
declare -A title=([real]="real" [simulate]="simulate" [simulate-log]="simulate, log"
  [simulate-clash]="simulate, $CLASH names that clash")

prepare() { # mode: the job list, the settings and the tree for the desktop and the command line
  local simulate=1 log=0 jobs=$bench/jobs/brackets.xml
  kind=flat count=$N
  case $1 in
    real) simulate=0 ;;
    simulate-log) log=1 ;;
    simulate-clash) jobs=$here/clash.xml kind=numbered count=$CLASH ;;
  esac
  cp "$jobs" "$work/config/quillex_job_config.xml"
  printf '[Booleans]\r\nrecurseDirs=0\r\nsort=0\r\nundo=0\r\nlog=%s\r\nconfirm=0\r\nsimulation=%s\r\n[Strings]\r\nfilemask=*.*\r\n' \
    "$log" "$simulate" > "$work/config/quillex.ini"
  flags=$([ $simulate = 1 ] && echo --simulate || echo --no-simulate)
  [ $log = 1 ] && flags+=" --log=$work/cli.log" || flags+=" --no-log"
}
median() { sort -n | awk '{ a[NR] = $1 } END { print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2 }'; }
cli_seconds() {
  local start end
  rm -f "$work/cli.log"
  start=$(date +%s.%N)
  # shellcheck disable=SC2086 # the flags are words
  # 1 also when the run met names it could not rename, as every name of the clash row.
  "$cli" --config-dir "$work/config" run $flags "$work/tree" > /dev/null 2>&1 || [ $? = 1 ]
  end=$(date +%s.%N)
  echo "$end - $start" | bc -l
}
# Two figures: Go to the result shown, and the result shown to the window idle.
ui_seconds() { QT_QPA_PLATFORM=offscreen "$ui" "$work/config" "$work/tree" 2> /dev/null; }

declare -A result
for mode in "${modes[@]}"; do
  prepare "$mode"
  : > "$work/cli" ; : > "$work/ui"
  for _ in $(seq "$RUNS"); do
    "$bench/fresh-tree.sh" "$kind" "$work/tree" "$count"
    cli_seconds >> "$work/cli"
    "$bench/fresh-tree.sh" "$kind" "$work/tree" "$count"
    ui_seconds >> "$work/ui"
  done
  result[$mode-cli]=$(median < "$work/cli")
  result[$mode-ui]=$(cut -d' ' -f1 "$work/ui" | median)
  result[$mode-idle]=$(cut -d' ' -f2 "$work/ui" | median)
done

echo "Desktop program (offscreen, from Go to the result shown) beside quillex-cli, FLAT tree of $N files" \
  "($CLASH numbered files for the clash), median of $RUNS"
echo
echo "| run | quillex-cli s | desktop s | desktop / cli | desktop, result shown to idle s |"
echo "|---|---:|---:|---:|---:|"
for mode in "${modes[@]}"; do
  printf '| %s | %.3f | %.3f | %.2f | %.3f |\n' "${title[$mode]}" "${result[$mode-cli]}" "${result[$mode-ui]}" \
    "$(echo "${result[$mode-ui]} / ${result[$mode-cli]}" | bc -l)" "${result[$mode-idle]}"
done
echo
"$bench/machine.sh" "$work"
