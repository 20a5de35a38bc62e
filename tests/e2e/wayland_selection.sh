#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The primary selection on Wayland, which Weston lacks: the window on a sway of
# its own (its X11 backend on a private Xvfb, drawn without a GPU), read with
# wl-paste. A message selected in the area is offered there; Clear Clipboard
# leaves nothing to paste in it, also after another program's text; and a
# message still selected when the window ends leaves with it. Sway refuses to
# run as root, so under root it runs as nobody.
# Usage: wayland_selection.sh TARVEX TARVEX_CLI TEST_DIR
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"

need sway sway
need wl-paste wl-clipboard
need wl-copy wl-clipboard
need setpriv util-linux
e2e_setup "$@"
key=$E2E_DIR/key.tvk
"$cli" create-key "$key" || die "tarvex-cli could not create a key"
message="meet at noon"

step "start sway on the X display"
# Its runtime folder must belong to the user it runs as, in a place that user can reach.
runtime=$(mktemp -d /tmp/tarvex-sway.XXXXXX)
trap 'status=$?; rm -rf "$runtime"; (exit "$status"); e2e_cleanup' EXIT
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  chown nobody "$runtime"
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
"${as_user[@]}" env -i PATH=/usr/bin:/bin HOME="$runtime" XDG_RUNTIME_DIR="$runtime" DISPLAY="$DISPLAY" \
  WLR_BACKENDS=x11 WLR_RENDERER=pixman WLR_X11_OUTPUTS=1 sway -c /dev/null >"$E2E_DIR/sway.log" 2>&1 &
sway_pid=$!
e2e_pids+=("$sway_pid")
# Sway's output is the one window openbox manages.
sway_ready() {
  kill -0 "$sway_pid" 2>/dev/null || die "sway has ended"
  local candidate
  socket=
  for candidate in "$runtime"/wayland-?; do
    if [ -S "$candidate" ]; then socket=${candidate##*/}; fi
  done
  local listed
  listed=$(xprop -root _NET_CLIENT_LIST 2>/dev/null | grep -oE '0x[0-9a-f]+' | head -n1) || true
  [ -n "$socket" ] && [ -n "$listed" ] || return 1
  # In decimal, as xdotool names windows.
  compositor_window=$((listed))
}
wait_for "sway's socket and window" sway_ready
export XDG_RUNTIME_DIR=$runtime WAYLAND_DISPLAY=$socket

pasted=
# Sway lets wl-paste read the selection without the keyboard.
selection_holds() { pasted=$(timeout 5 wl-paste --primary --no-newline 2>/dev/null) && [ "$pasted" = "$1" ]; }
nothing_selected() {
  local status=0
  pasted=$(timeout 5 wl-paste --primary --no-newline 2>/dev/null) || status=$?
  [ "$status" -ne 124 ] || die "wl-paste did not answer"
  [ "$status" -ne 0 ]
}

wl_start_window first "$tarvex" "$key"
step "type a message and select it (Shift+Home)"
type_text "$compositor_window" "$message"
wl_press shift+Home
wait_for "the message in the primary selection" selection_holds "$message"

step "Clear Clipboard (Ctrl+B), Yes: nothing in the primary selection"
wl_clear_clipboard
wait_for "the primary selection to hold nothing" nothing_selected

step "another program's text there, then Clear Clipboard"
wl-copy --primary "from elsewhere"
wait_for "the other text in the primary selection" selection_holds "from elsewhere"
wl_clear_clipboard
wait_for "the primary selection to hold nothing" nothing_selected

step "select the message again and end the window: nothing in the primary selection"
wl_press End shift+Home
wait_for "the message in the primary selection" selection_holds "$message"
wl_exit_window
nothing_selected || die "after the window ended the primary selection still gives: $pasted"
echo "PASS"
