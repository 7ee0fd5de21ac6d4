#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The manual pages against the programs' own --help, so neither drifts from the other:
# every command of quillex-cli has its section in quillex-cli(1), every long option of a
# command's --help is in that section and every option of the section is in the --help
# (the global options likewise under OPTIONS); the version is the program's; and man
# renders both pages without a warning.
#   check-man.sh QUILLEX QUILLEX_CLI SOURCE_DIR
set -uo pipefail
quillex=${1:?usage: check-man.sh QUILLEX QUILLEX_CLI SOURCE_DIR}
cli=${2:?usage: check-man.sh QUILLEX QUILLEX_CLI SOURCE_DIR}
pages=${3:?usage: check-man.sh QUILLEX QUILLEX_CLI SOURCE_DIR}/dist/man
if ! command -v man >/dev/null; then
  echo "man is missing; scripts/install-deps.sh installs it"
  exit 77
fi
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# The long options of a --help text: on each option line, before the description.
help_options() {
  sed -n 's/^ \{1,4\}\(-[^ ]*\([ ,] *-[^ ]*\)*\).*/\1/p' | grep -o -- '--[a-z][a-z-]*' | grep -v -- '-$' | sort -u
}
# The long options of one part of a page's source: from the line matching START up to the
# next line matching END.
page_options() { # page start end
  awk -v start="$2" -v end="$3" '$0 ~ start {on = 1; next} on && $0 ~ end {on = 0} on' "$1" |
    sed 's/\\-/-/g; s/\\f[BIRP]//g' | grep -o -- '--[a-z][a-z-]*' | grep -v -- '-$' | sort -u
}
compare() { # what, help options, page options
  local missing extra
  missing=$(comm -23 <(echo "$2") <(echo "$3") | tr '\n' ' ')
  extra=$(comm -13 <(echo "$2") <(echo "$3") | tr '\n' ' ')
  [ -z "$missing" ] || fail "$1: in --help, not in the page: $missing"
  [ -z "$extra" ] || fail "$1: in the page, not in --help: $extra"
}

# quillex-cli: the commands, then each command's options, then the global ones.
page="$pages/quillex-cli.1"
commands=$("$cli" --help | awk '/^[A-Za-z ]*[Cc]ommands:/ {on = 1; next} on && /^[^ ]/ {on = 0}
                                 on && match($0, /^  [a-z][a-z-]*/) {print substr($0, 3, RLENGTH - 2)}')
[ -n "$commands" ] || fail "quillex-cli --help lists no commands"
for command in $commands; do
  grep -q "^\.SS \"$command[ \"]" "$page" || fail "quillex-cli $command has no section in the page"
  # A command that takes jobs says so in its heading; they are described once, under
  # JOB OPTIONS.
  section=$(page_options "$page" "^\\.SS \"$command[ \"]" '^\.S[SH] ')
  if grep -q "^\.SS \"$command .*JOB OPTIONS" "$page"; then
    section=$(printf '%s\n%s\n' "$section" "$(page_options "$page" '^\.SH JOB OPTIONS' '^\.S[SH] ')" | sort -u)
  fi
  compare "quillex-cli $command" "$("$cli" "$command" --help | help_options | grep -vx -- --help)" "$section"
done
compare "quillex-cli" "$("$cli" --help | help_options)" \
  "$(page_options "$page" '^\.SH OPTIONS' '^\.S[SH] ')"

# quillex: its few options.
compare "quillex" "$("$quillex" --help | help_options)" \
  "$(page_options "$pages/quillex.1" '^\.SH OPTIONS' '^\.S[SH] ')"

for program in "$quillex" "$cli"; do
  name=$(basename "$program")
  version=$("$program" --version | sed -n 's/^Quillex v//p')
  grep -q "^\.TH .*\"Quillex $version\"" "$pages/$name.1" || fail "$name.1 is not for version $version"
  warnings=$(MANWIDTH=80 LC_ALL=C.UTF-8 man --warnings -l "$pages/$name.1" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man warns about $name.1: $warnings"
done
[ "$failures" -eq 0 ]
