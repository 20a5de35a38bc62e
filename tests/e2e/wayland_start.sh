#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The window on Wayland: a headless Weston of its own, tarvex through Qt's
# Wayland platform plugin. The window must connect, announce the desktop file
# id as its app id (so the compositor matches it to its desktop entry), and
# stay up. Skips (exit 77) only when Weston is not installed.
# Usage: wayland_start.sh TARVEX APP_ID TEST_DIR
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"

tarvex=$(realpath -m "$1") app_id=$2
E2E_DIR=$3
if ! command -v weston >/dev/null 2>&1; then
  echo "SKIP: weston is not installed (Debian package weston)"
  exit 77
fi
[ -x "$tarvex" ] || die "$tarvex is not a program"
rm -rf "$E2E_DIR"
mkdir -p "$E2E_DIR"
trap e2e_cleanup EXIT
trap 'exit 130' INT TERM
export HOME=$E2E_DIR/home XDG_CONFIG_HOME=$E2E_DIR/home/.config XDG_RUNTIME_DIR=$E2E_DIR/runtime
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset DISPLAY SESSION_MANAGER DBUS_SESSION_BUS_ADDRESS
export LC_ALL=C.UTF-8
socket=tarvex-e2e-$$

step "start a headless Weston"
weston --backend=headless-backend.so --socket="$socket" --no-config --idle-time=0 >"$E2E_DIR/weston.log" 2>&1 &
weston_pid=$!
e2e_pids+=("$weston_pid")
weston_listening() {
  kill -0 "$weston_pid" 2>/dev/null || die "weston has ended"
  [ -S "$XDG_RUNTIME_DIR/$socket" ]
}
wait_for "weston's socket $socket" weston_listening

step "start tarvex on Wayland"
env QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY="$socket" WAYLAND_DEBUG=1 "$tarvex" >"$E2E_DIR/tarvex.log" 2>&1 &
tarvex_pid=$!
e2e_pids+=("$tarvex_pid")
announced() {
  kill -0 "$tarvex_pid" 2>/dev/null || die "tarvex has ended"
  grep -qF "xdg_toplevel@" "$E2E_DIR/tarvex.log" &&
    grep -F ".set_app_id(" "$E2E_DIR/tarvex.log" | grep -qF "\"$app_id\""
}
wait_for "the window's app id $app_id in the Wayland protocol" announced
grep -F 'xdg_toplevel@' "$E2E_DIR/tarvex.log" | grep -qF 'set_title("Text Tarvex - v1.1")' ||
  die "the top-level surface is not titled 'Text Tarvex - v1.1'"

step "tarvex stays up"
# The first frames are drawn and answered by now; a crash after them shows here.
sleep 3
kill -0 "$tarvex_pid" 2>/dev/null || die "tarvex ended on Wayland"
kill -0 "$weston_pid" 2>/dev/null || die "weston ended"

step "end both"
kill "$tarvex_pid"
wait "$tarvex_pid" 2>/dev/null || true
kill "$weston_pid"
wait "$weston_pid" 2>/dev/null || true
[ ! -e "$XDG_RUNTIME_DIR/$socket" ] || die "weston left its socket behind"
rm -rf "$XDG_RUNTIME_DIR"
echo "PASS"
