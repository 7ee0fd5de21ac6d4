#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The photo date table: reading the date taken of N camera-like JPEG files in one folder
# (photodate-bench makes them: a seed photo with a camera's usual Exif fields, its date
# taken stamped anew in each copy), warm page cache, each row RUNS times:
#   floor      Quillex's reader over every file, in one process (photodate-bench read)
#   exiv2      exiv2 -g Exif.Photo.DateTimeOriginal, every file an argument (through xargs)
#   quillex    quillex-cli run --simulate, one job: the date taken, yyyy-mm-dd, at the beginning
# Before its timed runs each row is run once and checked: the floor must find N dates,
# exiv2 must print N of them, and every name Quillex plans must carry the date exiv2 read.
#   bench/photodate/run.sh BUILD_DIR      (N=10000, RUNS=5)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bench=$(dirname "$here")
build=$(cd "${1:?usage: run.sh BUILD_DIR}" && pwd)
N=${N:-10000} RUNS=${RUNS:-5}
for program in src/cli/quillex-cli bench/photodate/photodate-bench; do
  [ -x "$build/$program" ] || {
    echo "run.sh: $build/$program is missing; build the release preset's benchmarks target first" >&2
    exit 1
  }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$work/config" "$work/photos"
ln -s "$build/src/cli/quillex-cli" "$build/bench/photodate/photodate-bench" "$work/bin/"
export PATH="$work/bin:$PATH" # the commands in the table read as a person would type them
photodate-bench make "$work/photos" "$N"
cat >"$work/date-taken.xml" <<'EOF'
<?xml version="1.0" standalone="yes" ?>
<quillex><jobs><job type="jobDate" modifier="0" int1="1" int2="0" str1="" str2="yyyy-mm-dd " enabled="-1" /></jobs></quillex>
EOF

# What each file must be called: its date taken as exiv2 reads it, a blank, its name.
expected_names() {
  awk '{ gsub(":", "-", $(NF - 1)); print $(NF - 1) " " $1 }' "$work/exiv2.out" | LC_ALL=C sort
}
check() { # row output
  case $1 in
    floor) [ "$(cat "$2")" = "files $N, dates $N" ] ;;
    exiv2) [ "$(grep -c 'Exif.Photo.DateTimeOriginal' "$2")" = "$N" ] ;; # kept for Quillex's check
    quillex)
      sed -n 's/^  F+ //p' "$2" | LC_ALL=C sort >"$work/planned"
      [ "$(LC_ALL=C comm -12 "$work/planned" <(expected_names) | wc -l)" = "$N" ] ;;
  esac
}

rows=()
# row ID LABEL COMMAND: checks COMMAND's output once, then times it in the photo folder.
row() {
  local id=$1 label=$2 command=$3 figures status=ok
  echo "== $id: $command" >&2
  (cd "$work/photos" && sh -c "$command") >"$work/$id.out" 2>&1 || status="FAILED (exit $?)"
  if [ "$status" = ok ] && ! check "$id" "$work/$id.out"; then
    status="WRONG RESULT"
    [ "$id" != quillex ] || status="not run: its plan does not name the files by their dates taken"
  fi
  if [ "$status" = ok ]; then
    figures=$("$bench/measure.sh" "$RUNS" '' "$work/photos" "$command")
    read -r median min max peak idle <<<"$figures"
    rows+=("$(LABEL=$label COMMAND=${command//|/\\|} awk -v md="$median" -v mn="$min" -v mx="$max" -v p="$peak" \
      -v i="$idle" -v n="$N" 'BEGIN { printf "| %s | `%s` | %.3f | %.3f-%.3f | %.1f | %.1f | %s |", ENVIRON["LABEL"],
        ENVIRON["COMMAND"], md, mn, mx, md * 1e6 / n, p / 1024, i }')")
  else
    rows+=("| $label | \`${command//|/\\|}\` | $status | | | | |")
  fi
}

quillex="quillex-cli --config-dir $(printf %q "$work/config") run --jobs $(printf %q "$work/date-taken.xml") --mask '*.*' --sort none --simulate --format tree ."
row floor "Quillex's reader alone (floor)" "photodate-bench read ."
row exiv2 "exiv2 tool" "printf '%s\\0' * | xargs -0 exiv2 -g Exif.Photo.DateTimeOriginal"
row quillex "Quillex --simulate, date taken" "$quillex"

echo "| Reads the date taken of $N JPEG files | command | median s | min-max s | µs per file | peak MiB | idle % |"
echo "|---|---|---:|---:|---:|---:|---:|"
printf '%s\n' "${rows[@]}"
echo
"$bench/machine.sh" "$work/photos"
echo "tools: $(exiv2 --version 2>&1 | head -1), libexiv2 $(pkg-config --modversion exiv2 2>/dev/null || echo '?'), $(hyperfine --version)"
echo "N=$N, RUNS=$RUNS; photos of $(stat -c %s "$work/photos/IMG_00001.JPG") bytes: both readers stop before the picture data"
