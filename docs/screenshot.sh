#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes docs/tarvex-window.png of the main window under a private Xvfb, and
# docs/tarvex-window-<language>.png in every language of po/LINGUAS whose
# catalogue the build compiled, for the README's gallery.
# Usage: docs/screenshot.sh [path to the tarvex program]
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
program=${1:-"$root/build/src/app/tarvex"}
# The build folder keeps the catalogues at share/locale, two folders above src/app.
catalogues=$(cd "$(dirname "$program")/../.." && pwd)/share/locale

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 640x560x24 -nolisten tcp &
xvfb=$!
app=
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT

export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

# shoot LANGUAGE OUT: the window as a session in LANGUAGE shows it (empty: English).
shoot() {
  LC_ALL=C.UTF-8 LANGUAGE=$1 QT_QPA_PLATFORM=xcb "$program" &
  app=$!
  local window=
  for _ in $(seq 100); do
    window=$(xdotool search --name '^Text Tarvex - v1.1$' 2>/dev/null | head -n1) && [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || { echo "the window did not appear in '${1:-English}'" >&2; exit 1; }
  sleep 1
  import -window "$window" "$2"
  kill "$app"
  wait "$app" 2>/dev/null || true
  app=
  echo "$2"
}

shoot "" "$root/docs/tarvex-window.png"
for language in $(grep -v '^#' "$root/po/LINGUAS"); do
  if [ -f "$catalogues/$language/LC_MESSAGES/tarvex.mo" ]; then
    shoot "$language" "$root/docs/tarvex-window-$language.png"
  fi
done
