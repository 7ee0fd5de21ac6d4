#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The network share table: quillex-cli beside the C floors (one folder after another, and
# a folder per thread) and the peer renamers on netfs, a FUSE file system over a folder of
# this disk whose requests wait like a share's round trips. Each program does
# (\d+) -> [$1] to every file name of:
#   FLAT  one folder of 10,000 files      DEEP  1,000 folders of 100 files (a photo library)
# first with each rename waiting DELAY_MS (lookups and listings free, cached by the kernel
# for a second), then on DEEP's first 100 folders with renames, lookups, attribute reads
# and listings all waiting and nothing cached (LOOKUPS=1). Every run gets a fresh mount, so
# the kernel's caches start cold, and every real rename a fresh tree, made in the backing
# folder and not timed. After each row the tree is checked: a rename must leave exactly
# the expected names, a preview the tree as it was.
#   bench/netfs/run.sh BUILD_DIR
#     DELAY_MS=1 per round trip   RUNS=1 per row: a sequential DEEP row renames 100,000
#     files in about 2 minutes    THREADS="8 64" for the parallel floor
#     LOOKUPS=1 (0: renames delayed only)   ONLY=REGEX only the rows whose id matches
# About 9 minutes with the defaults on 2 cores. Where /dev/fuse cannot be used it says so
# and prints no table.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bench=$(dirname "$here")
build=$(cd "${1:?usage: run.sh BUILD_DIR}" && pwd)
DELAY_MS=${DELAY_MS:-1} RUNS=${RUNS:-1} THREADS=${THREADS:-8 64} LOOKUPS=${LOOKUPS:-1} ONLY=${ONLY:-.}
FLAT=10000 DEEP=100000

# <> alone would make a file where the device is missing.
if ! [ -c /dev/fuse ] || ! (exec 3<>/dev/fuse) 2>/dev/null || ! command -v fusermount3 >/dev/null; then
  echo "netfs/run.sh: skipped: FUSE cannot be used here (/dev/fuse or fusermount3 is missing)"
  exit 0
fi
work=$(mktemp -d)
backing=$work/backing mount=$work/mount
unmount() { fusermount3 -u "$mount" 2>/dev/null || fusermount3 -u -z "$mount" 2>/dev/null || true; }
# The mount goes first: rm would otherwise walk into it.
trap 'unmount; rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$work/config" "$work/out" "$backing" "$mount"
"$bench/link-programs.sh" "$build" "$work/bin" src/cli/quillex-cli bench/floors/floor-rename bench/netfs/netfs bench/netfs/floor-parallel
export PATH="$work/bin:$PATH" # the commands in the table read as a person would type them

# What the job makes of each path: the file name's digits bracketed, the folders' kept.
bracketed='s#^(.*/)?([^/0-9]*)([0-9]+)([^/]*)$#\1\2[\3]\4#'
"$bench/make-tree.sh" list flat $FLAT | LC_ALL=C sort >"$work/flat.before"
"$bench/make-tree.sh" list deep $((DEEP / 1000)) | LC_ALL=C sort >"$work/deep.before"
: >"$work/rows.tsv"

