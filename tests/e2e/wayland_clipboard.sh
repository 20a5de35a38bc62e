#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What a paste gives on Wayland after the window empties the clipboard, read
# with wl-paste: the window on a Weston of its own (its X11 backend on a
# private Xvfb, as the headless one has no keyboard), driven with xdotool.
# Weston keeps a copy of the clipboard's text and offers it again when the
# offer is withdrawn, so only taking the clipboard with an empty offer leaves
# nothing to paste: after Clear Clipboard, for a message and for another
# program's text, and after the window ends; a cipher text stays.
# Usage: wayland_clipboard.sh TARVEX TARVEX_CLI TEST_DIR
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"

need weston weston
need wl-paste wl-clipboard
need wl-copy wl-clipboard
e2e_setup "$@"
key=$E2E_DIR/key.tvk
"$cli" create-key "$key" || die "tarvex-cli could not create a key"
message="meet at noon"
socket=tarvex-e2e-$$

step "start Weston on the X display"
weston --backend=x11-backend.so --use-pixman --width=800 --height=600 --socket="$socket" --no-config \
  --idle-time=0 >"$E2E_DIR/weston.log" 2>&1 &
weston_pid=$!
e2e_pids+=("$weston_pid")
weston_window() {
  kill -0 "$weston_pid" 2>/dev/null || die "weston has ended"
  [ -S "$XDG_RUNTIME_DIR/$socket" ] || return 1
  compositor_window=$(xdotool search --onlyvisible --class '^Weston Compositor$' 2>/dev/null | head -n1) || true
  [ -n "$compositor_window" ]
}
wait_for "weston's socket and window" weston_window
export WAYLAND_DISPLAY=$socket

# borrowing_keyboard COMMAND...: wl-copy and wl-paste take the keyboard for a
# moment, as Weston lets only the client with the keyboard set or read the
# clipboard; this waits until the window has it back, so that the next keys
# reach it.
borrowing_keyboard() {
  local before status=0
  before=$(wl_enters)
  "$@" || status=$?
  if kill -0 "$pid" 2>/dev/null; then
    wait_for "the window to have the keyboard back" keyboard_back_since "$before"
  fi
  return "$status"
}
keyboard_back_since() { [ "$(wl_enters)" -gt "$1" ] && wl_keyboard_on "$wl_main"; }

pasted=
paste_now() {
  local status=0
  pasted=$(timeout 5 wl-paste --no-newline 2>"$E2E_DIR/wl-paste.err") || status=$?
  [ "$status" -ne 124 ] || die "wl-paste did not answer"
  return "$status"
}
holds() { borrowing_keyboard paste_now && [ "$pasted" = "$1" ]; }
holds_cipher_text() {
  borrowing_keyboard paste_now && [ "$(printf %s "$pasted" | head -c 2 | od -An -tx1 | tr -d ' \n')" = c3b0 ]
}
nothing_to_paste() { ! borrowing_keyboard paste_now; }

wl_start_window first "$tarvex" "$key"
step "type a message, encrypt (Ctrl+E), decrypt (Ctrl+D) and copy it (Alt+C)"
type_text "$compositor_window" "$message"
# Until the copy is made, so that wl-paste does not take the keyboard before the keys arrive.
offers=$(wl_offers)
wl_press ctrl+e ctrl+d alt+c
wait_for "the window to copy" wl_offered_since "$offers"
wait_for "the message on the clipboard" holds "$message"

step "Clear Clipboard (Ctrl+B), Yes: nothing to paste"
wl_clear_clipboard
wait_for "the clipboard to hold nothing" nothing_to_paste

step "another program's text, then Clear Clipboard: nothing to paste"
borrowing_keyboard wl-copy "from elsewhere"
wait_for "the other text on the clipboard" holds "from elsewhere"
wl_clear_clipboard
wait_for "the clipboard to hold nothing" nothing_to_paste

step "encrypt and copy: the cipher text stays after the window ends"
offers=$(wl_offers)
wl_press ctrl+e alt+c
wait_for "the window to copy" wl_offered_since "$offers"
wait_for "the cipher text on the clipboard" holds_cipher_text
wl_exit_window
wait_for "the cipher text to stay on the clipboard" holds_cipher_text

wl_start_window second "$tarvex" "$key"
step "copy a message and end the window: nothing to paste"
type_text "$compositor_window" "$message"
offers=$(wl_offers)
wl_press alt+c
wait_for "the window to copy" wl_offered_since "$offers"
wait_for "the message on the clipboard" holds "$message"
wl_exit_window
nothing_to_paste || die "after the window ended a paste still gives: $pasted"
echo "PASS"
