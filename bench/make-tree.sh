#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the trees the benchmarks rename: the same names for the same arguments, every run.
#   bench/make-tree.sh flat DIR [N]     one folder of N files (default 100000)
#   bench/make-tree.sh deep DIR [K]     1,000 folders (Archive 00/Set 00/Roll 00 ..
#                                       Archive 09/Set 09/Roll 09) of K files (default 100)
#   bench/make-tree.sh numbered DIR [N] one folder of file000001 .. fileN (default 100000)
#   bench/make-tree.sh list flat|deep|numbered [N|K]     the files' paths only, made nowhere
# Files are empty: what a rename costs does not depend on a file's size. Each file name
# has exactly one run of digits, a six-digit serial unique in the tree, amid a mix of
# prefixes and extensions ("Holiday Photo 000123.JPG", "IMG_000124.jpg"); the folder
# names hold digits too, so a renamer that rewrites a folder's part of a path shows.
set -euo pipefail

usage() { echo "usage: make-tree.sh flat|deep|numbered DIR [COUNT] | list flat|deep|numbered [COUNT]" >&2; exit 2; }

paths() { # flat|deep|numbered count
  awk -v kind="$1" -v count="$2" '
    function file(serial) {
      return sprintf("%s%06d%s", prefix[1 + serial % prefixes], serial,
                     extension[1 + int(serial / prefixes) % extensions])
    }
    BEGIN {
      prefixes = split("Holiday Photo |holiday photo |HOLIDAY PHOTO |IMG_|Scan-|notes |Report v|Beach Trip ", prefix, "|")
      extensions = split(".JPG .JPG .JPG .JPG .jpg .jpeg .png .PNG .txt .TXT", extension, " ")
      if (kind == "numbered") {
        for (serial = 1; serial <= count; serial++) printf "file%06d\n", serial
        exit
      }
      if (kind == "flat") {
        for (serial = 0; serial < count; serial++) print file(serial)
        exit
      }
      serial = 0
      for (folder = 0; folder < 1000; folder++)
        for (i = 0; i < count; i++)
          printf "Archive %02d/Set %02d/Roll %02d/%s\n", int(folder / 100), int(folder / 10) % 10, folder % 10,
                 file(serial++)
    }'
}

[ $# -ge 2 ] || usage
default_count() { if [ "$1" = deep ]; then echo 100; else echo 100000; fi; }
case "$1/$2" in
  list/flat | list/deep | list/numbered) paths "$2" "${3:-$(default_count "$2")}"; exit ;;
  flat/* | deep/* | numbered/*) ;;
  *) usage ;;
esac
kind=$1 dir=$2 count=${3:-$(default_count "$1")}
if [ -e "$dir" ] && [ -n "$(ls -A "$dir")" ]; then
  echo "make-tree.sh: $dir is not empty" >&2
  exit 1
fi
mkdir -p "$dir"
cd "$dir"
paths "$kind" "$count" | sed -n 's|/[^/]*$||p' | uniq | xargs -r -d '\n' mkdir -p
paths "$kind" "$count" | xargs -r -d '\n' touch
