#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The window's command line, as a file manager uses it: `tarvex KEYFILE`
# starts with that key chosen, and reads it only when a text is decrypted (the
# key file here is written after the window is up, and named relative to the
# window's folder). --help and --version answer without any display; an unknown
# option or a second key file is wrong usage.
# Usage: key_argument.sh TARVEX TARVEX_CLI TEST_DIR
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"

e2e_setup "$@"
d=$E2E_DIR

step "--help and --version without a display"
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$tarvex" --help >"$d/help.out" 2>"$d/help.err" ||
  die "tarvex --help failed: $(cat "$d/help.err")"
grep -q 'KEYFILE' "$d/help.out" || die "tarvex --help does not name KEYFILE"
grep -q -- '--version' "$d/help.out" || die "tarvex --help does not name --version"
version=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$tarvex" --version 2>"$d/version.err") ||
  die "tarvex --version failed: $(cat "$d/version.err")"
[[ $version == "Text Tarvex "[0-9]* ]] || die "tarvex --version printed '$version'"

step "wrong usage exits 2 with a message and no window"
for args in "--no-such-option" "one.tvk two.tvk"; do
  status=0
  # shellcheck disable=SC2086 # the words are the arguments
  timeout "$E2E_TIMEOUT" env QT_QPA_PLATFORM=xcb "$tarvex" $args >"$d/usage.out" 2>"$d/usage.err" || status=$?
  [ "$status" -eq 2 ] || die "tarvex $args exited with $status, not 2"
  grep -q '^tarvex: ' "$d/usage.err" || die "tarvex $args gave no message on standard error: $(cat "$d/usage.err")"
  [ ! -s "$d/usage.out" ] || die "tarvex $args printed to standard output"
done

step "the window starts with a key file that does not exist yet"
start_tarvex window "$tarvex" ../later.tvk
window=$WINDOW pid=$WINDOW_PID
no_message_box "$pid"

step "the key file appears; tarvex-cli encrypts with it"
key=$d/later.tvk
fixed_key "$key"
printf 'Under the bridge at nine {ok}' >"$d/message.txt"
"$cli" encrypt -k "$key" -o "$d/cipher.lf" "$d/message.txt" || die "tarvex-cli encrypt failed"
head -c -1 "$d/cipher.lf" >"$d/cipher.txt"

step "the window pastes (Ctrl+V), decrypts (Ctrl+D) and copies (Ctrl+C) with the key it was given"
set_clipboard "$d/cipher.txt"
keys "$window" ctrl+v ctrl+d ctrl+c
wait_clipboard "$d/message.txt" "the message decrypted with the key from the command line"
no_message_box "$pid"
screenshot_window "$window" "$d/window.png"
echo "PASS"
