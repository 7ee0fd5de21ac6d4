#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The renamers table: quillex-cli beside the C floors and the peer renamers, each doing
# (\d+) -> [$1] to every file name of the same trees:
#   FLAT  one folder of N files         DEEP  1,000 folders of N/1,000 files
# as a real rename (a fresh tree before every run, not timed) and as a preview (one tree,
# after an untimed run that checks the plan). After each row the tree is checked: a
# rename must leave exactly the expected names, a preview the tree as it was. The page
# cache stays warm. The renumbering table (renumber.sh) follows.
#   bench/rename/run.sh BUILD_DIR
#     N=100000 files per tree, a multiple of 1,000     RUNS=5 runs per row
#     SLOW_RUNS=3 for the rows that take minutes       ONLY=REGEX only the rows whose id matches
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bench=$(dirname "$here")
build=$(cd "${1:?usage: run.sh BUILD_DIR}" && pwd)
N=${N:-100000} RUNS=${RUNS:-5} SLOW_RUNS=${SLOW_RUNS:-3} ONLY=${ONLY:-.}
[ $((N % 1000)) = 0 ] || { echo "run.sh: N must be a multiple of 1000" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$work/config" "$work/out"
"$bench/link-programs.sh" "$build" "$work/bin" src/cli/quillex-cli bench/floors/floor-rename bench/floors/floor-walk
export PATH="$work/bin:$PATH" # the commands in the table read as a person would type them

for kind in flat deep; do
  count=$([ $kind = flat ] && echo "$N" || echo $((N / 1000)))
  "$bench/make-tree.sh" list $kind "$count" | LC_ALL=C sort >"$work/$kind.before"
  # What the job makes of each path: the file name's digits bracketed, the folders' kept.
  sed -E 's#^(.*/)?([^/0-9]*)([0-9]+)([^/]*)$#\1\2[\3]\4#' "$work/$kind.before" | LC_ALL=C sort >"$work/$kind.after"
  printf '%q ' "$bench/fresh-tree.sh" $kind "$work/$kind" "$count" >"$work/$kind.fresh"
done
: >"$work/rows.tsv"
: >"$work/notes"

# section NAME TITLE: the rows after it run on NAME's tree (flat-* or deep-*), as a rename
# (*-rename) or a preview (*-dry). Its first row is the floor its "x floor" is counted from.
section() {
  TITLE=$2 KIND=${1%%-*} MODE=${1#*-} TREE=$work/${1%%-*} first_row=1
  echo "== $TITLE" >&2
  if [ "$MODE" = dry ]; then sh "$work/$KIND.fresh"; fi
}

# A preview's plan is complete when it names every file: a bracketed name each, or the
# walk's count.
plan_complete() { # output files
  [ "$(grep -c '\[' "$1")" -ge "$2" ] || grep -q "^files $N " "$1"
}

check_tree() { # files
  (cd "$TREE" && find . -type f -printf '%P\n' | LC_ALL=C sort) >"$work/listing"
  local total renamed untouched
  total=$(wc -l <"$work/listing")
  renamed=$(LC_ALL=C comm -12 "$work/listing" "$work/$KIND.after" | wc -l)
  untouched=$(LC_ALL=C comm -12 "$work/listing" "$work/$KIND.before" | wc -l)
  if [ "$MODE" = dry ]; then
    if [ "$untouched" = "$N" ] && [ "$total" = "$N" ]; then echo ok; else echo "TREE CHANGED"; fi
  elif [ "$total" = "$N" ] && [ "$renamed" = "$1" ] && [ $((renamed + untouched)) = "$N" ]; then
    echo ok
  else
    echo "WRONG RESULT ($renamed of $1 renamed as expected, $total files)"
  fi
}

# row ID NEEDS RUNS FILES PROGRAM COMMAND: times COMMAND, run by sh in the tree's top
# folder, and checks the tree. NEEDS is the program that must be installed for the row
# to run (or -); FILES is how many files the command renames or plans.
row() {
  local id=$1 needs=$2 runs=$3 files=$4 program=$5 command=$6
  local is_floor=$first_row status=ok figures='- - - - -' prepare=''
  first_row=0
  [[ $id =~ $ONLY ]] || return 0
  if [ "$needs" != - ] && ! command -v "$needs" >/dev/null; then
    status="skipped ($needs is not installed)"
  else
    echo "== $id: $command" >&2
    if [ "$MODE" = dry ]; then # the untimed run: it warms the cache and shows the plan
      (cd "$TREE" && sh -c "$command") >"$work/out/$id" 2>&1 || status="FAILED (exit $?)"
      [ "$status" != ok ] || plan_complete "$work/out/$id" "$files" || status="PLAN INCOMPLETE"
    else
      prepare=$(cat "$work/$KIND.fresh")
    fi
    if [ "$status" = ok ]; then
      figures=$("$bench/measure.sh" "$runs" "$prepare" "$TREE" "$command") \
        || { status="FAILED"; figures='- - - - -'; }
    fi
    [ "$status" != ok ] || status=$(check_tree "$files")
    echo "== $id: $status" >&2
  fi
  # shellcheck disable=SC2086 # the five figures are five cells
  printf '%s\t' "$TITLE" "$id" "$program" "$files" "$command" $figures "$is_floor" >>"$work/rows.tsv"
  printf '%s\n' "$status" >>"$work/rows.tsv"
}

# note TEXT: a line under the table.
note() { echo "$1" >>"$work/notes"; }

. "$here/rows.sh"

tools() {
  echo "tools: File::Rename $(rename -V 2>&1 | sed -n 's/.*version //p'), perl $(perl -e 'printf "%vd", $^V')," \
    "mmv $(mmv -V 2>&1 | grep -o '[0-9][0-9.]*' | head -1), $(hyperfine --version), C floors: cc $(cc -dumpfullversion) -O2"
}
awk -F'\t' -v n="$N" -f "$bench/table.awk" -f "$here/table.awk" "$work/rows.tsv"
if [ -s "$work/notes" ]; then echo; sed 's/^/- /' "$work/notes"; fi
echo
"$bench/machine.sh" "$work"
tools
echo "N=$N, RUNS=$RUNS, SLOW_RUNS=$SLOW_RUNS"
echo
echo "### Renumbering one up"
echo
"$here/renumber.sh" "$build"
