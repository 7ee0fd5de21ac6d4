#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every source of the project names its licence in an SPDX line near its top (after a
# shebang or an XML declaration); names the files that do not.
#   check-licence.sh SOURCE_DIR
set -uo pipefail
root=${1:?usage: check-licence.sh SOURCE_DIR}
cd "$root" || exit 1
unmarked=()
while IFS= read -r -d '' file; do
  head -n 3 "$file" | grep -q 'SPDX-License-Identifier: GPL-3.0-or-later' || unmarked+=("$file")
done < <(find src tests bench cmake scripts docs help resources dist .ci build.sh CMakeLists.txt -type f \
  \( -name '*.cpp' -o -name '*.h' -o -name '*.c' -o -name '*.in' -o -name '*.sh' -o -name '*.awk' \
  -o -name '*.cmake' -o -name 'CMakeLists.txt' -o -name '*.html' -o -name '*.css' -o -name '*.svg' \
  -o -name '*.desktop' -o -name '*.nemo_action' -o -name '*.metainfo.xml' -o -name '*.bash' \
  -o -name '*.fish' -o -name '_*' -o -name '*.[1-9]' -o -path '.ci/*' -o -name build.sh \) -not -path 'tests/fuzz/corpus/*' -print0 | sort -z)
if [ ${#unmarked[@]} -gt 0 ]; then
  echo "No 'SPDX-License-Identifier: GPL-3.0-or-later' line in the first three lines:"
  printf '  %s\n' "${unmarked[@]}"
  exit 1
fi