# section KIND-MODE SCOPE DELAYS TITLE: the rows after it run in SCOPE of KIND's tree (flat
# or deep) on netfs with DELAYS, as a rename or a preview (dry). Its first row is the floor
# its "x floor" is counted from.
section() {
  KIND=${1%%-*} MODE=${1#*-} SCOPE=$2 DELAYS=$3 TITLE=$4 first_row=1
  echo "== $TITLE" >&2
  fresh=$(printf '%q ' "$bench/fresh-tree.sh" "$KIND" "$backing/$KIND" \
    "$([ "$KIND" = flat ] && echo $FLAT || echo $((DEEP / 1000)))")
  # A fresh mount before every run: the kernel caches nothing from the run before.
  unmount_now="fusermount3 -u $(printf %q "$mount") 2>/dev/null"
  mount_now="netfs $(printf '%q ' "$backing" "$mount") $DELAYS"
  tree_made=0 # a preview's tree is made for its first row that runs
}

in_scope() { # scope: the paths of the tree's files under it
  awk -v prefix="$1/" 'prefix == "./" || index($0, prefix) == 1' "$work/$KIND.before"
}

# The names a rename of scope must leave: bracketed there, the original ones elsewhere.
expected() { # scope
  if [ "$MODE" = dry ]; then cat "$work/$KIND.before"; return; fi
  if [ "$1" = . ]; then sed -E "$bracketed" "$work/$KIND.before"; else sed -E "\\#^$1/#$bracketed" "$work/$KIND.before"; fi |
    LC_ALL=C sort
}

check_tree() { # scope
  (cd "$backing/$KIND" && find . -type f -printf '%P\n' | LC_ALL=C sort) >"$work/listing"
  local wrong
  wrong=$(LC_ALL=C comm -3 "$work/listing" <(expected "$1") | wc -l)
  if [ "$wrong" = 0 ]; then echo ok; elif [ "$MODE" = dry ]; then echo "TREE CHANGED"; else echo "WRONG RESULT ($wrong names differ)"; fi
}

# A preview's plan is complete when it names every file: a bracketed name each.
plan_complete() { # output files
  [ "$(grep -c '\[' "$1")" -ge "$2" ]
}

# row ID NEEDS PART PROGRAM COMMAND: times COMMAND, run by sh in the section's scope, and
# checks the tree. PART is the subfolder of the scope that COMMAND renames, or "." for all
# of it. NEEDS is the program that must be installed for the row to run (or -).
row() {
  local id=$1 needs=$2 program=$4 command=$5 part
  local is_floor=$first_row status=ok figures='- - - - -' prepare files
  first_row=0
  [[ $id =~ $ONLY ]] || return 0
  part=$SCOPE
  [ "$3" = . ] || part=$([ "$SCOPE" = . ] && echo "$3" || echo "$SCOPE/$3")
  files=$(in_scope "$part" | wc -l)
  prepare="$unmount_now; $mount_now"
  [ "$MODE" = dry ] || prepare="$unmount_now; $fresh && $mount_now"
  if [ "$needs" != - ] && ! command -v "$needs" >/dev/null; then
    status="skipped ($needs is not installed)"
  else
    echo "== $id: $command" >&2
    if [ "$MODE" = dry ]; then # the untimed run: it shows the plan
      [ "$tree_made" = 1 ] || sh -c "$fresh"
      tree_made=1
      sh -c "$prepare" || status="FAILED (netfs did not mount)"
      [ "$status" != ok ] || (cd "$mount/$KIND/$SCOPE" && sh -c "$command") >"$work/out/$id" 2>&1 || status="FAILED (exit $?)"
      [ "$status" != ok ] || plan_complete "$work/out/$id" "$files" || status="PLAN INCOMPLETE"
    fi
    if [ "$status" = ok ]; then
      figures=$("$bench/measure.sh" "$RUNS" "$prepare" "$mount/$KIND/$SCOPE" "$command") \
        || { status="FAILED"; figures='- - - - -'; }
    fi
    unmount
    [ "$status" != ok ] || status=$(check_tree "$part")
    echo "== $id: $status" >&2
  fi
  # shellcheck disable=SC2086 # the five figures are five cells
  printf '%s\t' "$TITLE" "$id" "$program" "$files" "$command" $figures "$is_floor" >>"$work/rows.tsv"
  printf '%s\n' "$status" >>"$work/rows.tsv"
}

. "$here/rows.sh"

awk -F'\t' -f "$bench/table.awk" -f "$here/table.awk" "$work/rows.tsv"
echo
"$bench/machine.sh" "$backing"
echo "the trees are reached through netfs over that file system: FUSE, multi-threaded (up to 256 requests at" \
  "once), a fresh mount every run; DELAY_MS=$DELAY_MS, RUNS=$RUNS, THREADS=$THREADS, LOOKUPS=$LOOKUPS"
echo "tools: File::Rename $(rename -V 2>&1 | sed -n 's/.*version //p'), perl $(perl -e 'printf "%vd", $^V')," \
  "mmv $(mmv -V 2>&1 | grep -o '[0-9][0-9.]*' | head -1), $(hyperfine --version)," \
  "libfuse $(pkg-config --modversion fuse3 2>/dev/null || echo '?'), C floors: cc $(cc -dumpfullversion) -O2"
