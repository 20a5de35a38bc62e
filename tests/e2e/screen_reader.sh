#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The window as a blind user meets it: over a real AT-SPI bus in a D-Bus
# session of its own, a reader finds the message area as an editable text,
# reads back what was typed there and hears it as it is typed; it presses
# Encrypt through the button's action and reads the cipher text, which must be
# the one tarvex-cli makes with the same key; and it reads a Cyrillic text
# pasted there as it is.
# Usage: screen_reader.sh TARVEX TARVEX_CLI TEST_DIR
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"

e2e_setup "$@"
d=$E2E_DIR
reader=$(dirname "${BASH_SOURCE[0]}")/screen_reader.py
# Debian's own Python, where python3-pyatspi lives.
python=/usr/bin/python3
area="Text Message Area"
e2e_start_accessibility_bus "$python"

step "a reader listens to the message area"
"$python" "$reader" listen "$d/events.log" "$area" 2>"$d/listener.log" &
e2e_pids+=($!)
wait_for "the reader to listen" grep -q listening "$d/events.log"

key=$d/key.tvk
fixed_key "$key"
start_tarvex window "$tarvex" "$key"
window=$WINDOW pid=$WINDOW_PID

step "the message area is an editable multi-line text"
"$python" "$reader" check "$area" text || die "the reader does not find the message area as a text"

step "what is typed is read back, and heard as typed"
click_message_area "$window"
type_lines "$window" "Meet at" "noon {ok}"
printf 'Meet at\nnoon {ok}' >"$d/typed.txt"
"$python" "$reader" text "$area" "$d/typed.txt" || die "the reader does not read what was typed"
heard() {
  "$python" - "$d/events.log" "$d/typed.txt" <<'PY'
import json, sys
events = [json.loads(line) for line in open(sys.argv[1], encoding="utf-8")]
inserted = "".join(text for kind, _, text in events if kind == "object:text-changed:insert")
sys.exit(0 if inserted == open(sys.argv[2], encoding="utf-8", newline="").read() else 1)
PY
}
wait_for "the reader to hear every typed character" heard

step "Encrypt through the button's action; the reader reads the cipher text"
printf 'Meet at\r\nnoon {ok}' >"$d/message.txt"
"$cli" encrypt -k "$key" -o "$d/cipher.lf" "$d/message.txt" || die "tarvex-cli encrypt failed"
# A control in the cipher text (with this key, a DEL) is read as its name.
head -c -1 "$d/cipher.lf" | sed 's/\x7f/[delete]/g' >"$d/cipher-read.txt"
grep -q '\[delete\]' "$d/cipher-read.txt" || die "the cipher text no longer holds a DEL: choose a message that does"
"$python" "$reader" press "Encrypt" || die "the reader cannot press Encrypt"
"$python" "$reader" text "$area" "$d/cipher-read.txt" || die "the reader does not read the cipher text"
no_message_box "$pid"

step "Cyrillic pasted into the area is read as it is"
need xclip xclip
printf 'Привет, мир!\nВстреча в полдень' >"$d/cyrillic.txt"
xclip -selection clipboard -target UTF8_STRING -in "$d/cyrillic.txt"
"$python" "$reader" press "Clear Text" || die "the reader cannot press Clear Text"
click_message_area "$window"
keys "$window" ctrl+v
"$python" "$reader" text "$area" "$d/cyrillic.txt" || die "the reader does not read the Cyrillic text"

step "the mode buttons read as radio buttons, the selected one checked"
"$python" "$reader" mode "ICQ" || die "the selected mode button does not read as a checked radio button"
screenshot_window "$window" "$d/window.png"
echo "PASS"
