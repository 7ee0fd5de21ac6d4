#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What the jobs that read every letter cost beside the A-Z rule: quillex-cli --simulate over
# one folder of N accented names ("Été à Ærøskøbing – Ωmega 000123.JPG", a tenth in
# Cyrillic), each job list alone; the simulation renames nothing, so the jobs' own share
# of the time is at its largest. Goal: each within 1.3 of the A-Z lower-case rule.
#   bench/names/run.sh BUILD_DIR      (N=100000, RUNS=5)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bench=$(dirname "$here")
build=$(cd "${1:?usage: run.sh BUILD_DIR}" && pwd)
N=${N:-100000} RUNS=${RUNS:-5}
cli=$build/src/cli/quillex-cli
[ -x "$cli" ] || { echo "run.sh: $cli is missing; build the release preset's benchmarks target first" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/config" "$work/tree"
python3 - "$work/tree" "$N" <<'PY'
import os, sys
folder, count = sys.argv[1], int(sys.argv[2])
for i in range(count):
    words = "Москва Ёлка" if i % 10 == 0 else "Été à Ærøskøbing – Ωmega"
    open(os.path.join(folder, "%s %06d.JPG" % (words, i)), "w").close()
PY

job() { # name kind modifier int1
  printf '<quillex><jobs><job type="%s" modifier="%s" int1="%s" int2="0" str1="" str2="" enabled="-1"/></jobs></quillex>' \
    "$2" "$3" "$4" >"$work/$1.xml"
}
job az jobLower 0 0
job full jobLower 0 1
job upper jobUpper 0 1
job marks jobSimplify 0 2
job ascii jobSimplify 0 3
title() {
  case $1 in
    az) echo "lower case, A-Z only (job lists written before)" ;;
    full) echo "lower case, every alphabet" ;;
    upper) echo "upper case, every alphabet" ;;
    marks) echo "simplify: remove accents and marks" ;;
    ascii) echo "simplify: to ASCII" ;;
  esac
}

echo "Jobs over accented names: quillex-cli run --simulate of one folder of $N files, median of $RUNS"
echo
echo "| job | s | / A-Z rule |"
echo "|---|---:|---:|"
base=
for name in az full upper marks ascii; do
  command="$(printf '%q ' "$cli" --config-dir "$work/config" run --jobs "$work/$name.xml" --simulate --parallel 1 .) >/dev/null"
  seconds=$("$bench/measure.sh" "$RUNS" '' "$work/tree" "$command" | cut -d' ' -f1)
  base=${base:-$seconds}
  printf '| %s | %.3f | %.2f |\n' "$(title $name)" "$seconds" "$(echo "$seconds / $base" | bc -l)"
done
echo
"$bench/machine.sh" "$work/tree"
