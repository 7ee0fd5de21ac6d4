#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks netfs, the network share table's file system: a rename waits the delay; renames
# in two folders overlap while the kernel keeps those of one folder in turn; renameat2's
# flags reach the backing folder; quillex-cli renames with its undo file on the mount and
# takes the renames back; with lookups delayed every stat waits, nothing cached; bad
# options are refused. Skips (77) where FUSE cannot be used.
#   bench/netfs/check-netfs.sh NETFS QUILLEX_CLI
set -euo pipefail
usage="usage: check-netfs.sh NETFS QUILLEX_CLI"
netfs=$(realpath "${1:?$usage}") quillex=$(realpath "${2:?$usage}")
delay=200 # ms: far above a rename's own cost, so that the bounds below hold on a busy machine

# <> alone would make a file where the device is missing.
if ! [ -c /dev/fuse ] || ! (exec 3<>/dev/fuse) 2>/dev/null; then
  echo "skipped: /dev/fuse cannot be opened here"
  exit 77
fi
command -v fusermount3 >/dev/null || { echo "skipped: fusermount3 is missing"; exit 77; }

work=$(mktemp -d)
backing=$work/backing mount=$work/mount fs_pid=
mkdir "$backing" "$mount" "$work/config"
unmount() {
  [ -n "$fs_pid" ] || return 0
  fusermount3 -u "$mount" || { fusermount3 -u -z "$mount"; kill "$fs_pid"; }
  wait "$fs_pid" || true
  fs_pid=
}
trap 'unmount; rm -rf "$work"' EXIT

mount_netfs() { # netfs options...
  "$netfs" "$backing" "$mount" -f "$@" 2>>"$work/netfs.log" &
  fs_pid=$!
  for _ in $(seq 100); do
    [ "$(findmnt -no FSTYPE "$mount" || true)" != fuse.netfs ] || return 0
    kill -0 "$fs_pid" 2>/dev/null || break
    sleep 0.05
  done
  echo "netfs did not mount:" >&2
  cat "$work/netfs.log" >&2
  exit 1
}

passed=0 failed=0
check() { # WHAT COMMAND...: passes when COMMAND succeeds
  if "${@:2}"; then passed=$((passed + 1)); else failed=$((failed + 1)) && echo "FAILED: $1"; fi
}
within() { [ "$1" -ge "$2" ] && { [ -z "$3" ] || [ "$1" -le "$3" ]; }; } # ms min max
files() { (cd "$backing/$1" && find . -type f -printf '%P\n' | LC_ALL=C sort | tr '\n' ' '); }

# timed WHAT MIN_MS MAX_MS COMMAND (run by sh in the mount): the time must lie within
# MIN and MAX (MAX empty: no bound).
timed() {
  local start ms
  start=$(date +%s%N)
  if ! (cd "$mount" && sh -c "$4"); then
    check "$1: the command failed" false
    return
  fi
  ms=$((($(date +%s%N) - start) / 1000000))
  check "$1: took $ms ms, not within $2..${3:-} ms" within "$ms" "$2" "$3"
}

expect() { check "$1: got '$2', expected '$3'" [ "$2" = "$3" ]; } # WHAT ACTUAL EXPECTED

mount_netfs --rename-delay-ms $delay
mkdir -p "$backing/one" "$backing/two" "$backing/photos"
touch "$backing/one/a1" "$backing/one/c1" "$backing/two/b1" "$backing/photos/"{IMG_1.jpg,IMG_2.jpg,IMG_3.jpg}

# what, min ms, max ms, command: one delay is at least $delay, two in turn at least twice.
while IFS='|' read -r what min max command; do
  timed "$what" "$min" "$max" "$command"
done <<EOF
a rename waits the delay|$delay|$((delay * 19 / 10))|mv one/a1 one/a2
renames in two folders overlap|$delay|$((delay * 19 / 10))|mv one/a2 one/a3 & mv two/b1 two/b2 & wait
renames in one folder take turns|$((2 * delay))||mv one/a3 one/a4 & mv one/c1 one/c2 & wait
EOF
expect "the renames reached the backing folder" "$(files one)$(files two)" "a4 c2 b2 "

if command -v python3 >/dev/null; then
  echo A >"$backing/one/a4" && echo C >"$backing/one/c2"
  renameat2() { # from to flags: the errno, 0 when renamed
    (cd "$mount" && python3 -c 'import ctypes, sys
libc = ctypes.CDLL(None, use_errno=True)
rc = libc.renameat2(-100, sys.argv[1].encode(), -100, sys.argv[2].encode(), int(sys.argv[3]))
print(0 if rc == 0 else ctypes.get_errno())' "$@")
  }
  expect "RENAME_EXCHANGE swaps" "$(renameat2 one/a4 one/c2 2) $(cat "$backing/one/a4" "$backing/one/c2" | tr -d '\n')" "0 CA"
  expect "RENAME_NOREPLACE refuses a taken name" "$(renameat2 one/a4 one/c2 1) $(files one)" "17 a4 c2 "
fi

# quillex-cli's words go to a file, to read when a check fails.
quillex_cli="$(printf '%q ' "$quillex" --config-dir "$work/config")"
quiet=">>$(printf %q "$work/quillex.out") 2>&1"
timed "quillex-cli renames 3 files, one delay each" $((3 * delay)) '' \
  "$quillex_cli run --regex '([0-9]+)' '[\$1]' --mask '*.*' --undo photos $quiet"
expect "quillex-cli's names" "$(files photos)" "IMG_[1].jpg IMG_[2].jpg IMG_[3].jpg _quillex_undo.txt "
expect "its undo file" "$(tr -d '\r' <"$backing/photos/_quillex_undo.txt" | paste -sd ' ')" \
  "IMG_[1].jpg IMG_1.jpg IMG_[2].jpg IMG_2.jpg IMG_[3].jpg IMG_3.jpg"
timed "quillex-cli undo: 3 renames and the undo file's removal" $((4 * delay)) '' \
  "$quillex_cli undo --yes photos $quiet"
expect "the names after undo" "$(files photos)" "IMG_1.jpg IMG_2.jpg IMG_3.jpg "
unmount

# With the caches off, a stat of one/a4 looks up both names every time.
mount_netfs --lookup-delay-ms $delay
timed "a stat waits for its lookups" $((2 * delay)) '' "stat one/a4 >/dev/null"
timed "the next stat waits again (nothing cached)" $((2 * delay)) '' "stat one/a4 >/dev/null"
unmount

# refused ARGUMENTS STATUS TEXT: netfs must exit with STATUS, saying TEXT.
while IFS='|' read -r arguments status text; do
  out=$(eval "$(printf '%q ' "$netfs") $arguments" 2>&1) && got=0 || got=$?
  check "netfs $arguments: exit $got, said: ${out%%$'\n'*}" [ "$got.${out/*"$text"*/said}" = "$status.said" ]
done <<EOF
"$backing" "$mount" --rename-delay-ms -1|2|--rename-delay-ms needs a number of milliseconds
"$backing" "$mount" --lookup-delay-ms 1x|2|--lookup-delay-ms needs a number of milliseconds
"$backing" "$mount" --readdir-delay-ms|2|--readdir-delay-ms needs a number of milliseconds
"$work/missing" "$mount"|1|cannot open $work/missing
"$backing"|2|usage: netfs BACKING MOUNTPOINT
EOF

[ "$failed" = 0 ] || [ ! -s "$work/quillex.out" ] || { echo "quillex-cli said:" && cat "$work/quillex.out"; }
echo "netfs: $passed passed, $failed failed"
[ "$failed" = 0 ]
