#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes docs/tarvex-window.png of the main window under a private Xvfb.
# Usage: docs/screenshot.sh [path to the tarvex program]
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
program=${1:-"$root/build/src/app/tarvex"}
out="$root/docs/tarvex-window.png"

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

QT_QPA_PLATFORM=xcb "$program" &
app=$!
window=
for _ in $(seq 100); do
  window=$(xdotool search --name '^Text Tarvex - v1.1$' 2>/dev/null | head -n1) && [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { echo "the window did not appear" >&2; exit 1; }
sleep 1
import -window "$window" "$out"
echo "$out"
