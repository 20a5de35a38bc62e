#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the shared-MIME-info definition of key files by compiling it with
# update-mime-database into a private database and reading the result back,
# the name of the type translated into every language that has a catalogue.
# Usage: check_mime_type.sh MIME_XML [LANGUAGE...]
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

xml=$1
shift
need xmllint libxml2-utils
need update-mime-database shared-mime-info
[ -s "$xml" ] || { echo "FAIL: $xml is missing" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if ! xmllint --noout "$xml"; then
  fail "$xml is not well-formed XML"
  finish
fi
db=$work/mime
mkdir -p "$db/packages"
cp "$xml" "$db/packages/text-tarvex.xml"
# Inside the search path, so that any output at all is a complaint about the file.
if ! errors=$(XDG_DATA_DIRS=$work XDG_DATA_HOME=$work update-mime-database "$db" 2>&1) || [ -n "$errors" ]; then
  fail "update-mime-database does not take $xml: $errors"
  finish
fi

type=application/x-tarvex-key
grep -qxF "50:$type:*.tvk" "$db/globs2" || fail "*.tvk is not mapped to $type: $(cat "$db/globs2")"
[ "$(grep -c ':\*\.tvk' "$db/globs2")" = 1 ] || fail "*.tvk is mapped more than once"
grep -qxF "$type:application-x-tarvex-key" "$db/icons" || fail "$type has not the icon application-x-tarvex-key"
grep -qxF "$type text/plain" "$db/subclasses" || fail "$type is not a kind of text/plain"
compiled="$db/$type.xml"
if [ -f "$compiled" ]; then
  comment=$(xmllint --xpath 'string(//*[local-name()="comment"][not(@*)])' "$compiled")
  [ "$comment" = "Text Tarvex key" ] || fail "the description is '$comment', not 'Text Tarvex key'"
  for language in "$@"; do
    translated=$(xmllint --xpath "string(//*[local-name()='comment'][@xml:lang='$language'])" "$compiled")
    [ -n "$translated" ] && [ "$translated" != "$comment" ] || fail "the description has no $language translation"
  done
else
  fail "update-mime-database made no entry for $type"
fi
finish
