#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the desktop entry: valid to desktop-file-validate, launching the
# right program with the right icon in the right menu, and opening key files:
# the file manager passes the file it opens to the program; and translated
# into every language that has a catalogue.
# Usage: check_desktop_entry.sh DESKTOP_FILE APP_ID [LANGUAGE...]
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

entry=$1 app_id=$2
shift 2
need desktop-file-validate desktop-file-utils
[ -s "$entry" ] || { echo "FAIL: $entry is missing" >&2; exit 1; }

# Hints are suggestions; errors and warnings are faults.
if ! report=$(desktop-file-validate "$entry" 2>&1); then
  fail "desktop-file-validate rejects $entry: $report"
elif grep -Eiq 'error|warning' <<<"$report"; then
  fail "desktop-file-validate complains about $entry: $report"
fi

[ "$(basename "$entry")" = "$app_id.desktop" ] || fail "the entry is not named $app_id.desktop"
[ "$(desktop_value "$entry" Type)" = Application ] || fail "Type is not Application"
[ "$(desktop_value "$entry" Name)" = "Text Tarvex" ] || fail "Name is not 'Text Tarvex'"
[ "$(desktop_value "$entry" Exec)" = "tarvex %f" ] || fail "Exec is not 'tarvex %f'"
[ "$(desktop_value "$entry" Icon)" = "$app_id" ] || fail "Icon is not '$app_id'"
[ "$(desktop_value "$entry" Terminal)" = false ] || fail "Terminal is not false"
# The key-file type as the shared MIME database defines it.
mime_xml=$(dirname "${BASH_SOURCE[0]}")/../../data/text-tarvex-mime.xml
key_type=$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$mime_xml" | head -n1)
[ -n "$key_type" ] || fail "no MIME type found in $mime_xml"
mime_types=";$(desktop_value "$entry" MimeType)"
[[ "$mime_types" == *";$key_type;"* ]] || fail "MimeType lacks the key-file type $key_type: $mime_types"
categories=";$(desktop_value "$entry" Categories)"
for category in Utility Security; do
  [[ "$categories" == *";$category;"* ]] || fail "Categories lacks $category: $categories"
done
for language in "$@"; do
  for key in GenericName Comment Keywords; do
    translated=$(desktop_value "$entry" "$key\\[$language\\]")
    [ -n "$translated" ] || fail "$key has no $language translation"
    [ "$translated" != "$(desktop_value "$entry" "$key")" ] || fail "$key[$language] is the English"
  done
done
finish
