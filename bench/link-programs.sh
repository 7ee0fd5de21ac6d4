#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Links the built programs a table runs into BIN_DIR, so that the table's commands read as
# a person would type them; names the first one missing.
#   bench/link-programs.sh BUILD_DIR BIN_DIR PROGRAM...   (paths below BUILD_DIR)
set -euo pipefail
build=${1:?usage: link-programs.sh BUILD_DIR BIN_DIR PROGRAM...}
bin=${2:?usage: link-programs.sh BUILD_DIR BIN_DIR PROGRAM...}
for program in "${@:3}"; do
  [ -x "$build/$program" ] || {
    echo "run.sh: $build/$program is missing; build the release preset's benchmarks target first" >&2
    exit 1
  }
  ln -s "$build/$program" "$bin/"
done
