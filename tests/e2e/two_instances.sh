#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Two windows share a key: the sender creates it through the real Create Key
# dialog, types a message, encrypts and copies it; the receiver loads the key,
# pastes, decrypts and copies. The receiver's clipboard must hold the message
# as typed, its line breaks as CR LF.
# Usage: two_instances.sh TARVEX TEST_DIR
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"

e2e_setup "$@"

key=$E2E_DIR/shared.tvk
lines=("Meet me at 10:30, by the old gate." "" "Bring {the map} & 2 keys | not 3~!")
message_file "$E2E_DIR/message.txt" "${lines[@]}"

# A file of that name in the working folder is the user's, whatever the program does inside.
mkdir -p "$E2E_DIR/sender" "$E2E_DIR/receiver"
echo "the user's own notes" >"$E2E_DIR/receiver/temp.txt"
cp "$E2E_DIR/receiver/temp.txt" "$E2E_DIR/notes.txt"

start_tarvex sender "$tarvex"
sender=$WINDOW sender_pid=$WINDOW_PID
start_tarvex receiver "$tarvex"
receiver=$WINDOW receiver_pid=$WINDOW_PID

step "sender creates the key (Ctrl+R)"
keys "$sender" ctrl+r
file_dialog "$sender_pid" "Text Tarvex - Create Key Dialog" "$key"
wait_for "the key file $key" test -s "$key"
grep -Eq '^([0-9A-F]{2})+'$'\r''$' "$key" || die "the key file does not hold lines of hexadecimal pairs ended by CR LF"
[ "$(stat -c %a "$key")" = 600 ] || die "the key file is readable by others (mode $(stat -c %a "$key"))"
no_message_box "$sender_pid"

step "sender types, encrypts (Ctrl+E) and copies (Alt+C)"
echo "placeholder" >"$E2E_DIR/placeholder.txt"
set_clipboard "$E2E_DIR/placeholder.txt"
click_message_area "$sender"
type_lines "$sender" "${lines[@]}"
keys "$sender" ctrl+e
# The Copy button's access key also takes the focus out of the message area.
keys "$sender" alt+c
wait_for "the cipher text on the clipboard" clipboard_starts_with_marker
cp "$E2E_DIR/clipboard.now" "$E2E_DIR/cipher.txt"
no_message_box "$sender_pid"
message_chars=$(wc -m <"$E2E_DIR/message.txt")
cipher_chars=$(wc -m <"$E2E_DIR/cipher.txt")
[ "$cipher_chars" -eq $((message_chars + 1)) ] ||
  die "the cipher text has $cipher_chars characters, expected the marker and one for each of the message's $message_chars"
[ "$(tr -cd '\r\n' <"$E2E_DIR/cipher.txt" | wc -c)" -eq 0 ] || die "the cipher text holds a line break"
! cmp -s <(tail -c +3 "$E2E_DIR/cipher.txt") "$E2E_DIR/message.txt" || die "the cipher text is the message itself"

step "receiver loads the key (Ctrl+O), pastes (Ctrl+V), decrypts (Ctrl+D) and copies (Ctrl+C)"
keys "$receiver" ctrl+o
file_dialog "$receiver_pid" "Text Tarvex - Load Key Dialog" "$key"
# The focus is outside the message area, where Ctrl+V and Ctrl+C are the window's commands.
keys "$receiver" ctrl+v ctrl+d ctrl+c
wait_clipboard "$E2E_DIR/message.txt" "the typed message"
no_message_box "$receiver_pid"
[ ! -e "$E2E_DIR/sender/temp.txt" ] || die "encrypting left temp.txt in the sender's working folder"
cmp -s "$E2E_DIR/receiver/temp.txt" "$E2E_DIR/notes.txt" || die "decrypting changed temp.txt in the receiver's working folder"

step "screenshots"
screenshot_window "$sender" "$E2E_DIR/sender.png"
screenshot_window "$receiver" "$E2E_DIR/receiver.png"
echo "PASS"
