#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes the screenshots in docs/ from the real program on a virtual display: the main
# window in the Details view with its New name column, in a light theme and (through
# qt6ct's "darker" colours) a dark one, and every job dialog.
# Needs xvfb, openbox, xdotool, imagemagick and qt6ct; run from the top of the repository
# after a build:   xvfb-run -a -s "-screen 0 1200x700x24" docs/take-screenshots.sh [build-dir]
# The click positions fit the fonts of a plain Debian machine.
. "$(dirname "$0")/screenshot-session.sh"

# A portable copy, so that its settings and default job list stay in $work.
mkdir -p "$work/bin" "$work/Holiday Photos/Raw" "$work/Holiday Photos/Edited"
cp "$build/src/app/quillex" "$work/bin/"
for n in 0412 0413 0417 0420 0421 0433; do touch "$work/Holiday Photos/IMG_$n.JPG"; done
touch "$work/Holiday Photos/beach party.jpg" "$work/Holiday Photos/Notes from the trip.txt"
# A copy whose new name clashes with IMG_0412.JPG's (red) and a name the jobs keep (grey).
touch "$work/Holiday Photos/IMG_0412.jpg" "$work/Holiday Photos/README"
printf '%s\r\n' '<?xml version="1.0" encoding="ISO-8859-1" standalone="yes" ?>' '' '<quillex>' '  <jobs>' \
  '    <job type="jobLower" modifier="2" int1="0" int2="0" str1="" str2="" enabled="-1" />' \
  '    <job type="jobReplace" modifier="1" int1="1" int2="0" str1="IMG_(\d+)" str2="Holiday $1" enabled="-1" />' \
  '    <job type="jobInsert" modifier="3" int1="0" int2="0" str1=" - Crete" str2="." enabled="-1" />' \
  '    <job type="jobCounter" modifier="1" int1="3" int2="0" str1="" str2="" enabled="0" />' \
  '  </jobs>' '</quillex>' >"$work/bin/quillex_job_config.xml"
# The Details view shows the New name column; the window is wider than its default so
# that the column has room, and as high, so the clicks below find their places.
printf '[Strings]\nexample=IMG_0412.JPG\n[Integers]\nviewStyle=3\nstvWidth=150\n[frmMain]\nLeft=40\nTop=40\nWidth=1100\nHeight=440\nWinState=0\n' \
  >"$work/bin/quillex.ini"

start() { # starts Quillex on the photos and sets $main to its window
  "$work/bin/quillex" "$work/Holiday Photos" &
  sleep 3
  main=$(timeout 10 xdotool search --sync --name '^Quillex v2\.07$' | head -1)
  xdotool windowmove "$main" 40 40
  sleep 0.5
}
start

at() { # x y, then what to do there
  local x=$1 y=$2
  shift 2
  xdotool mousemove --window "$main" "$x" "$y" "$@"
}
row() { echo $((78 + 14 * ($1 - 1))); }

# The main window: the sample tried once, the replace job selected.
at 350 424 click 1
at 120 "$(row 2)" click 1
sleep 0.5
shoot 'Quillex v2\.07' main-window.png

at 120 "$(row 3)" click --repeat 2 1
shoot 'Insert a string' dialog-insert.png
xdotool key Escape

at 120 "$(row 2)" click --repeat 2 1
sleep 0.5
xdotool key Tab Tab Tab Tab
xdotool type 'IMG_0412.JPG'
shoot 'String Replacement' dialog-replace.png
xdotool key Escape

at 120 "$(row 4)" click --repeat 2 1
shoot 'File Counter' dialog-counter.png
xdotool key Escape

at 120 "$(row 1)" click --repeat 2 1
shoot 'Conversion to lower case' dialog-case.png
xdotool key Escape

at 138 214 click 1
shoot 'Remove a number of characters' dialog-remove.png
xdotool key Escape

at 228 214 click 1
shoot 'Insert a Date' dialog-date.png
xdotool key Escape

xdotool key alt+e c
shoot 'XML Character Encoding' dialog-encoding.png
xdotool key Escape

# The same window on a dark theme: qt6ct hands Quillex its "darker" colours.
xdotool key ctrl+q
sleep 1
mkdir -p "$work/config/qt6ct"
# The font stays the light picture's, so the clicks find the same places.
printf '%s\n' '[Appearance]' 'color_scheme_path=/usr/share/qt6ct/colors/darker.conf' 'custom_palette=true' \
  'style=Fusion' '[Fonts]' "general=\"$(fc-match -f '%{family[0]}' sans-serif),9,-1,5,50,0,0,0,0,0\"" \
  >"$work/config/qt6ct/qt6ct.conf"
export XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORMTHEME=qt6ct
start # with the sample the light one left
at 120 "$(row 2)" click 1
sleep 0.5
shoot 'Quillex v2\.07' main-window-dark.png
