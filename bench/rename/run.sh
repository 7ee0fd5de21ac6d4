#!/usr/bin/env bash
# Times quillex-cli beside the peer renamers and the C floors, in one run of the
# shared harness: FLAT (100,000 files in one folder) and DEEP (1,000 folders of 100),
# the job (\d+) -> [$1] on every file, real runs with undo off and on, and previews.
# The undo rows delete their undo files inside the timed command, so the harness's
# check of the tree stays exact; that deletion is counted against us.
#   bench/rename/run.sh BUILD_DIR      (N=..., RUNS=... as the harness takes them)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: run.sh BUILD_DIR}" && pwd)
harness=$(cd "$here/../../../shared/bench" 2>/dev/null && pwd) || {
  echo "run.sh: the shared benchmark harness (../shared/bench beside the project) is missing" >&2
  exit 1
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$work/config"
ln -s "$build/src/cli/quillex-cli" "$work/bin/quillex-cli"
cat > "$work/jobs.xml" <<'XML'
<?xml version="1.0" standalone="yes" ?>
<quillex><jobs><job type="jobReplace" modifier="1" int1="1" int2="0" str1="(\d+)" str2="[$1]" enabled="-1" /></jobs></quillex>
XML

# An empty settings folder: every option comes from the command line.
q="quillex-cli --config-dir $work/config run --jobs $work/jobs.xml --mask '*.*'"
cat > "$work/rows.sh" <<ROWS
case \$SECTION in
  flat-rename)
    row Q1 quillex-cli "\$RUNS" "\$N" 'Quillex, undo off, listing order' "$q --sort none --no-undo ."
    row Q2 quillex-cli "\$RUNS" "\$N" 'Quillex, undo off, sorted by name' "$q --sort name-asc --no-undo ."
    row Q3 quillex-cli "\$RUNS" "\$N" 'Quillex, undo on, listing order (+ rm of the undo file)' "$q --sort none --undo . && rm _quillex_undo.txt"
    ;;
  flat-dry)
    row QD1 quillex-cli "\$RUNS" "\$N" 'Quillex --simulate, listing order' "$q --sort none --simulate ."
    ;;
  deep-rename)
    row QR1 quillex-cli "\$RUNS" "\$N" 'Quillex --recurse, undo off' "$q --sort none --recurse --no-undo ."
    row QR2 quillex-cli "\$RUNS" "\$N" 'Quillex --recurse, undo on (+ find -delete of the undo files)' "$q --sort none --recurse --undo . && find . -name _quillex_undo.txt -delete"
    ;;
  deep-dry)
    row QDD1 quillex-cli "\$RUNS" "\$N" 'Quillex --simulate --recurse' "$q --sort none --recurse --simulate ."
    ;;
esac
ROWS

PATH="$work/bin:$PATH" EXTRA_ROWS="$work/rows.sh" bash "$harness/run-peers.sh"

echo
echo "### Renumbering one up"
"$here/renumber.sh" "$build"
