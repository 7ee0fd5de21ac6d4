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

# The tests, and the command line they run as a process: the first named plainly, the
# rest as objects.
programs=("$build/src/cli/quillex-cli")
while IFS= read -r test; do programs+=(-object "$test"); done < <(find "$build/tests" -type f -perm -u+x -name 'U*Test')
# One row per source file, named from src/: functions, missed, executed, lines, missed,
# cover, branches, missed, cover.
"$cov" report -instr-profile "$build/coverage.profdata" "${programs[@]}" "$source" \
    -show-region-summary=false -show-instantiation-summary=false 2>/dev/null |
  awk '
    $1 ~ /^[a-z]+\// {
      folder = $1; sub(/\/.*/, "", folder)
      lines[folder] += $5; linesMissed[folder] += $6; branches[folder] += $8; branchesMissed[folder] += $9
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
      if (!L) exit 1
    }'
