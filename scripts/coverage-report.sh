#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Line and branch coverage of src/ by the tests of the coverage preset's build, a row per
# folder and one for the core as a whole, from the profiles its test run left:
#   scripts/coverage-report.sh build/coverage
# Branches are clang's: each condition of a decision, true and false, counted apart.
set -euo pipefail
build=$(cd "${1:?usage: coverage-report.sh BUILD_DIR}" && pwd)
source=$(cd "$(dirname "$0")/.." && pwd)/src
tool() { command -v "$1-14" || command -v "$1"; }
profdata=$(tool llvm-profdata)
cov=$(tool llvm-cov)

shopt -s nullglob
profiles=("$build"/profiles/*.profraw)
[ ${#profiles[@]} -gt 0 ] || { echo "coverage-report.sh: no profiles under $build/profiles; run the tests first" >&2; exit 1; }
"$profdata" merge -sparse "${profiles[@]}" -o "$build/coverage.profdata"

objects=()
while IFS= read -r test; do objects+=(-object "$test"); done < <(find "$build/tests" -type f -perm -u+x -name 'U*Test')
# One row per source file: name, lines, lines missed, branches, branches missed.
"$cov" report -instr-profile "$build/coverage.profdata" "${objects[@]}" "$source" \
    -show-region-summary=false -show-function-summary=false -show-instantiation-summary=false |
  awk -v src="$source/" '
    index($1, src) == 1 {
      folder = substr($1, length(src) + 1); sub(/\/.*/, "", folder)
      lines[folder] += $2; linesMissed[folder] += $3; branches[folder] += $5; branchesMissed[folder] += $6
    }
    function percent(total, missed) { return total ? sprintf("%5.1f %%", 100 * (total - missed) / total) : "    -  " }
    function row(name, l, lm, b, bm) { printf "%-10s %8d %9s %10d %9s\n", name, l, percent(l, lm), b, percent(b, bm) }
    END {
      printf "%-10s %8s %9s %10s %9s\n", "folder", "lines", "covered", "branches", "covered"
      n = split("platform metadata regex jobs jobio rename settings cli", core, " ")
      for (i = 1; i <= n; ++i) {
        f = core[i]
        if (!(f in lines)) continue
        row(f, lines[f], linesMissed[f], branches[f], branchesMissed[f])
        L += lines[f]; LM += linesMissed[f]; B += branches[f]; BM += branchesMissed[f]
      }
      row("core", L, LM, B, BM)
    }'
