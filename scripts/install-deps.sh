#!/usr/bin/env bash
# Installs every Debian package that Quillex's build, tests and benchmarks need,
# skipping what is already there. Runs as root, or through sudo.
set -euo pipefail

packages=(
  # build
  g++ cmake ninja-build pkg-config make
  libxml2-dev libicu-dev libcli11-dev dpkg-dev
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
  # tests: GoogleTest, the regex oracle, the fuzzer (clang + its runtime), offscreen Qt,
  # the case-insensitive test file system (libfuse3, fusermount3)
  libgtest-dev libgmock-dev libpcre2-dev clang libclang-rt-14-dev libfuse3-dev fuse3
  xvfb xauth fonts-dejavu-core imagemagick openbox xdotool dosfstools mtools
  # benchmarks: Google Benchmark and the peer harness's tools
  libbenchmark-dev hyperfine time rename mmv bc
)

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
