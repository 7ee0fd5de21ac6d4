#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# clang-tidy's checks (.clang-tidy at the top) over every source of src/ that a build
# compiles, with that build's compile database, two files at a time. Names each finding
# once (a header's comes from every file that includes it) and fails on any.
#   check-tidy.sh SOURCE_DIR BUILD_DIR CLANG_TIDY
set -uo pipefail
usage="usage: check-tidy.sh SOURCE_DIR BUILD_DIR CLANG_TIDY"
root=${1:?$usage}
build=${2:?$usage}
tidy=${3:?$usage}
if ! command -v "$tidy" >/dev/null; then
  echo "clang-tidy 16 is missing; scripts/install-deps.sh installs it"
  exit 1
fi

sources=()
while IFS= read -r file; do
  [[ $file == "$root/src/"* ]] && sources+=("$file")
done < <(sed -n 's/^  "file": "\(.*\)",\{0,1\}$/\1/p' "$build/compile_commands.json" | sort -u)
if [ ${#sources[@]} -eq 0 ]; then
  echo "The compile database $build/compile_commands.json names no source of $root/src"
  exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
headers="^$(printf '%s' "$root/src/" | sed 's/[][\.*^$+?(){}|]/\\&/g')"
export tidy build headers work
# Each file's report goes to a file of its own, so that two at once do not mix lines. A
# file takes seconds; one whose analysis runs away (the optional check's state can grow
# with a function's branches) fails after five minutes instead of holding the test up.
printf '%s\0' "${sources[@]}" | xargs -0 -n 1 -P 2 bash -c '
  report="$work/report.$(printf "%s" "$1" | tr / _)"
  timeout 300 "$tidy" -p "$build" --quiet --header-filter="$headers" "$1" >"$report" 2>&1 || {
    [ $? = 124 ] && echo "clang-tidy ran for more than five minutes: simplify the function it is stuck in" >>"$report"
    echo "$1" >>"$work/failed"
  }' _

findings=$(cat "$work"/report.* | grep -E '^[^ ]+:[0-9]+:[0-9]+: (warning|error): ' | sort -u)
if [ -n "$findings" ]; then
  echo "clang-tidy's findings (one in context: $tidy -p $build FILE):"
  echo "$findings"
  exit 1
fi
if [ -s "$work/failed" ]; then
  # Failed without a finding: a crash or a file it could not read; its output says which.
  while IFS= read -r file; do
    echo "clang-tidy failed on $file:"
    cat "$work/report.$(printf '%s' "$file" | tr / _)"
  done <"$work/failed"
  exit 1
fi
echo "clang-tidy checked ${#sources[@]} sources of src/: no finding"
