#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs every benchmark against an optimised build and prints their tables.
#   bench/run-all.sh BUILD_DIR      (./build.sh bench installs the tools and builds first)
# N, RUNS, SLOW_RUNS, SIZES and SCALING_RUNS pass through to the scripts that take them.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: run-all.sh BUILD_DIR}" && pwd)

for script in "$here"/*/run.sh; do
  [ -x "$script" ] || continue
  echo "## $(basename "$(dirname "$script")")"
  "$script" "$build"
  echo
done
