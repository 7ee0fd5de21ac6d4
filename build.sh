#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# One entry point for everything a developer or CI does:
#   ./build.sh run     install what is missing, build, start Quillex
#   ./build.sh test    install what is missing, build, run every test (also built by clang and
#                      under ASan/UBSan and TSan), and build as distribution packaging does
#   ./build.sh bench   install what is missing, build optimised, print the benchmark tables
#   ./build.sh coverage  install what is missing, build the core's tests with coverage, run
#                      them, print line and branch coverage per folder of src/
set -euo pipefail
cd "$(dirname "$0")"

build() { # preset
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1"
}

# As distribution packaging builds: no preset, the default generator (Unix Makefiles),
# which unlike Ninja makes no folder for a command's output.
plain_build() {
  cmake -S . -B build/plain >/dev/null
  cmake --build build/plain --parallel "$(nproc)"
}

case "${1:-}" in
  run)
    scripts/install-deps.sh
    build default
    exec build/default/src/app/quillex "${@:2}"
    ;;
  test)
    scripts/install-deps.sh
    build default
    ctest --preset default
    build clang
    ctest --preset clang
    build fuzz
    ctest --preset fuzz
    build asan
    ctest --preset asan
    build tsan
    ctest --preset tsan
    plain_build
    ;;
  bench)
    scripts/install-deps.sh bench
    cmake --preset release >/dev/null
    cmake --build --preset release --target benchmarks # what the tables run, no tests
    exec bench/run-all.sh build/release
    ;;
  coverage)
    scripts/install-deps.sh
    build coverage
    rm -rf build/coverage/profiles
    ctest --preset coverage
    exec scripts/coverage-report.sh build/coverage
    ;;
  *)
    echo "usage: ./build.sh run|test|bench|coverage" >&2
    exit 2
    ;;
esac
