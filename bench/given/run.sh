#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What a run over given entries costs beside the same run over their folder: quillex-cli
# renames every file of the FLAT (one folder of N files) and DEEP (1,000 folders) trees
# with the brackets job, once walking the tree and once taking the files' paths that
# find -print0 wrote (--from0 LIST). A fresh tree and its list before every run, not
# timed (find's own time is the third column); after each row the tree is checked.
# Goal: the given run within 1.10 of the walk.
#   bench/given/run.sh BUILD_DIR      (N=100000, a multiple of 1,000; RUNS=5)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bench=$(dirname "$here")
build=$(cd "${1:?usage: run.sh BUILD_DIR}" && pwd)
N=${N:-100000} RUNS=${RUNS:-5}
[ $((N % 1000)) = 0 ] || { echo "run.sh: N must be a multiple of 1000" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$work/config"
"$bench/link-programs.sh" "$build" "$work/bin" src/cli/quillex-cli
export PATH="$work/bin:$PATH" # the commands in the table read as a person would type them
jobs=$bench/jobs/brackets.xml

echo "Runs over given entries: quillex-cli renaming every file of a tree, median of $RUNS"
echo
echo "| tree | walking the folder, s | the paths find -print0 wrote, s | / walk | find itself, s |"
echo "|---|---:|---:|---:|---:|"
for kind in flat deep; do
  count=$([ $kind = flat ] && echo "$N" || echo $((N / 1000)))
  tree=$work/$kind
  list=$work/$kind.list
  prepare="$(printf '%q ' "$bench/fresh-tree.sh" $kind "$tree" "$count") && cd $(printf %q "$tree") && find . -type f -print0 >$(printf %q "$list")"
  recurse=
  if [ $kind = deep ]; then recurse=--recurse; fi
  run="quillex-cli --config-dir $(printf %q "$work/config") run --jobs $(printf %q "$jobs") --no-undo --no-log"
  walk="$run $recurse . >/dev/null"
  given="$run --from0 $(printf %q "$list") >/dev/null"
  seconds=()
  for command in "$walk" "$given" "find . -type f -print0 >/dev/null"; do
    seconds+=("$("$bench/measure.sh" "$RUNS" "$prepare" "$work" "cd $kind && $command" | cut -d' ' -f1)")
    case $command in
      find*) ;;
      *)
        renamed=$(find "$tree" -type f -name '*\[*' | wc -l)
        [ "$renamed" = "$N" ] || { echo "run.sh: $command renamed $renamed of $N files" >&2; exit 1; }
        ;;
    esac
  done
  printf '| %s | %.3f | %.3f | %.2f | %.3f |\n' "${kind^^}" "${seconds[0]}" "${seconds[1]}" \
    "$(echo "${seconds[1]} / ${seconds[0]}" | bc -l)" "${seconds[2]}"
done
echo
"$bench/machine.sh" "$work"
rm -rf "$work"/*.trash
