#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The window and tarvex-cli understand each other through the clipboard: a
# cipher text from tarvex-cli pasted into the window decrypts to the message,
# and the window's own cipher text of it is the same text and decrypts with
# tarvex-cli. The message holds characters beyond ASCII and a tab.
# Usage: cli_exchange.sh TARVEX TARVEX_CLI TEST_DIR
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"

e2e_setup "$@"

key=$E2E_DIR/fixed.tvk
fixed_key "$key"
d=$E2E_DIR
# shellcheck disable=SC1111 # the curly quotes belong to the message
printf '%s\n' "€€€€€ ÄÖÜ É Æ Ø Å ‰ “quoted” ¿QUÉ?" $'Preis:\t10 € — {ok} ~|' >"$d/message.lf"
truncate -s -1 "$d/message.lf"        # no line break after the last line
sed 's/$/\r/' "$d/message.lf" | head -c -1 >"$d/message.crlf" # the window's CR LF
[ "$(tail -c 1 "$d/message.crlf" | od -An -c | tr -d ' ')" = '|' ] || die "the CR LF message is malformed"

step "tarvex-cli encrypts"
"$cli" encrypt -k "$key" -o "$d/cli-cipher.lf" "$d/message.lf" || die "tarvex-cli encrypt failed"
[ "$(tail -c 1 "$d/cli-cipher.lf" | od -An -tx1 | tr -d ' ')" = 0a ] || die "tarvex-cli's cipher text does not end in LF"
head -c -1 "$d/cli-cipher.lf" >"$d/cli-cipher.txt"

start_tarvex window "$tarvex"
window=$WINDOW pid=$WINDOW_PID

step "the window loads the key (Ctrl+O)"
keys "$window" ctrl+o
file_dialog "$pid" "Text Tarvex - Load Key Dialog" "$key"

step "tarvex-cli's cipher text pasted (Ctrl+V) and decrypted (Ctrl+D) in the window"
set_clipboard "$d/cli-cipher.txt"
keys "$window" ctrl+v ctrl+d ctrl+c
wait_clipboard "$d/message.crlf" "the message decrypted by the window"
no_message_box "$pid"

step "the window encrypts it again (Ctrl+E) and copies (Ctrl+C)"
keys "$window" ctrl+e ctrl+c
wait_for "the window's cipher text on the clipboard" clipboard_starts_with_marker
cp "$d/clipboard.now" "$d/window-cipher.txt"
no_message_box "$pid"
if ! cmp "$d/window-cipher.txt" "$d/cli-cipher.txt"; then
  od -c "$d/window-cipher.txt" >&2
  od -c "$d/cli-cipher.txt" >&2
  die "the window's cipher text differs from tarvex-cli's for the same message and key"
fi

step "tarvex-cli decrypts the window's cipher text"
"$cli" decrypt -k "$key" -o "$d/cli-message.lf" "$d/window-cipher.txt" || die "tarvex-cli decrypt failed"
cmp "$d/cli-message.lf" "$d/message.lf" || die "tarvex-cli did not decrypt the window's cipher text to the message"

step "screenshot"
screenshot_window "$window" "$d/window.png"
echo "PASS"
