#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The layers as the code must keep them: system calls only in src/platform (everything
# else goes through its functions, so tests can put faults in and hostile files meet one
# careful place), and no core unit that reaches up into the programs or into Qt.
set -uo pipefail
src=${1:?usage: check-layers.sh SOURCE_DIR}/src
status=0

# Calls that platform/ wraps, and the standard library's doors to the same calls.
syscalls='(^|[^[:alnum:]_])(::|std::)(open|close|read|write|rename|unlink|stat|mkdir|signal)\s*\(|\b(openat|renameat2?|unlinkat|lstat|fstatat|mkdirat|opendir|readdir|fdopendir|realpath|getcwd|isatty|sigaction|socketpair|fopen)\s*\(|std::(filesystem|ofstream|ifstream|fstream)\b'
found=$(grep -rnE "$syscalls" "$src" --include='*.cpp' --include='*.h' | grep -v "^$src/platform/" |
        grep -vE '^[^:]+:[0-9]+:\s*//')
if [ -n "$found" ]; then
  echo "System calls outside src/platform:"
  echo "$found"
  status=1
fi

core='platform metadata regex jobs jobio rename settings lists'
for layer in $core; do
  upward=$(grep -rnE '#include [<"](ui/|cli/|app/|Q[A-Za-z]*[>"/])' "$src/$layer" --include='*.cpp' --include='*.h')
  if [ -n "$upward" ]; then
    echo "The core includes the programs or Qt (src/$layer):"
    echo "$upward"
    status=1
  fi
done
exit $status
