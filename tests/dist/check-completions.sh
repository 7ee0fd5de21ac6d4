#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The shell completions of quillex-cli, each found the way its shell finds it once installed.
# A table of command lines is completed alike in bash, fish and zsh; then, in each shell, what is
# offered after `quillex-cli `, `quillex-cli --` and `quillex-cli SUB --` must be exactly the
# subcommands and long options that the program's --help lists, so the completions cannot drift.
#   check-completions.sh QUILLEX_CLI SOURCE_DIR
# Exits 77 (skipped) when bash-completion, fish or zsh with zsh/zpty is missing and nothing failed.
set -o pipefail # no -u: bash-completion's functions are not written for it
export LC_ALL=C
(($# == 2)) || { echo "usage: check-completions.sh QUILLEX_CLI SOURCE_DIR"; exit 1; }
cli=$(realpath -e "$1" 2>/dev/null) && [[ -x $cli ]] || { echo "Not a program: $1"; exit 1; }
completions=$(realpath -e "$2/dist/completions" 2>/dev/null) || { echo "No dist/completions in $2"; exit 1; }

# An install prefix of our own, with the program on PATH: fish completes only commands it finds.
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
share=$work/prefix/share
mkdir -p "$work/prefix/bin" "$share/bash-completion/completions" "$share/fish/vendor_completions.d" \
  "$share/zsh/site-functions" "$work/home" "$work/folder/photos" || exit 1
ln -s "$cli" "$work/prefix/bin/quillex-cli"
ln -s "$completions/quillex-cli.bash" "$share/bash-completion/completions/quillex-cli"
ln -s "$completions/quillex-cli.fish" "$share/fish/vendor_completions.d/quillex-cli.fish"
ln -s "$completions/_quillex-cli" "$share/zsh/site-functions/_quillex-cli"
touch "$work/folder/jobs.xml"
export PATH=$work/prefix/bin:$PATH XDG_DATA_DIRS=$share:/usr/share HOME=$work/home
unset XDG_DATA_HOME XDG_CONFIG_HOME BASH_COMPLETION_USER_DIR
cd "$work/folder" || exit 1

# Command line after "quillex-cli " | what every shell offers, in any order, in a folder holding
# the file jobs.xml and the folder photos
cases=(
  'r|regex run'
  '--c|--config-dir'
  '--config-dir |photos'
  '--config-dir photos u|undo'
  '--config-dir=photos r|regex run'
  'run --so|--sort'
  'run --sort |date-asc date-desc name-asc name-desc none'
  'run --sort=n|name-asc name-desc none'
  'run --no-r|--no-recurse --no-rename-dirs --no-reset-counter'
  'run --jobs |jobs.xml photos'
  'test --jobs=|jobs.xml photos'
  'run --log=|jobs.xml photos'
  'run --log |jobs.xml photos'
  'run --recurse |jobs.xml photos'
  'run |jobs.xml photos'
  'run --from0 |jobs.xml photos'
  'undo |photos'
  'undo --re|--recurse --remove-after-errors'
  'describe |jobs.xml photos'
  'run --mask |'
  'run --mask -|'
  'run --counter-start |'
  'test --counter-start -|'
  'test |'
  'regex |'
  'make-jobs |jobs.xml photos'
  'run --format |json text tree'
  'run --parallel a|auto'
  'run --insert a --at |after: before: end start'
  'test --replace a |'
  'test --regex -x -|'
  'make-jobs --counter 3 --ta|--taken'
)

failures=0 missing=()
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# Words of $1 that are not in $2 (both space-separated).
words_not_in() {
  comm -23 <(tr ' ' '\n' <<<"$1" | sort -u) <(tr ' ' '\n' <<<"$2" | sort -u) | paste -sd ' '
}

# Sorted unique long options of a help text: those its option lines name, before their
# descriptions (as the manual page check reads them), so prose that mentions an option of
# another command does not count.
long_options() {
  sed -n 's/^ \{1,4\}\(-[^ ]*\([ ,] *-[^ ]*\)*\).*/\1/p' | grep -o -- '--[a-z][a-z0-9-]*' | grep -v -- '-$' |
    sort -u | paste -sd ' '
}

# The subcommands listed by --help: indented lines that begin with a lowercase word, kept when
# `quillex-cli WORD --help` is a help of its own rather than the program's.
global_help=$("$cli" --help) || { fail "quillex-cli --help failed"; exit 1; }
declare -A sub_help
for word in $(sed -n 's/^[[:space:]]\{1,\}\([a-z][a-z0-9-]*\)\([[:space:]].*\)\{0,1\}$/\1/p' <<<"$global_help"); do
  text=$("$cli" "$word" --help 2>/dev/null) && [[ $text != "$global_help" ]] && sub_help[$word]=$text
done
subcommands=$(printf '%s\n' "${!sub_help[@]}" | sort | paste -sd ' ')
[[ $subcommands ]] || { fail "no subcommand found in quillex-cli --help"; exit 1; }

# What the program says each shell must offer: line | expected, like the cases.
probes=("|$subcommands" "--|$(long_options <<<"$global_help")")
for sub in $subcommands; do
  probes+=("$sub --|$(long_options <<<"${sub_help[$sub]}")")
done

lines=()
for row in "${cases[@]}" "${probes[@]}"; do lines+=("${row%%|*}"); done

# Each driver completes "quillex-cli LINE" for every line and prints the candidates, one a line,
# each line's followed by @@end.
complete_in_bash() {
  local line fn
  source /usr/share/bash-completion/bash_completion
  fn=$(complete -p -D 2>/dev/null | sed -n 's/.*-F \([^ ]*\).*/\1/p')
  [[ $fn ]] && "$fn" quillex-cli '' ''
  fn=$(complete -p quillex-cli 2>/dev/null | sed -n 's/.*-F \([^ ]*\).*/\1/p')
  shopt -s extdebug # declare -F then names the file that defined the function
  [[ $fn && $(declare -F "$fn") == *" $share/bash-completion/completions/quillex-cli" ]] || {
    echo "bash-completion did not load share/bash-completion/completions/quillex-cli" >&2
    return 1
  }
  shopt -u extdebug
  for line in "$@"; do
    # Split as readline does: '=' is a word of its own, a trailing blank starts an empty word.
    COMP_LINE="quillex-cli $line" COMP_POINT=${#COMP_LINE}
    read -ra COMP_WORDS <<<"${COMP_LINE//=/ = }"
    [[ $COMP_LINE == *' ' ]] && COMP_WORDS+=('')
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1)) COMPREPLY=()
    "$fn" quillex-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    printf '%s\n' "${COMPREPLY[@]}" @@end
  done
}

complete_in_fish() {
  timeout 60 fish -c 'for line in $argv; complete -C "quillex-cli $line"; echo @@end; end' "$@"
}

# zsh completes only inside its line editor: an interactive zsh on a pseudo-terminal types each
# line and a key whose widget completes, with compadd wrapped to note the words each call offers.
# The next line waits for the widget's message: zsh may drop keys typed while a widget runs.
complete_in_zsh() {
  cat >"$work/drive.zsh" <<'EOF'
zmodload zsh/zpty || exit 77
out=$1 completions=$2; shift 2
zpty z zsh -f -i
zpty -w z "bindkey -e; unsetopt AUTO_LIST BEEP; fpath=(${(q)completions} \$fpath)"
zpty -w z "autoload -Uz compinit && compinit -u -D"
zpty -w z "compadd() { if (( \${@[(I)-[OAD]*]} )); then builtin compadd \"\$@\"; return; fi;
  local -a hits; builtin compadd -O hits \"\$@\"; print -rl -- \$hits >>${(q)out}; builtin compadd \"\$@\"; }"
zpty -w z "probe() { zle complete-word; print -r -- @@end >>${(q)out}; BUFFER=; zle -M probed\$((++probes)); }
  zle -N probe; bindkey '^T' probe"
n=0
for line in "$@"; do
  zpty -w -n z "quillex-cli $line"$'\C-t'
  zpty -r z reply "*probed$((++n))*" || exit 1
done
zpty -d z
EOF
  : >"$work/zsh.out"
  timeout 60 zsh -f "$work/drive.zsh" "$work/zsh.out" "$share/zsh/site-functions" "$@" && cat "$work/zsh.out"
}

# One line of sorted unique candidates per command line: descriptions, a trailing '/' and the
# "--option=" that fish repeats before a value are dropped.
normalise() {
  local row=0 candidate words=()
  while IFS= read -r candidate; do
    if [[ $candidate == @@end ]]; then
      printf '%s\n' "${words[@]}" | sed '/^$/d' | sort -u | paste -sd ' '
      words=() row=$((row + 1))
      continue
    fi
    candidate=${candidate%%$'\t'*}
    [[ ${lines[row]##* } == *=* ]] && candidate=${candidate#--*=}
    words+=("${candidate%/}")
  done
}

check_shell() {
  local shell=$1 i got=() status
  mapfile -t got < <("complete_in_$shell" "${lines[@]}" | normalise; exit "${PIPESTATUS[0]}")
  wait $! && status=0 || status=$?
  ((status == 77)) && { missing+=("zsh/zpty"); return; }
  ((status == 124)) && { fail "$shell did not finish completing within 60 s"; return; }
  ((status != 0 || ${#got[@]} != ${#lines[@]})) && { fail "$shell could not complete (status $status)"; return; }
  for ((i = 0; i < ${#cases[@]}; i++)); do
    [[ ${got[i]} == "${cases[i]#*|}" ]] ||
      fail "$shell completes 'quillex-cli ${lines[i]}' to [${got[i]}], expected [${cases[i]#*|}]"
  done
  for ((; i < ${#lines[@]}; i++)); do
    local wanted=${probes[i - ${#cases[@]}]#*|}
    [[ ${got[i]} == "$wanted" ]] ||
      fail "$shell: 'quillex-cli ${lines[i]}' does not offer what --help lists;" \
        "missing [$(words_not_in "$wanted" "${got[i]}")], not in --help [$(words_not_in "${got[i]}" "$wanted")]"
  done
}

if [[ -f /usr/share/bash-completion/bash_completion ]]; then check_shell bash; else missing+=(bash-completion); fi
if command -v fish >/dev/null; then check_shell fish; else missing+=(fish); fi
if command -v zsh >/dev/null; then
  if zsh -n "$completions/_quillex-cli"; then
    check_shell zsh
  else
    fail "zsh finds a syntax error in _quillex-cli"
  fi
else
  missing+=(zsh)
fi

if ((failures > 0)); then
  echo "$failures completion check(s) failed"
  exit 1
fi
if ((${#missing[@]} > 0)); then
  (IFS=,; echo "Skipped: not installed: ${missing[*]} (the rest passed)")
  exit 77
fi
echo "Completions of bash, fish and zsh agree with quillex-cli --help (${#lines[@]} command lines each)"
