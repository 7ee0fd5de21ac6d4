#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Packs the .deb from a build and holds it to Debian's checks: lintian reports no error
# and no warning, the AppStream metadata and the desktop entries validate, the menu
# entry claims no file type, and the package, its changelog and its release list name
# the same version. The file managers' entries hand Quillex every selected path, and
# the Nautilus script passes each name as one argument.
#   check-package.sh BUILD_DIR VERSION
set -uo pipefail
build=${1:?usage: check-package.sh BUILD_DIR VERSION}
version=${2:?usage: check-package.sh BUILD_DIR VERSION}
for tool in cpack lintian appstreamcli desktop-file-validate shellcheck; do
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
deb=$(find "$work" -maxdepth 1 -name "quillex_${version}_*.deb" | head -n 1)
[ -n "$deb" ] || { fail "cpack made no quillex_${version}_*.deb"; exit 1; }

lintian --info --display-info --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 ||
  fail "lintian: $(grep -E '^[EW]:' "$work/lintian.log" || cat "$work/lintian.log")"
echo "lintian's informational tags:"
grep -E '^I:' "$work/lintian.log" | sed 's/^/  /'

tree="$work/tree"
dpkg-deb -x "$deb" "$tree"
appstreamcli validate-tree --pedantic --no-net "$tree" >"$work/appstream.log" 2>&1 ||
  fail "appstreamcli: $(cat "$work/appstream.log")"
servicemenu="$tree/usr/share/kio/servicemenus/quillex.desktop"
action="$tree/usr/share/file-manager/actions/quillex.desktop"
nemo="$tree/usr/share/nemo/actions/quillex.nemo_action"
script="$tree/usr/share/quillex/Rename with Quillex..."
for file in "$servicemenu" "$action" "$nemo" "$script"; do
  [ -f "$file" ] || fail "the package has no ${file#"$tree"}"
done
for entry in "$tree"/usr/share/applications/*.desktop "$servicemenu"; do
  report=$(desktop-file-validate "$entry" 2>&1)
  [ -z "$report" ] || fail "desktop-file-validate: $report"
done
# caja-actions reads an action only with Type=Action, and its command only from a
# profile that Profiles names: desktop-file-validate rejects those two and nothing else.
report=$(desktop-file-validate "$action" 2>&1 |
  grep -v -e 'value "Action" for key "Type"' -e 'contains key "Profiles" in group "Desktop Entry"')
[ -z "$report" ] || fail "desktop-file-validate: $report"
# With file types, a desktop could open folders or unknown files in Quillex by default.
for entry in "$tree"/usr/share/applications/*.desktop; do
  ! grep -q '^MimeType=' "$entry" || fail "$(basename "$entry") claims file types: $(grep '^MimeType=' "$entry")"
done
# %F hands over every selected path; %f would hand over the first alone.
for entry in "$tree"/usr/share/applications/*.desktop "$servicemenu" "$action" "$nemo"; do
  if ! grep -q '^Exec=' "$entry" || grep '^Exec=' "$entry" | grep -qvx 'Exec=quillex %F'; then
    fail "${entry#"$tree"} does not run quillex %F: $(grep '^Exec=' "$entry")"
  fi
done
# Nemo offers an action only with these keys: here for any selection of files and folders.
nemo_keys=$(sed -n '/^\[Nemo Action\]$/,/^\[/p' "$nemo")
for key in '^Name=.' '^Selection=notnone$' '^Extensions=any;$'; do
  grep -q "$key" <<<"$nemo_keys" || fail "the Nemo action has no $key"
done

# Nautilus runs the script in the folder shown, with the selected names as arguments.
report=$(shellcheck "$script" 2>&1) || fail "shellcheck: $report"
mkdir "$work/bin" "$work/folder"
printf '#!/bin/sh\nprintf "%%s\\0" "$@"\n' >"$work/bin/quillex"
chmod +x "$work/bin/quillex"
names=('two words' "it's" 'say "hi"' '-n' '--help' $'new\nline')
touch "${names[@]/#/$work/folder/}"
expected=("${names[@]/#/./}" "$work/folder/-n")
(cd "$work/folder" && PATH="$work/bin:$PATH" "$script" "${names[@]}" "$work/folder/-n") >"$work/args" ||
  fail "the Nautilus script failed"
if ! printf '%s\0' "${expected[@]}" | cmp -s - "$work/args"; then
  mapfile -d '' passed <"$work/args"
  fail "the Nautilus script passed $(printf '%q ' "${passed[@]}")instead of each name alone"
fi

[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "the package's version is not $version"
zcat "$tree/usr/share/doc/quillex/changelog.gz" | head -n 1 | grep -q "^quillex ($version) " ||
  fail "the changelog's latest entry is not for $version"
grep -o '<release version="[^"]*"' "$tree"/usr/share/metainfo/*.metainfo.xml | head -n 1 |
  grep -q "\"$version\"" || fail "the metainfo's latest release is not $version"
[ "$failures" -eq 0 ]
