# SPDX-License-Identifier: GPL-3.0-or-later
# The rows of the network share table, read by run.sh: section NAME SCOPE DELAYS TITLE,
# then row ID NEEDS PART PROGRAM COMMAND for each program, its floor first.
# Every command brackets the digits of every file name, (\d+) -> [$1].

perl_job='s/(\d+)/[$1]/'
mmv_from='*[0-9][0-9][0-9][0-9][0-9][0-9]*' # the six digits of every name make-tree.sh makes
mmv_to='#1[#2#3#4#5#6#7]#8'
# An empty settings folder: every option Quillex runs with is on its command line. One
# folder after another, as the floors it stands beside; the settings' default would take
# several at once.
quillex="quillex-cli --config-dir $(printf %q "$work/config") run --jobs $(printf %q "$bench/jobs/brackets.xml") --mask '*.*' --sort none --parallel 1"
renames="--rename-delay-ms $DELAY_MS"
# A share that caches nothing: each rename then costs three round trips (the old name
# looked up, the new one, the rename), and each name a path passes through one more.
everything="$renames --lookup-delay-ms $DELAY_MS --readdir-delay-ms $DELAY_MS"

# The sequential floor, the parallel ones, Quillex.
deep_ours() { # ID_PREFIX
  row "${1}1" - . 'C floor -r (a folder after another)' 'floor-rename -r .'
  for threads in $THREADS; do
    row "${1}P$threads" - . "parallel C floor, $threads threads (a folder each)" "floor-parallel -j $threads ."
  done
  row "${1}Q1" - . 'Quillex --recurse, undo off (a folder after another)' "$quillex --recurse --no-undo ."
  # Several folders at once, beside the parallel floors with the same counts (a later
  # --parallel wins over the one above).
  for threads in $THREADS; do
    row "${1}QP$threads" - . "Quillex --recurse --parallel $threads, undo off" \
      "$quillex --recurse --no-undo --parallel $threads ."
  done
  row "${1}QA" - . "Quillex --recurse --parallel auto (the default), undo off" \
    "$quillex --recurse --no-undo --parallel auto ."
}

# The peers rename by path, one process after another: they take as long per file on
# a part of the tree as on all of it, and rename PART only, which saves minutes a row.
# Their paths start where the others' do, as deep as theirs.
deep_peers() { # ID_PREFIX PART
  row "${1}2" rename "$2" "perl rename -d, find -print0 | xargs -0 ($2 only)" \
    "find '$2' -type f -print0 | xargs -0 rename -d '$perl_job'"
  row "${1}3" mmv "$2" "mmv -m with ; (recursive; $2 only)" "mmv -m '$2/;$mmv_from' '$2/#1#2[#3#4#5#6#7#8]#9'"
}

deep_previews() { # ID_PREFIX PART
  row "${1}D1" - . 'C floor -n -r (readdir, prints the plan)' 'floor-rename -n -r .'
  row "${1}D2" rename "$2" "perl rename -n -d, find -print0 | xargs -0 ($2 only)" \
    "find '$2' -type f -print0 | xargs -0 rename -n -d '$perl_job'"
  row "${1}D3" mmv "$2" "mmv -n with ; ($2 only)" "mmv -n '$2/;$mmv_from' '$2/#1#2[#3#4#5#6#7#8]#9'"
  row "${1}QD1" - . 'Quillex --simulate --recurse' "$quillex --recurse --simulate ."
  for threads in $THREADS; do
    row "${1}QDP$threads" - . "Quillex --simulate --recurse --parallel $threads" \
      "$quillex --recurse --simulate --parallel $threads ."
  done
  row "${1}QDA" - . "Quillex --simulate --recurse --parallel auto (the default)" \
    "$quillex --recurse --simulate --parallel auto ."
}

section flat-rename . "$renames" "FLAT, real rename: $FLAT files in one folder; each rename waits $DELAY_MS ms"
row F1 - . 'C floor (readdir + renameat2)' 'floor-rename .'
# The kernel renames inside one folder one at a time, however many processes ask.
row F2 - . 'C floor, 4 processes sharing the folder' 'floor-rename -j 4 .'
row Q1 - . 'Quillex, undo off' "$quillex --no-undo ."
row Q2 - . 'Quillex, undo on (+ rm of the undo file)' "$quillex --undo . && rm _quillex_undo.txt"
# One folder is always the run's own, whatever the folders at once.
row QA - . 'Quillex --parallel auto (the default), undo off' "$quillex --no-undo --parallel auto ."
row F3 rename . 'perl rename, names on stdin' "find . -maxdepth 1 -type f -print0 | rename -0 '$perl_job'"
row F4 mmv . 'mmv' "mmv -r '$mmv_from' '$mmv_to'"

section flat-dry . "$renames" "FLAT, preview: nothing renamed; renames would wait $DELAY_MS ms"
row FD1 - . 'C floor -n (readdir, prints the plan)' 'floor-rename -n .'
row QD1 - . 'Quillex --simulate' "$quillex --simulate ."

section deep-rename . "$renames" "DEEP, real rename: $DEEP files in 1,000 folders; each rename waits $DELAY_MS ms"
deep_ours D
deep_peers D 'Archive 00'
section deep-dry . "$renames" "DEEP, preview: nothing renamed; renames would wait $DELAY_MS ms"
deep_previews D 'Archive 00'

[ "$LOOKUPS" = 1 ] || return 0

# Archive 00 (Set 00 .. Set 09, 100 folders): at three round trips a rename all of DEEP
# would take five minutes a row.
section deep-rename 'Archive 00' "$everything" \
  "DEEP's Archive 00, real rename: $((DEEP / 10)) files in 100 folders; each rename, lookup, attribute read and listing waits $DELAY_MS ms, nothing cached"
deep_ours L
deep_peers L 'Set 00'
section deep-dry 'Archive 00' "$everything" \
  "DEEP's Archive 00, preview: nothing renamed; each lookup, attribute read and listing waits $DELAY_MS ms"
deep_previews L 'Set 00'
