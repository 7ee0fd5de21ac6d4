#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every C and C++ source of the project as clang-format lays it out (.clang-format at the
# top); names the files that are not, with the command that fixes them.
#   check-format.sh SOURCE_DIR CLANG_FORMAT
set -uo pipefail
root=${1:?usage: check-format.sh SOURCE_DIR CLANG_FORMAT}
format=${2:?usage: check-format.sh SOURCE_DIR CLANG_FORMAT}
if ! command -v "$format" >/dev/null; then
  echo "clang-format is missing; scripts/install-deps.sh installs it"
  exit 1
fi
cd "$root" || exit 1
unformatted=()
while IFS= read -r -d '' file; do
  "$format" --dry-run -Werror "$file" >/dev/null 2>&1 || unformatted+=("$file")
done < <(find src tests bench -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.c' \) -print0 | sort -z)
if [ ${#unformatted[@]} -gt 0 ]; then
  echo "Not formatted (fix with: $format -i FILE...):"
  printf '  %s\n' "${unformatted[@]}"
  exit 1
fi
