#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages Quillex needs, skipping what is already there. Runs as
# root, or through sudo.
#   scripts/install-deps.sh          what building, the tests and the screenshots need
#   scripts/install-deps.sh bench    that and what the benchmarks need (./build.sh bench)
set -euo pipefail

packages=(
  # build
  g++ cmake ninja-build pkg-config make
  libxml2-dev libicu-dev libexiv2-dev dpkg-dev
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
  # tests: GoogleTest, the regex oracle, the fuzzer (clang + its runtime), offscreen Qt,
  # the case-insensitive test file system (libfuse3, fusermount3), a strict JSON parser
  libgtest-dev libgmock-dev libpcre2-dev clang libclang-rt-14-dev libfuse3-dev fuse3 nlohmann-json3-dev
  xvfb xauth fonts-dejavu-core imagemagick openbox xdotool dosfstools mtools
  # the layout check of every source, and clang-tidy's checks of src/ (16: the first of
  # Debian 12's versions with every check .clang-tidy names)
  clang-format clang-tidy-16
  # ./build.sh coverage: llvm-profdata and llvm-cov for clang's coverage
  llvm-14
  # the package, the manual pages, the completions and the metadata as a Debian system
  # checks them, and the Nautilus script it installs
  lintian appstream desktop-file-utils man-db bash-completion zsh fish shellcheck
)
bench_packages=(
  # Google Benchmark; hyperfine and GNU time, which time every row; the peer renamers
  # (perl rename, mmv); the exiv2 tool beside the photo date reader; bc and python3, which
  # the tables' scripts count and print with
  libbenchmark-dev hyperfine time rename mmv exiv2 bc python3
)
case "${1:-}" in
  "") ;;
  bench) packages+=("${bench_packages[@]}") ;;
  *) echo "usage: install-deps.sh [bench]" >&2; exit 2 ;;
esac

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}" >&2
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
