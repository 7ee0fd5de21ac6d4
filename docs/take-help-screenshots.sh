#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes the About and regular-expression quick help screenshots in docs/ from the real
# program on a virtual display. Needs xvfb, openbox, xdotool and imagemagick; run from
# the top of the repository after a build:
#   xvfb-run -a -s "-screen 0 1100x700x24" docs/take-help-screenshots.sh [build-dir]
. "$(dirname "$0")/screenshot-session.sh"

# A portable copy, so that its settings stay in $work.
mkdir -p "$work/bin"
cp "$build/src/app/quillex" "$work/bin/"
HOME=$work "$work/bin/quillex" &
sleep 3
main=$(timeout 10 xdotool search --sync --name '^Quillex v2\.07$' | head -1)
xdotool windowmove "$main" 40 40
xdotool windowactivate --sync "$main"
sleep 0.5


xdotool key alt+h r
shoot 'Regular Expression Quick Help' regex-help-window.png
xdotool key Escape
xdotool search --name '^Regular Expression Quick Help$' windowclose || true
xdotool windowactivate --sync "$main"
sleep 0.5

xdotool key alt+h a
shoot 'About \.\.\.' about-window.png
xdotool key Return
