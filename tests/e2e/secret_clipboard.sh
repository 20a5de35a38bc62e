#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What the window leaves on the clipboard and the primary selection, read with
# xclip after each step, with a stand-in clipboard manager on the display: a
# message is marked for clipboard histories, a cipher text is not; Clear
# Clipboard empties both; at exit a message is dropped, not handed to the
# manager, while a cipher text is handed over.
# Usage: secret_clipboard.sh TARVEX CLIPBOARD_MANAGER TEST_DIR
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"

manager=$(realpath -m "$2")
e2e_setup "$1" "$3"

key=$E2E_DIR/key.tvk
fixed_key "$key"
message="meet at noon"

targets() { timeout 5 xclip -selection "$1" -out -target TARGETS 2>/dev/null; }
hint() { timeout 5 xclip -selection "$1" -out -target x-kde-passwordManagerHint 2>/dev/null; }
holds() { [ "$(timeout 5 xclip -selection "$1" -out -target UTF8_STRING 2>/dev/null)" = "$2" ]; }
# Nobody offers text there.
empty() { ! timeout 5 xclip -selection "$1" -out -target UTF8_STRING >/dev/null 2>&1; }
marked_secret() { [ "$(hint "$1")" = secret ] || die "the $1 holds no secret hint; its targets: $(targets "$1" | tr '\n' ' ')"; }
unmarked() { ! targets "$1" | grep -qx x-kde-passwordManagerHint || die "the $1 marks a cipher text as secret"; }
handovers() { grep -c '^SAVE_TARGETS$' "$E2E_DIR/manager.log" || true; }

step "start the clipboard manager"
"$manager" >"$E2E_DIR/manager.log" 2>&1 &
e2e_pids+=($!)
wait_for "the clipboard manager" grep -qx ready "$E2E_DIR/manager.log"

start_tarvex first "$tarvex" "$key"
window=$WINDOW pid=$WINDOW_PID

step "type a message, select it (Shift+End) and copy it in the area (Ctrl+C)"
click_message_area "$window"
type_text "$window" "$message"
keys "$window" Home shift+End ctrl+c
wait_for "the message on the clipboard" holds clipboard "$message"
marked_secret clipboard
wait_for "the message in the primary selection" holds primary "$message"
marked_secret primary

step "another program's text on the clipboard, then Clear Clipboard (Ctrl+B), Yes"
echo "from elsewhere" >"$E2E_DIR/elsewhere.txt"
set_clipboard "$E2E_DIR/elsewhere.txt"
keys "$window" ctrl+b
wait_for "the question" find_window "$pid" '^Clear Clipboard$'
keys "$found_window" Return
wait_for "the clipboard to be empty" empty clipboard
wait_for "the primary selection to be empty" empty primary

step "encrypt (Ctrl+E) and copy (Alt+C): the cipher text goes plainly"
keys "$window" ctrl+e alt+c
wait_for "the cipher text on the clipboard" clipboard_starts_with_marker
unmarked clipboard

step "decrypt (Ctrl+D) and copy with the button (Alt+C): the message is marked"
keys "$window" ctrl+d alt+c
wait_for "the message on the clipboard" holds clipboard "$message"
marked_secret clipboard

step "cut a selection in the area (Ctrl+X): marked too"
click_message_area "$window"
keys "$window" Home shift+End ctrl+x
wait_for "the cut message on the clipboard" holds clipboard "$message"
marked_secret clipboard
keys "$window" ctrl+z Home shift+End
wait_for "the message in the primary selection" holds primary "$message"

step "close the window: the message leaves with it, the manager gets nothing"
keys "$window" alt+F4
wait_for "the program to end" bash -c "! kill -0 $pid 2>/dev/null"
empty clipboard || die "the message is still on the clipboard after the program ended"
empty primary || die "the message is still in the primary selection after the program ended"
[ "$(handovers)" -eq 0 ] || die "the program handed its clipboard with the message to the clipboard manager"

step "a cipher text on the clipboard at exit is handed to the manager"
start_tarvex second "$tarvex" "$key"
window=$WINDOW pid=$WINDOW_PID
click_message_area "$window"
type_text "$window" "$message"
keys "$window" ctrl+e alt+c
wait_for "the cipher text on the clipboard" clipboard_starts_with_marker
keys "$window" alt+F4
wait_for "the program to end" bash -c "! kill -0 $pid 2>/dev/null"
[ "$(handovers)" -eq 1 ] || die "the cipher text was not offered to the clipboard manager at exit"
echo "PASS"
