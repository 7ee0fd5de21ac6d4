# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the take-*-screenshots.sh scripts: the build folder (first argument,
# default build/default), a scratch folder removed at the end, a window manager on the
# virtual display, and shoot TITLE FILE, which waits for a window and saves its picture.
set -euo pipefail
build=${1:-build/default}
docs=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT

openbox >/dev/null 2>&1 &
sleep 1

shoot() { # window title (a regular expression), file in docs/
  local id
  id=$(timeout 10 xdotool search --sync --onlyvisible --name "^$1\$" | head -1)
  sleep 0.5
  import -frame -window "$id" "$docs/$2"
}
