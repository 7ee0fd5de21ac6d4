#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Output that cannot be written is a failure: every command whose output goes to a full
# disk (/dev/full) says so on stderr and ends with a non-zero status.
#   check-write-errors.sh QUILLEX_CLI
set -uo pipefail
cli=$1
[ -w /dev/full ] || { echo "no /dev/full: skipped"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/config" "$work/tree"
touch "$work/tree/A.TXT"
q=("$cli" --config-dir "$work/config")
failed=0
expect_failure() { # what, where stdout goes, then the command
  local what=$1 out=$2 status
  shift 2
  "$@" >"$out" 2>"$work/err"
  status=$?
  if [ $status -eq 0 ] || ! grep -q 'No space left on device' "$work/err"; then
    echo "FAIL: $what: status $status, stderr: $(cat "$work/err")"
    failed=1
  fi
}
full=/dev/full
expect_failure "--version" $full "${q[@]}" --version
expect_failure "--help" $full "${q[@]}" --help
expect_failure "test" $full "${q[@]}" test --lower A.TXT
expect_failure "run --simulate" $full "${q[@]}" run --lower --simulate "$work/tree"
expect_failure "run --format json" $full "${q[@]}" run --lower --simulate --format json "$work/tree"
expect_failure "run --log=FILE" /dev/null "${q[@]}" run --lower --simulate --log=/dev/full "$work/tree"
expect_failure "make-jobs" $full "${q[@]}" make-jobs --upper "$work/jobs.xml"
expect_failure "a real run" $full "${q[@]}" run --lower "$work/tree"
[ -e "$work/tree/a.txt" ] || { echo "FAIL: the real run did not rename"; failed=1; }
exit $failed
