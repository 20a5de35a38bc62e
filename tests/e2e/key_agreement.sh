#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Two windows that share nothing agree on a key through the real clipboard,
# each line wrapped in the words of a chat message or a mail reply. Each
# side's screen reader reads its fingerprint and the eight digits it reads
# aloud; each types the other's eight and saves: both key files are the same
# key, readable by their owner only, with the fingerprint the dialogs showed.
# A sealed message then goes from one window to the other.
# Usage: key_agreement.sh TARVEX TARVEX_CLI TEST_DIR
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"

e2e_setup "$@"
d=$E2E_DIR
reader=$(dirname "${BASH_SOURCE[0]}")/screen_reader.py
# Debian's own Python, where python3-pyatspi lives.
python=/usr/bin/python3
e2e_start_accessibility_bus "$python"
title="Text Tarvex - Agree On A Key"
save_title="Text Tarvex - Save Agreed Key Dialog"

start_tarvex inviter "$tarvex"
inviter=$WINDOW inviter_pid=$WINDOW_PID
start_tarvex answerer "$tarvex"
answerer=$WINDOW answerer_pid=$WINDOW_PID

# clipboard_line PREFIX LENGTH FILE: waits until the clipboard holds one line
# of LENGTH characters that begins with PREFIX, and keeps it in FILE.
clipboard_line() {
  local prefix=$1 length=$2 file=$3
  holds_line() {
    clipboard_to "$d/clipboard.now" && [ "$(head -c "${#prefix}" "$d/clipboard.now")" = "$prefix" ] &&
      [ "$(wc -c <"$d/clipboard.now")" -eq "$length" ]
  }
  wait_for "a $length-character $prefix line on the clipboard" holds_line
  cp "$d/clipboard.now" "$file"
}

step "both open Agree On A Key (Ctrl+G)"
keys "$inviter" ctrl+g
wait_for "the inviter's dialog" find_window "$inviter_pid" "^$title\$"
inviter_dialog=$found_window
keys "$answerer" ctrl+g
wait_for "the answerer's dialog" find_window "$answerer_pid" "^$title\$"
answerer_dialog=$found_window

step "the inviter copies its invitation (Alt+C)"
keys "$inviter_dialog" alt+c
clipboard_line tarvexinvite1 63 "$d/invitation.txt"

step "the answerer pastes it among the words of a chat message (Ctrl+V in the field) and copies the answer (Alt+O)"
printf 'Here is my invitation: %s\nAnna\n' "$(cat "$d/invitation.txt")" >"$d/chat.txt"
set_clipboard "$d/chat.txt"
# The field has the focus when the dialog opens.
keys "$answerer_dialog" ctrl+v
keys "$answerer_dialog" alt+o
clipboard_line tarvexanswer1 68 "$d/answer.txt"

step "the inviter pastes the reply, which quotes the invitation above the answer (Alt+P)"
printf '> Here is my invitation: %s\n> Anna\n\nMy answer: %s\n' "$(cat "$d/invitation.txt")" "$(cat "$d/answer.txt")" \
  >"$d/reply.txt"
set_clipboard "$d/reply.txt"
keys "$inviter_dialog" alt+p

step "each side's screen reader reads the fingerprint and the digits to read aloud"
# spoken PID PREFIX: what the reader says, the digits after the colon without spaces and commas.
spoken_digits() {
  local said
  said=$("$python" "$reader" spoken "$1" "$2") || die "the reader of process $1 finds nothing named '$2...'"
  echo "$said" >>"$d/spoken.log"
  [[ "$said" =~ :\ ([0-9A-F]\ ){3}[0-9A-F](,\ ([0-9A-F]\ ){3}[0-9A-F])+$ ]] ||
    die "the reader does not say '$said' a digit at a time in groups"
  printf '%s' "${said##*: }" | tr -d ' ,'
}
inviter_fingerprint=$(spoken_digits "$inviter_pid" "Fingerprint: ")
answerer_fingerprint=$(spoken_digits "$answerer_pid" "Fingerprint: ")
[ "${#inviter_fingerprint}" -eq 16 ] || die "the fingerprint '$inviter_fingerprint' is not 16 digits"
[ "$inviter_fingerprint" = "$answerer_fingerprint" ] ||
  die "the two sides see different fingerprints: $inviter_fingerprint and $answerer_fingerprint"
inviter_reads=$(spoken_digits "$inviter_pid" "Read the last eight digits")
answerer_reads=$(spoken_digits "$answerer_pid" "Read the first eight digits")
[ "$answerer_reads$inviter_reads" = "$inviter_fingerprint" ] ||
  die "the answerer reads $answerer_reads and the inviter $inviter_reads of $inviter_fingerprint"

screenshot_window "$inviter_dialog" "$d/inviter-dialog.png"
screenshot_window "$answerer_dialog" "$d/answerer-dialog.png"

step "each types the eight digits it hears (Alt+T) and saves (Return)"
keys "$inviter_dialog" alt+t
type_text "$inviter_dialog" "${answerer_reads:0:4} ${answerer_reads:4}"
keys "$inviter_dialog" Return
file_dialog "$inviter_pid" "$save_title" "$d/inviter.tvk"
wait_for "the inviter's dialog to close" window_gone "$inviter_pid" "^$title\$"
keys "$answerer_dialog" alt+t
type_text "$answerer_dialog" "$inviter_reads"
keys "$answerer_dialog" Return
file_dialog "$answerer_pid" "$save_title" "$d/answerer.tvk"
wait_for "the answerer's dialog to close" window_gone "$answerer_pid" "^$title\$"
no_message_box "$inviter_pid"
no_message_box "$answerer_pid"

step "one key at both ends, owner-only, with the fingerprint the dialogs showed"
cmp "$d/inviter.tvk" "$d/answerer.tvk" || die "the two key files differ"
[ "$(wc -c <"$d/inviter.tvk")" -eq 12382 ] || die "the key file has $(wc -c <"$d/inviter.tvk") bytes, not 12382"
for file in "$d/inviter.tvk" "$d/answerer.tvk"; do
  [ "$(stat -c %a "$file")" = 600 ] || die "$file has mode $(stat -c %a "$file")"
done
"$cli" fingerprint -k "$d/inviter.tvk" >"$d/fingerprint.txt" 2>&1 || die "tarvex-cli fingerprint failed: $(cat "$d/fingerprint.txt")"
[ "$(tr -d ' \n' <"$d/fingerprint.txt")" = "$inviter_fingerprint" ] ||
  die "tarvex-cli gives the fingerprint $(cat "$d/fingerprint.txt"), the dialogs showed $inviter_fingerprint"

step "the inviter seals a message (Ctrl+Shift+E) and copies it (Alt+C); the answerer pastes, decrypts and copies it"
message="Meet at noon by the old mill"
printf '%s' "$message" >"$d/message.txt"
click_message_area "$inviter"
type_text "$inviter" "$message"
keys "$inviter" ctrl+shift+e
keys "$inviter" alt+c
has_token() { clipboard_to "$d/clipboard.now" && [ "$(head -c 7 "$d/clipboard.now")" = tarvex1 ]; }
wait_for "the sealed message on the clipboard" has_token
# After saving, the answerer's focus is in the message area, ready for the message.
keys "$answerer" ctrl+v ctrl+d ctrl+c
wait_clipboard "$d/message.txt" "the sealed message opened with the agreed key"
no_message_box "$answerer_pid"

step "screenshots"
screenshot_window "$inviter" "$d/inviter.png"
screenshot_window "$answerer" "$d/answerer.png"
echo "PASS"
