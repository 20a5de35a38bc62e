#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The window as a blind user meets it: over a real AT-SPI bus in a D-Bus
# session of its own, a reader finds the message area as an editable text,
# reads back what was typed there and hears it as it is typed; it presses
# Encrypt through the button's action and reads the cipher text, which must be
# the one tarvex-cli makes with the same key; it reads a Cyrillic text pasted
# there as it is; and in a Hebrew line with a C1 control it hears each whole
# character as the caret steps over it, the control by its name.
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

step "a Hebrew line with a C1 control: read as shown, one whole character a step"
# "shalom" with its points, then U+0080, which is no euro sign.
printf '\xd7\xa9\xd6\xb8\xd7\x81\xd7\x9c\xd7\x95\xd6\xb9\xd7\x9d\xc2\x80' >"$d/hebrew.txt"
printf '\xd7\xa9\xd6\xb8\xd7\x81\xd7\x9c\xd7\x95\xd6\xb9\xd7\x9d[padding character]' >"$d/hebrew-read.txt"
xclip -selection clipboard -target UTF8_STRING -in "$d/hebrew.txt"
"$python" "$reader" press "Clear Text" || die "the reader cannot press Clear Text"
click_message_area "$window"
keys "$window" ctrl+v
"$python" "$reader" text "$area" "$d/hebrew-read.txt" || die "the reader does not read the Hebrew line and the control as shown"
# Home is the line's start, at its right; Left reads on: shin with both its
# points is one step, then lamed, then vav with its point.
keys "$window" Home
"$python" "$reader" caret "$area" 0 || die "Home does not put the caret at the line's start"
keys "$window" Left
"$python" "$reader" caret "$area" 3 || die "Left does not step over the first whole character"
keys "$window" Left Left
"$python" "$reader" caret "$area" 6 || die "Left does not step over whole characters"
printf '\xd7\xa9\xd6\xb8\xd7\x81' >"$d/shin.txt"
"$python" "$reader" char "$area" 1 "$d/shin.txt" || die "the character at a point is not the whole letter"
printf '[padding character]' >"$d/control.txt"
"$python" "$reader" char "$area" 9 "$d/control.txt" || die "the C1 control is not one character read by its name"

step "the mode buttons read as radio buttons, the selected one checked"
"$python" "$reader" mode "ICQ" || die "the selected mode button does not read as a checked radio button"
screenshot_window "$window" "$d/window.png"
echo "PASS"
