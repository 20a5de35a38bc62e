#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# File mode: a typed message, encrypted, saved through the real Save dialog
# holds the cipher text's Windows-1252 bytes and CR LF, the same bytes as
# tarvex-cli's; loaded back through the real Load dialog it decrypts to the
# message. A file written by tarvex-cli loads and decrypts as well.
# Usage: file_mode.sh TARVEX TARVEX_CLI TEST_DIR
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"

e2e_setup "$@"

key=$E2E_DIR/fixed.tvk
fixed_key "$key"
d=$E2E_DIR
lines=("File mode, line one." "Second: {x|y} ~ 42% off")
message_file "$d/typed.crlf" "${lines[@]}"
"$cli" encrypt -k "$key" -e cp1252 -o "$d/expected-sealed.txt" "$d/typed.crlf" || die "tarvex-cli encrypt failed"
[ "$(tail -c 2 "$d/expected-sealed.txt" | od -An -tx1 | tr -d ' ')" = 0d0a ] || die "tarvex-cli's file does not end in CR LF"

start_tarvex window "$tarvex"
window=$WINDOW pid=$WINDOW_PID

step "File mode (Ctrl+F) and the key (Ctrl+O)"
keys "$window" ctrl+f ctrl+o
file_dialog "$pid" "Text Tarvex - Load Key Dialog" "$key"

step "type, encrypt (Ctrl+E) and save (Ctrl+S)"
click_message_area "$window"
type_lines "$window" "${lines[@]}"
keys "$window" ctrl+e ctrl+s
file_dialog "$pid" "Text Tarvex - Save File Dialog" "$d/sealed.txt"
wait_for "the saved file $d/sealed.txt" test -s "$d/sealed.txt"
no_message_box "$pid"
if ! cmp "$d/sealed.txt" "$d/expected-sealed.txt"; then
  od -c "$d/sealed.txt" >&2
  od -c "$d/expected-sealed.txt" >&2
  die "the saved file is not the cipher text's bytes and CR LF that tarvex-cli writes"
fi
"$cli" decrypt -k "$key" -e cp1252 -o "$d/sealed-decrypted.txt" "$d/sealed.txt" || die "tarvex-cli cannot decrypt the saved file"
cmp "$d/sealed-decrypted.txt" "$d/typed.crlf" || die "the saved file does not decrypt to the typed message"

step "clear (Ctrl+T), load it back (Ctrl+L), decrypt (Ctrl+D), copy (Alt+C)"
echo "placeholder" >"$d/placeholder.txt"
set_clipboard "$d/placeholder.txt"
keys "$window" ctrl+t ctrl+l
file_dialog "$pid" "Text Tarvex - Load File Dialog" "$d/sealed.txt"
keys "$window" ctrl+d alt+c
wait_clipboard "$d/typed.crlf" "the typed message, loaded back and decrypted"
no_message_box "$pid"

step "a file from tarvex-cli with 8-bit characters loads (Ctrl+L) and decrypts"
# shellcheck disable=SC1111 # the curly quotes belong to the message
printf '%s\r\n' "GRÖSSE: 5 €, Ä/Ö/Ü — “fine”" $'\tindented' "{end}~" | head -c -2 >"$d/letter.utf8"
cp1252 "$d/letter.utf8" "$d/letter.cp1252"
"$cli" encrypt -k "$key" -e cp1252 -o "$d/letter-sealed.txt" "$d/letter.cp1252" || die "tarvex-cli encrypt failed"
keys "$window" ctrl+t ctrl+l
file_dialog "$pid" "Text Tarvex - Load File Dialog" "$d/letter-sealed.txt"
keys "$window" ctrl+d alt+c
wait_clipboard "$d/letter.utf8" "the letter from tarvex-cli's file, decrypted"
no_message_box "$pid"

step "screenshot"
screenshot_window "$window" "$d/window.png"
echo "PASS"
