#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A sealed message in Polish, Russian and Greek with an emoji goes from one
# window to another through the real clipboard. The sender types the Polish
# line on a Polish keyboard, pastes the rest into the message area, seals
# (Ctrl+Shift+E) and copies: the clipboard holds one line of base58 digits
# after tarvex1, as long as the message seals to, which tarvex-cli opens to
# the message. The receiver, with the same key loaded, pastes, decrypts and
# copies: the clipboard holds the message byte for byte, its line breaks as
# CR LF.
# Usage: sealed_exchange.sh TARVEX TARVEX_CLI TEST_DIR
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"

e2e_setup "$@"
d=$E2E_DIR
need setxkbmap x11-xkb-utils
# On a Polish layout xdotool types the accented letters with AltGr. Letters
# missing from the layout it types by remapping a key for each, which the
# window misses every so often.
setxkbmap -layout pl || die "the Polish keyboard layout cannot be set"
key=$d/shared.tvk

typed="Zażółć gęślą jaźń"
pasted=("Привет, мир!" "Καλημέρα κόσμε 😀")
printf '%s\n' "$typed" "${pasted[@]}" | head -c -1 >"$d/message.lf"
message_file "$d/message.crlf" "$typed" "${pasted[@]}"
# Pasted after the typed line and its Return.
printf '%s\n' "${pasted[@]}" | head -c -1 >"$d/pasted.txt"

step "tarvex-cli creates the shared key"
"$cli" create-key "$key" >"$d/create-key.log" 2>&1 || die "tarvex-cli create-key failed: $(cat "$d/create-key.log")"

start_tarvex sender "$tarvex" "$key"
sender=$WINDOW sender_pid=$WINDOW_PID
start_tarvex receiver "$tarvex"
receiver=$WINDOW receiver_pid=$WINDOW_PID

step "sender types a line, pastes two (Ctrl+V in the area), seals (Ctrl+Shift+E) and copies (Alt+C)"
set_clipboard "$d/pasted.txt"
click_message_area "$sender"
type_text "$sender" "$typed"
keys "$sender" Return ctrl+v ctrl+shift+e
# The Copy button's access key also takes the focus out of the message area.
keys "$sender" alt+c
has_token() { clipboard_to "$d/clipboard.now" && [ "$(head -c 7 "$d/clipboard.now")" = tarvex1 ]; }
wait_for "the sealed token on the clipboard" has_token
cp "$d/clipboard.now" "$d/token.txt"
no_message_box "$sender_pid"

step "the token is one line of base58 digits, as long as the message seals to"
[ "$(tr -cd '\r\n' <"$d/token.txt" | wc -c)" -eq 0 ] || die "the token holds a line break"
# Every word of the message has a letter beyond ASCII, so none can hide among the digits.
tail -c +8 "$d/token.txt" | LC_ALL=C grep -Eqx '[1-9A-HJ-NP-Za-km-z]+' || die "the token holds more than base58 digits: $(cat "$d/token.txt")"
# Header 24, authentication 17 and check 4 bytes around the message as UTF-8 with LF.
bytes=$(($(wc -c <"$d/message.lf") + 45))
digits=(0 2 3 5 6 7 9 10)
expected=$((7 + 11 * (bytes / 8) + digits[bytes % 8]))
[ "$(wc -c <"$d/token.txt")" -eq "$expected" ] ||
  die "the token has $(wc -c <"$d/token.txt") characters, not the $expected that $bytes bytes of sealed message make"

step "tarvex-cli opens the window's token to the message"
"$cli" decrypt --sealed -k "$key" -o "$d/cli-opened.txt" "$d/token.txt" 2>"$d/cli-open.log" ||
  die "tarvex-cli cannot open the window's token: $(cat "$d/cli-open.log")"
cmp "$d/cli-opened.txt" "$d/message.lf" || die "tarvex-cli opens the window's token to something else than the message"

step "receiver loads the key (Ctrl+O), pastes (Ctrl+V), decrypts (Ctrl+D) and copies (Ctrl+C)"
keys "$receiver" ctrl+o
file_dialog "$receiver_pid" "Text Tarvex - Load Key Dialog" "$key"
# The focus is outside the message area, where Ctrl+V and Ctrl+C are the window's commands.
keys "$receiver" ctrl+v ctrl+d ctrl+c
wait_clipboard "$d/message.crlf" "the sealed message opened"
no_message_box "$receiver_pid"

step "screenshots"
screenshot_window "$sender" "$d/sender.png"
screenshot_window "$receiver" "$d/receiver.png"
echo "PASS"
