#!/usr/bin/env bash
# Renumbering one up beside plain runs and the C floor, in one run: N files
# file000001..fileN become file000002..file(N+1), so every new name is taken when its
# turn comes and each rename waits for the next one; the plain runs rename the same
# files to names that are free (file000001 -> file[000001]), in listing order and, like
# the renumbering, sorted by name; the C floor is readdir + renameat2 doing that plain
# rename. Every run gets a fresh tree (not timed); the
# renumbered tree is checked name by name.
#   bench/rename/renumber.sh BUILD_DIR      (N=..., RUNS=...)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: renumber.sh BUILD_DIR}" && pwd)
harness=$(cd "$here/../../../shared/bench" 2>/dev/null && pwd) || {
  echo "renumber.sh: the shared benchmark harness (../shared/bench beside the project) is missing" >&2
  exit 1
}
N=${N:-100000}
RUNS=${RUNS:-5}
cli="$build/src/cli/quillex-cli"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/config" "$work/trash"
gcc -O2 -o "$work/baseline_rename" "$harness/baseline_rename.c"
cat >"$work/plain.xml" <<'XML'
<?xml version="1.0" standalone="yes" ?>
<quillex><jobs><job type="jobReplace" modifier="1" int1="1" int2="0" str1="(\d+)" str2="[$1]" enabled="-1" /></jobs></quillex>
XML
cat >"$work/renumber.xml" <<'XML'
<?xml version="1.0" standalone="yes" ?>
<quillex><jobs><job type="jobReplace" modifier="1" int1="1" int2="0" str1="\d+" str2="" enabled="-1" /><job type="jobCounter" modifier="1" int1="6" int2="0" str1="" str2="" enabled="-1" /></jobs></quillex>
XML
mkdir "$work/numbered"
(cd "$work/numbered" && seq -f 'file%06g' 1 "$N" | xargs touch)
seq -f 'file%06g' 2 $((N + 1)) >"$work/expected"

# Seconds taken by the command, run in a fresh copy of TEMPLATE.
timed() { # template command...
  local template=$1
  shift
  [ -e "$work/tree" ] && mv "$work/tree" "$work/trash/$RANDOM$RANDOM"  # ext4 reuses freed inodes slowly
  cp -a "$template" "$work/tree"
  sync
  local start end
  start=$(date +%s.%N)
  (cd "$work/tree" && "$@" >/dev/null 2>"$work/stderr") || { cat "$work/stderr" >&2; exit 1; }
  end=$(date +%s.%N)
  printf '%.3f\n' "$(echo "$end - $start" | bc)"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

row() { # name template command...
  local name=$1
  shift
  local times=()
  for _ in $(seq "$RUNS"); do times+=("$(timed "$@")"); done
  printf '%s\n' "${times[@]}" | median >"$work/median"
  echo "$name $(cat "$work/median")"
}

floor=$(row floor "$work/numbered" "$work/baseline_rename" . | cut -d' ' -f2)
plain=$(row plain "$work/numbered" "$cli" --config-dir "$work/config" run --jobs "$work/plain.xml" --sort none --no-undo . | cut -d' ' -f2)
sorted=$(row sorted "$work/numbered" "$cli" --config-dir "$work/config" run --jobs "$work/plain.xml" --sort name-asc --no-undo . | cut -d' ' -f2)
renumber=$(row renumber "$work/numbered" "$cli" --config-dir "$work/config" run --jobs "$work/renumber.xml" --counter-start 2 --sort name-asc --no-undo . | cut -d' ' -f2)
if ! ls "$work/tree" | cmp -s - "$work/expected"; then
  echo "renumber.sh: the renumbered tree is not file000002..file$(printf '%06d' $((N + 1)))" >&2
  exit 1
fi

echo "| run | median s | x C floor | x plain, listing order | x plain, by name |"
echo "|---|---:|---:|---:|---:|"
ratio() { printf '%.2f' "$(echo "$1 / $2" | bc -l)"; }
echo "| C floor: readdir + renameat2, file000001 -> file[000001] | $floor | 1.00 | - | - |"
echo "| Quillex, (\\d+) -> [\$1], listing order | $plain | $(ratio "$plain" "$floor") | 1.00 | - |"
echo "| Quillex, (\\d+) -> [\$1], by name | $sorted | $(ratio "$sorted" "$floor") | $(ratio "$sorted" "$plain") | 1.00 |"
echo "| Quillex, renumber one up, by name (every name taken at its turn) | $renumber | $(ratio "$renumber" "$floor") | $(ratio "$renumber" "$plain") | $(ratio "$renumber" "$sorted") |"
echo
echo "N=$N, RUNS=$RUNS, median seconds; $(nproc) cores; $(uname -r); $(date -u +%Y-%m-%dT%H:%MZ)"
