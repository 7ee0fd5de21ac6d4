#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The desktop program beside the command line on the same work, in one run, each row
# several times on a fresh tree; the medians, the desktop's ratio, how long the desktop
# window stays busy after showing the result, and the longest the window went without a
# pass of its event loop from Go to the result:
#   real            the FLAT tree (N files), the job (\d+) -> [$1]
#   simulate        the same as a simulation
#   simulate, log   the same with Produce Log (the command line's --log=FILE)
#   simulate, clash CLASH files file000001 .. in one folder, all renamed to one name
# and, in a table of its own, the details view's New name column over the FLAT tree
# (the renumbering job, sorted by name) beside quillex-cli --simulate of the same folder:
# from a change of the counter start to the complete column, and the longest the window
# went without a pass of its event loop meanwhile (preview); the same folder chosen in the
# folder tree as a click does, until its rows are in, until the column is complete, and the
# peak memory above the window's before, per file (rows); and the start-up on an empty folder and
# on one of STARTUP files: quillex --version (the libraries loaded, nothing else), the
# window shown and the window idle with its folder read (offscreen, from main), and from
# exec to the window mapped on Xvfb (looked for every 2 ms, where xdotool's --sync looks
# every 500 ms).
#   bench/ui/run.sh BUILD_DIR      (N=100000, CLASH=20000, STARTUP=10000, RUNS=5,
#                                   ROWS="real simulate simulate-log simulate-clash preview rows startup")
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bench=$(dirname "$here")
build=$(cd "${1:?usage: run.sh BUILD_DIR}" && pwd)
N=${N:-100000}
CLASH=${CLASH:-20000}
STARTUP=${STARTUP:-10000}
RUNS=${RUNS:-5}
read -r -a rows <<< "${ROWS:-real simulate simulate-log simulate-clash preview rows startup}"
cli=$build/src/cli/quillex-cli
ui=$build/bench/ui/quillex-ui-bench
desktop=$build/src/app/quillex
for program in "$cli" "$ui" "$desktop"; do
  [ -x "$program" ] || { echo "run.sh: $program is missing; build the release preset's benchmarks target first" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/config"
modes=()
for row in "${rows[@]}"; do [[ " preview rows startup " == *" $row "* ]] || modes+=("$row"); done
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
seconds_since() { echo "$(date +%s.%N) - $1" | bc -l; }
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
for mode in ${modes[@]+"${modes[@]}"}; do
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
  result[$mode-stall]=$(cut -d' ' -f3 "$work/ui" | median | awk '{ print $1 * 1000 }')
  result[$mode-worst]=$(cut -d' ' -f3 "$work/ui" | sort -n | tail -1 | awk '{ print $1 * 1000 }')
done

if [ ${#modes[@]} -gt 0 ]; then
  echo "Desktop program (offscreen, from Go to the result shown) beside quillex-cli, FLAT tree of $N files" \
    "($CLASH numbered files for the clash), median of $RUNS"
  echo
  echo "| run | quillex-cli s | desktop s | desktop / cli | desktop, result shown to idle s | longest wait of the event loop until the result ms, median (worst run) |"
  echo "|---|---:|---:|---:|---:|---:|"
  for mode in "${modes[@]}"; do
    printf '| %s | %.3f | %.3f | %.2f | %.3f | %.0f (%.0f) |\n' "${title[$mode]}" "${result[$mode-cli]}" \
      "${result[$mode-ui]}" "$(echo "${result[$mode-ui]} / ${result[$mode-cli]}" | bc -l)" "${result[$mode-idle]}" \
      "${result[$mode-stall]}" "${result[$mode-worst]}"
  done
  echo
fi

wants() { [[ " ${rows[*]} " == *" $1 "* ]]; }
if wants preview || wants rows; then
  # A simulation renames nothing: one tree serves every run.
  cp "$bench/jobs/renumber.xml" "$work/config/quillex_job_config.xml"
  printf '[Booleans]\r\nrecurseDirs=0\r\nrenameDirs=0\r\nsort=1\r\nundo=0\r\nlog=0\r\nconfirm=0\r\nsimulation=1\r\n[Integers]\r\nviewStyle=3\r\nsortOrder=0\r\ncounterStart=1\r\n[Strings]\r\nfilemask=*.*\r\n' \
    > "$work/config/quillex.ini"
  "$bench/fresh-tree.sh" flat "$work/tree" "$N"
  : > "$work/cli" ; : > "$work/ui" ; : > "$work/rows"
  for _ in $(seq "$RUNS"); do
    start=$(date +%s.%N)
    "$cli" --config-dir "$work/config" run --simulate --no-recurse --sort name-asc --counter-start 2 "$work/tree" \
      > /dev/null 2>&1
    seconds_since "$start" >> "$work/cli"
    if wants preview; then
      QT_QPA_PLATFORM=offscreen "$ui" preview "$work/config" "$work/tree" 2> /dev/null >> "$work/ui"
    fi
    if wants rows; then
      QT_QPA_PLATFORM=offscreen "$ui" rows "$work/config" "$work/tree" 2> /dev/null >> "$work/rows"
    fi
  done
  column() { cut -d' ' -f"$2" "$work/$1" | median; }
  worst() { cut -d' ' -f"$2" "$work/$1" | sort -n | tail -1; }
  if wants preview; then
    echo "The details view's New name column (offscreen) after a change of the counter start, beside" \
      "quillex-cli --simulate of the same folder: FLAT folder of $N files, the renumbering job, sorted by name, median of $RUNS"
    echo
    echo "| folder | quillex-cli --simulate s | column complete after the change s | longest wait of the event loop ms, median (worst run) |"
    echo "|---|---:|---:|---:|"
    printf '| %s files | %.3f | %.3f | %.0f (%.0f) |\n' "$N" "$(median < "$work/cli")" "$(column ui 1)" \
      "$(echo "$(column ui 2) * 1000" | bc -l)" "$(echo "$(worst ui 2) * 1000" | bc -l)"
    echo
  fi
  if wants rows; then
    echo "The same folder chosen in the folder tree (offscreen): its rows in the file list, the New name column" \
      "complete, the event loop's longest wait, and the peak memory above the window's before the click, median of $RUNS"
    echo
    echo "| folder | quillex-cli --simulate s | rows shown s | column complete s | column / cli | longest wait ms, median (worst run) | bytes per file |"
    echo "|---|---:|---:|---:|---:|---:|---:|"
    printf '| %s files | %.3f | %.3f | %.3f | %.2f | %.0f (%.0f) | %.0f |\n' "$N" "$(median < "$work/cli")" \
      "$(column rows 1)" "$(column rows 2)" "$(echo "$(column rows 2) / $(median < "$work/cli")" | bc -l)" \
      "$(echo "$(column rows 3) * 1000" | bc -l)" "$(echo "$(worst rows 3) * 1000" | bc -l)" \
      "$(echo "$(column rows 4) / $N" | bc -l)"
    echo
  fi
fi

# From exec until a window named Quillex is mapped on a display of its own; "-" without
# Xvfb, or when none is mapped after 2,000 looks (over 10 s; a look can hang while a window
# goes away, hence each one's own time limit).
mapped_seconds() { # folder
  if ! command -v Xvfb > /dev/null || ! command -v xdotool > /dev/null; then
    echo -
    return
  fi
  local start pid mapped=-
  start=$(date +%s.%N)
  HOME=$work/home DISPLAY=:77 "$desktop" "$1" > /dev/null 2>&1 &
  pid=$!
  for _ in $(seq 2000); do
    if DISPLAY=:77 timeout 1 xdotool search --onlyvisible --name '^Quillex' > /dev/null 2>&1; then
      mapped=$(seconds_since "$start")
      break
    fi
    sleep 0.002
  done
  echo "$mapped"
  kill "$pid"
  wait "$pid" 2> /dev/null || true
}
if wants startup; then
  xvfb=""
  if command -v Xvfb > /dev/null; then
    Xvfb :77 -screen 0 1920x1080x24 > /dev/null 2>&1 &
    xvfb=$!
    sleep 1
  fi
  mkdir -p "$work/empty" "$work/home"
  "$bench/fresh-tree.sh" flat "$work/tree" "$STARTUP"
  echo "The desktop program's start-up, median of $RUNS: quillex --version (the libraries loaded), the window" \
    "shown and idle with its folder read (offscreen, from main, a new configuration each time), exec to the window mapped (Xvfb)"
  echo
  echo "| folder | --version s | shown s | idle s | exec to mapped s |"
  echo "|---|---:|---:|---:|---:|"
  for folder in empty tree; do
    : > "$work/version" ; : > "$work/ui" ; : > "$work/mapped"
    for _ in $(seq "$RUNS"); do
      start=$(date +%s.%N)
      "$desktop" --version > /dev/null
      seconds_since "$start" >> "$work/version"
      rm -rf "$work/config"/* "$work/home"/.config
      QT_QPA_PLATFORM=offscreen "$ui" startup "$work/config" "$work/$folder" 2> /dev/null >> "$work/ui"
      mapped_seconds "$work/$folder" >> "$work/mapped"
    done
    label=$([ $folder = empty ] && echo "empty" || echo "$STARTUP files")
    mapped=$(grep -qx -- - "$work/mapped" && echo - || printf '%.3f' "$(median < "$work/mapped")")
    printf '| %s | %.3f | %.3f | %.3f | %s |\n' "$label" "$(median < "$work/version")" \
      "$(cut -d' ' -f1 "$work/ui" | median)" "$(cut -d' ' -f2 "$work/ui" | median)" "$mapped"
  done
  echo
  [ -z "$xvfb" ] || kill "$xvfb"
fi
"$bench/machine.sh" "$work"
