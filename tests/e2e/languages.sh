#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The window as a desktop session in each language starts it: in the
# language's real locale, over a real AT-SPI bus, a reader finds the menus
# named in that language, the question of Clear Clipboard and the failure of
# a Decrypt whose key file is missing worded in it, and Qt's own buttons of
# those boxes translated by Qt's catalogues. Each is held against the same
# window in English.
# Usage: languages.sh TARVEX LOCALE_DIR LANGUAGE:LOCALE... TEST_DIR
E2E_TOTAL=${E2E_TOTAL:-280}
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"

tarvex=$(realpath -m "$1")
locale_dir=$2
sessions=("${@:3:$#-3}")
e2e_init "${!#}"
[ -x "$tarvex" ] || die "$tarvex is not a program"
e2e_start_display
d=$E2E_DIR
reader=$(dirname "${BASH_SOURCE[0]}")/languages.py
python=/usr/bin/python3
e2e_start_accessibility_bus "$python"
# A cipher text whose key file is missing: Decrypt fails.
printf '\xc3\xb0abc' >"$d/cipher.txt"

# look LANGUAGE LOCALE: the menus and the two boxes into $d/LANGUAGE.*.json.
look() {
  local language=$1 locale=$2
  export LANGUAGE=$language LC_ALL=$locale
  start_tarvex "$language" "$tarvex" ../missing.tvk
  local window=$WINDOW pid=$WINDOW_PID
  export LANGUAGE= LC_ALL=C.UTF-8
  "$python" "$reader" menus "$pid" "$d/$language.menus.json" || die "the reader finds no menus"

  step "$language: Clear Clipboard asks"
  keys "$window" ctrl+b
  "$python" "$reader" box "$pid" "$d/$language.question.json" || die "Clear Clipboard asks nothing"
  screenshot "$d/$language-question.png" >/dev/null
  # The box has the focus: Escape answers No.
  xdotool key --clearmodifiers Escape
  wait_for "the question to close" is_active "$window"

  step "$language: Decrypt fails"
  set_clipboard "$d/cipher.txt"
  keys "$window" ctrl+v ctrl+d
  "$python" "$reader" box "$pid" "$d/$language.failure.json" || die "Decrypt without its key file reports nothing"
  screenshot "$d/$language-failure.png" >/dev/null
  xdotool key --clearmodifiers Return
  wait_for "the failure box to close" is_active "$window"
  kill "$pid"
}

step "English"
look en C.UTF-8
for session in "${sessions[@]}"; do
  language=${session%%:*} locale=${session#*:}
  step "$language"
  look "$language" "$locale.UTF-8"
  "$python" "$reader" compare "$locale_dir" "$language" "$d/en" "$d/$language" ||
    die "the window does not speak $language (screenshots $d/$language-*.png)"
done
echo "PASS"
