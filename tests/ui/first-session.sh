#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A new user's first session, with the real program installed (bin/ beside share/quillex/)
# and a HOME that has no ~/.config yet: a job list opened, then Ctrl+Q; in a second round,
# from a fresh HOME again, a job list opened, then SIGTERM. Each time the job list must
# be there at the next start, in ~/.config/quillex/, made for its owner only.
# Run on a virtual display:   xvfb-run -a tests/ui/first-session.sh PROGRAM
set -euo pipefail
program=$1
for tool in openbox xdotool; do command -v $tool >/dev/null || { echo "no $tool: skipped"; exit 77; }; done
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT

openbox >/dev/null 2>&1 &
sleep 1
mkdir -p "$work/usr/bin" "$work/usr/share/quillex"
cp "$program" "$work/usr/bin/quillex"
printf '%s\r\n' '<?xml version="1.0" encoding="UTF-8" ?>' '<quillex>' '  <jobs>' \
  '    <job type="jobInsert" modifier="1" int1="0" int2="0" str1="First session " str2="" enabled="-1" />' \
  '  </jobs>' '</quillex>' >"$work/jobs.xml"
unset XDG_CONFIG_HOME XDG_DATA_HOME

fail() { echo "FAIL: $*"; cat "$work/stderr" 2>/dev/null; exit 1; }

# Starts Quillex in a fresh HOME and opens the job list through File > Open Job List.
start_with_job_list() { # home
  export HOME=$1
  mkdir -p "$HOME"
  "$work/usr/bin/quillex" 2>"$work/stderr" &
  pid=$!
  main=$(timeout 20 xdotool search --sync --onlyvisible --name '^Quillex v' | head -1)
  [ -n "$main" ] || fail "no main window"
  sleep 1
  xdotool windowactivate --sync "$main" key ctrl+o
  timeout 20 xdotool search --sync --onlyvisible --name '^Load Job List' >/dev/null || fail "no open dialog"
  sleep 1
  xdotool type --delay 20 "$work/jobs.xml"
  xdotool key Return
  sleep 1
}

waits_for_exit() {
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || return 0; sleep 0.2; done
  fail "Quillex is still running (a message is waiting?)"
}

kept_job_list() { # how the session ended
  local folder=$HOME/.config/quillex
  grep -q 'First session ' "$folder/quillex_job_config.xml" 2>/dev/null || fail "$1: the job list is lost"
  [ "$(stat -c %a "$folder")" = 700 ] || fail "$1: $folder is not the owner's only"
  echo "ok: $1 kept the job list"
}

start_with_job_list "$work/home-quit"
xdotool key ctrl+q
waits_for_exit
kept_job_list "Ctrl+Q"

start_with_job_list "$work/home-term"
kill -TERM "$pid"
waits_for_exit
kept_job_list "SIGTERM"
