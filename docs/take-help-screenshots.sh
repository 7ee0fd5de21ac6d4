#!/usr/bin/env bash
# Takes the About and regular-expression quick help screenshots in docs/ from the real
# program on a virtual display. Needs xvfb, openbox, xdotool and imagemagick; run from
# the top of the repository after a build:
#   xvfb-run -a -s "-screen 0 1100x700x24" docs/take-help-screenshots.sh [build-dir]
set -euo pipefail
build=${1:-build/default}
docs=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT

openbox >/dev/null 2>&1 &
sleep 1

# A portable copy, so that its settings stay in $work.
mkdir -p "$work/bin"
cp "$build/src/app/quillex" "$work/bin/"
HOME=$work "$work/bin/quillex" &
sleep 3
main=$(timeout 10 xdotool search --sync --name '^Quillex v2\.07$' | head -1)
xdotool windowmove "$main" 40 40
xdotool windowactivate --sync "$main"
sleep 0.5

shoot() { # window title, file
  local id
  id=$(timeout 10 xdotool search --sync --name "^$1\$" | head -1)
  sleep 0.5
  import -frame -window "$id" "$docs/$2"
}

xdotool key alt+h r
shoot 'Regular Expression Quick Help' regex-help-window.png
xdotool key Escape
xdotool search --name '^Regular Expression Quick Help$' windowclose || true
xdotool windowactivate --sync "$main"
sleep 0.5

xdotool key alt+h a
shoot 'About \.\.\.' about-window.png
xdotool key Return
