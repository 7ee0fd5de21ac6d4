#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes the screenshots of the run's windows in docs/ from the real program on a
# virtual display: the tree window after a simulation with a clash, the log window
# after it, the progress window during a real run with its question, and a failure
# box of a real run.
# Needs xvfb, openbox, xdotool and imagemagick; run from the top of the repository
# after a build:   xvfb-run -a -s "-screen 0 1100x700x24" docs/take-run-screenshots.sh [build-dir]
# The click positions fit the fonts of a plain Debian machine.
. "$(dirname "$0")/screenshot-session.sh"

jobs_file() {
  printf '%s\r\n' '<?xml version="1.0" encoding="ISO-8859-1" standalone="yes" ?>' '' '<quillex>' '  <jobs>' \
    '    <job type="jobLower" modifier="2" int1="0" int2="0" str1="" str2="" enabled="-1" />' \
    '    <job type="jobReplace" modifier="1" int1="1" int2="0" str1="IMG_(\d+)" str2="Holiday $1" enabled="-1" />' \
    '  </jobs>' '</quillex>'
}
start() { # folder: a portable copy with its own settings, opened on the folder
  mkdir -p "$work/bin"
  [ -e "$work/bin/quillex" ] || cp "$build/src/app/quillex" "$work/bin/"
  jobs_file >"$work/bin/quillex_job_config.xml"
  "$work/bin/quillex" "$1" &
  pid=$!
  sleep 3
  main=$(timeout 10 xdotool search --sync --name '^Quillex v2\.07$' | head -1)
  xdotool windowmove "$main" 40 40
  sleep 0.5
}
go() { xdotool mousemove --window "$main" 290 337 click 1; }

# A simulation with a clash (IMG_0413.JPG would become "Holiday 0413.jpg" beside
# "holiday 0413.jpg", which differs in case only), logged.
mkdir -p "$work/Trip/Day 1" "$work/Trip/Day 2"
for n in 0412 0413 0417; do touch "$work/Trip/IMG_$n.JPG"; done
touch "$work/Trip/Holiday 0413.jpg" "$work/Trip/Day 1/IMG_0501.JPG" "$work/Trip/Day 2/IMG_0602.JPG"
printf '[Booleans]\nsimulation=1\nlog=1\nrecurseDirs=1\n' >"$work/bin.ini"
mkdir -p "$work/bin" && mv "$work/bin.ini" "$work/bin/quillex.ini"
start "$work/Trip"
go
sleep 2
# The pictures are read from the screen, so no window may cover another: the progress
# window (which stays on top with the run's counts) and the log go out of the way.
progress=$(timeout 10 xdotool search --sync --name '^Quillex v2\.07 progress\.\.\.$' | head -1)
xdotool windowmove "$progress" 40 520
log=$(timeout 10 xdotool search --sync --name '^Quillex Log$' | head -1)
xdotool windowmove "$log" 500 60 windowsize "$log" 560 420
tree=$(timeout 10 xdotool search --sync --name '^Quillex Simulated Result \.\.\.$' | head -1)
xdotool windowmove "$tree" 60 60 windowsize "$tree" 420 360
sleep 0.5
shoot 'Quillex Simulated Result \.\.\.' tree-window.png
shoot 'Quillex Log' log-window.png
kill "$pid"
wait "$pid" || true

# The progress window during a real run, held at its first "Confirm every change"
# question: 3,000 names the jobs leave alone come first, then the ones they rename.
mkdir -p "$work/Big"
(cd "$work/Big" && seq -f 'album %04g.txt' 1 3000 | xargs -d '\n' touch && seq -f 'IMG_%04g.JPG' 1 1000 | xargs touch)
printf '[Booleans]\nsimulation=0\nconfirm=1\nsort=1\n' >"$work/bin/quillex.ini"
start "$work/Big"
go
sleep 2
progress=$(timeout 10 xdotool search --sync --name '^Quillex v2\.07 progress\.\.\.$' | head -1)
xdotool windowmove "$progress" 40 420  # clear of the question box
sleep 0.5
shoot 'Quillex v2\.07 progress\.\.\.' progress-window.png
shoot 'Quillex' question-rename.png
kill "$pid"
wait "$pid" || true

# The failure box of a real run over the folder of the simulation above.
printf '[Booleans]\nsimulation=0\nconfirm=0\nrecurseDirs=0\n' >"$work/bin/quillex.ini"
start "$work/Trip"
go
shoot 'Quillex' message-failure.png
