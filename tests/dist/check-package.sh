#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Packs the .deb from a build and holds it to Debian's checks: lintian reports no error
# and no warning, the AppStream metadata and the desktop entry validate, the entry
# claims no file type, and the package, its changelog and its release list name the
# same version.
#   check-package.sh BUILD_DIR VERSION
set -uo pipefail
build=${1:?usage: check-package.sh BUILD_DIR VERSION}
version=${2:?usage: check-package.sh BUILD_DIR VERSION}
for tool in cpack lintian appstreamcli desktop-file-validate; do
  if ! command -v "$tool" >/dev/null; then
    echo "$tool is missing; scripts/install-deps.sh installs it"
    exit 77
  fi
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  fail "cpack could not pack the build"
  exit 1
fi
deb=$(ls "$work"/quillex_"${version}"_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || { fail "cpack made no quillex_${version}_*.deb"; exit 1; }

lintian --info --display-info --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 ||
  fail "lintian: $(grep -E '^[EW]:' "$work/lintian.log" || cat "$work/lintian.log")"
echo "lintian's informational tags:"
grep -E '^I:' "$work/lintian.log" | sed 's/^/  /'

tree="$work/tree"
dpkg-deb -x "$deb" "$tree"
appstreamcli validate-tree --pedantic --no-net "$tree" >"$work/appstream.log" 2>&1 ||
  fail "appstreamcli: $(cat "$work/appstream.log")"
for entry in "$tree"/usr/share/applications/*.desktop; do
  report=$(desktop-file-validate "$entry" 2>&1)
  [ -z "$report" ] || fail "desktop-file-validate: $report"
  # With file types, a desktop could open folders or unknown files in Quillex by default.
  ! grep -q '^MimeType=' "$entry" || fail "$(basename "$entry") claims file types: $(grep '^MimeType=' "$entry")"
done

[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "the package's version is not $version"
zcat "$tree/usr/share/doc/quillex/changelog.gz" | head -n 1 | grep -q "^quillex ($version) " ||
  fail "the changelog's latest entry is not for $version"
grep -o '<release version="[^"]*"' "$tree"/usr/share/metainfo/*.metainfo.xml | head -n 1 |
  grep -q "\"$version\"" || fail "the metainfo's latest release is not $version"
[ "$failures" -eq 0 ]
