#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes DIR anew as make-tree.sh's tree, for a run that must start from the original names.
#   bench/fresh-tree.sh flat|deep DIR [COUNT]
# The old DIR is moved into DIR.trash/ rather than deleted: ext4 does not hand out an
# inode freed in the last minute or so again, and checking each such inode made a delete
# and remake of 100,000 files take 50 s instead of 3. The caller deletes DIR.trash/.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
dir=${2:?usage: fresh-tree.sh flat|deep DIR [COUNT]}

if [ -e "$dir" ]; then
  mkdir -p "$dir.trash"
  mv "$dir" "$(mktemp -d "$dir.trash/XXXXXX")/"
fi
"$here/make-tree.sh" "$@"
sync
