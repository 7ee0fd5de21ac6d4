# SPDX-License-Identifier: GPL-3.0-or-later
# The rows of the renamers table, read by run.sh: section NAME TITLE, then
# row ID NEEDS RUNS FILES PROGRAM COMMAND for each program, its floor first.
# Every command brackets the digits of every file name, (\d+) -> [$1].

perl_job='s/(\d+)/[$1]/'
mmv_from='*[0-9][0-9][0-9][0-9][0-9][0-9]*' # the six digits of every name make-tree.sh makes
mmv_to='#1[#2#3#4#5#6#7]#8'
# An empty settings folder: every option Quillex runs with is on its command line.
quillex="quillex-cli --config-dir $(printf %q "$work/config") run --jobs $(printf %q "$bench/jobs/brackets.xml") --mask '*.*' --parallel 1"
# The undo rows delete their undo files inside the timed command, so that the tree's check
# stays exact; that deletion is counted against Quillex.
subtree=$((N / 100)) # the files of Archive 00/Set 00, for the row that starts a process per file

section flat-rename "FLAT, real rename: $N files in one folder, a fresh tree every run (floor: C readdir + renameat2)"
row F1 - "$RUNS" "$N" 'C floor (readdir + renameat2)' 'floor-rename .'
# Quillex right after its floor, so both are timed with the file system in one state:
# after the peers' rows (dozens of fresh trees later) the same command took up to a
# quarter longer, which the table would have counted against Quillex.
row Q1 - "$RUNS" "$N" 'Quillex, undo off, listing order' "$quillex --sort none --no-undo ."
row Q2 - "$RUNS" "$N" 'Quillex, undo off, sorted by name' "$quillex --sort name-asc --no-undo ."
row Q3 - "$RUNS" "$N" 'Quillex, undo on, listing order (+ rm of the undo file)' \
  "$quillex --sort none --undo . && rm _quillex_undo.txt"
row F2 - "$RUNS" "$N" 'C floor, 2 processes (one listing, half the renames each)' 'floor-rename -j 2 .'
row F3 rename "$RUNS" "$N" 'perl rename, names on stdin' "find . -maxdepth 1 -type f -print0 | rename -0 '$perl_job'"
row F4 rename "$RUNS" "$N" 'perl rename, find -exec {} +' "find . -maxdepth 1 -type f -exec rename '$perl_job' {} +"
row F5 mmv "$RUNS" "$N" 'mmv' "mmv -r '$mmv_from' '$mmv_to'"

section flat-dry "FLAT, preview: nothing renamed (floor: C readdir + fstatat walk)"
# A shell glob hands every name to one process: at some size the kernel refuses the exec.
if command -v rename >/dev/null && ! (cd "$TREE" && rename -n "$perl_job" ./*) >/dev/null 2>"$work/glob"; then
  grep -q 'Argument list too long' "$work/glob" \
    && note "FLAT: \`rename '$perl_job' *\` cannot run at all: the exec fails with E2BIG (argument list too long; ARG_MAX $(getconf ARG_MAX) bytes)."
fi
row FD1 - "$RUNS" "$N" 'C walk (readdir + fstatat)' 'floor-walk .'
row FD2 - "$RUNS" "$N" 'C floor -n (prints the plan)' 'floor-rename -n .'
row FD3 rename "$RUNS" "$N" 'perl rename -n, names on stdin' "find . -maxdepth 1 -type f -print0 | rename -n -0 '$perl_job'"
row FD4 mmv "$RUNS" "$N" 'mmv -n' "mmv -n '$mmv_from' '$mmv_to'"
row QD1 - "$RUNS" "$N" 'Quillex --simulate, listing order' "$quillex --sort none --simulate ."

section deep-rename "DEEP, real rename: $N files in 1,000 folders, a fresh tree every run (floor: C readdir + renameat2)"
row D1 - "$RUNS" "$N" 'C floor -r' 'floor-rename -r .'
row D2 - "$RUNS" "$N" 'C floor -r, 2 processes (one per top folder)' "ls | xargs -d '\\n' -n1 -P2 floor-rename -r"
row D3 rename "$RUNS" "$N" 'perl rename -d, find -exec {} +' "find . -type f -exec rename -d '$perl_job' {} +"
row D4 rename "$RUNS" "$N" 'perl rename -d, find -print0 | xargs -0' "find . -type f -print0 | xargs -0 rename -d '$perl_job'"
row D5 rename "$SLOW_RUNS" "$subtree" "perl rename -d, find -exec {} \\; (a process per file; $subtree-file subtree)" \
  "find 'Archive 00/Set 00' -type f -exec rename -d '$perl_job' {} \\;"
row D6 mmv "$RUNS" "$N" 'mmv -m with ; (recursive)' "mmv -m ';$mmv_from' '#1#2[#3#4#5#6#7#8]#9'"
row QR1 - "$RUNS" "$N" 'Quillex --recurse, undo off' "$quillex --sort none --recurse --no-undo ."
row QR2 - "$RUNS" "$N" 'Quillex --recurse, undo on (+ find -delete of the undo files)' \
  "$quillex --sort none --recurse --undo . && find . -name _quillex_undo.txt -delete"
# Several folders at once (a later --parallel wins over the one above): the default,
# one per core (2 to 8) on a local disk, and more.
cores=$(nproc) auto=$((cores < 2 ? 2 : cores > 8 ? 8 : cores))
row QRA - "$RUNS" "$N" "Quillex --recurse --parallel auto (the default: $auto here), undo off" \
  "$quillex --sort none --recurse --no-undo --parallel auto ."
row QRP8 - "$RUNS" "$N" "Quillex --recurse --parallel 8, undo off" \
  "$quillex --sort none --recurse --no-undo --parallel 8 ."

section deep-dry "DEEP, preview: nothing renamed (floor: C readdir + fstatat walk)"
row DD1 - "$RUNS" "$N" 'C walk (readdir + fstatat)' 'floor-walk .'
row DD2 - "$RUNS" "$N" 'C floor -n -r (prints the plan)' 'floor-rename -n -r .'
row DD3 rename "$RUNS" "$N" 'perl rename -n -d, find -exec {} +' "find . -type f -exec rename -n -d '$perl_job' {} +"
row DD4 mmv "$RUNS" "$N" 'mmv -n with ;' "mmv -n ';$mmv_from' '#1#2[#3#4#5#6#7#8]#9'"
row QDD1 - "$RUNS" "$N" 'Quillex --simulate --recurse' "$quillex --sort none --recurse --simulate ."
row QDDA - "$RUNS" "$N" "Quillex --simulate --recurse --parallel auto (the default: $auto here)" \
  "$quillex --sort none --recurse --simulate --parallel auto ."
