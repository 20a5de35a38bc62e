#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the AppStream metainfo with appstreamcli, offline, and that its
# summary and every paragraph of its description are translated into every
# language that has a catalogue.
# Usage: check_metainfo.sh METAINFO_FILE APP_ID [LANGUAGE...]
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

metainfo=$1 app_id=$2
shift 2
need appstreamcli appstream
need xmllint libxml2-utils
[ -s "$metainfo" ] || { echo "FAIL: $metainfo is missing" >&2; exit 1; }

# appstreamcli fails on errors and warnings; infos and pedantic notes pass.
if ! report=$(appstreamcli validate --no-net --no-color "$metainfo" 2>&1); then
  fail "appstreamcli rejects $metainfo: $report"
fi

xpath() { xmllint --xpath "string($1)" "$metainfo" 2>/dev/null || true; }
[ "$(xpath /component/@type)" = desktop-application ] || fail "the component is not a desktop-application"
[ "$(xpath /component/id)" = "$app_id" ] || fail "the component id is not $app_id"
[ "$(xpath "/component/launchable[@type='desktop-id']")" = "$app_id.desktop" ] \
  || fail "the launchable is not $app_id.desktop"
[ "$(xpath /component/name)" = "Text Tarvex" ] || fail "the name is not 'Text Tarvex'"
for binary in tarvex tarvex-cli; do
  [ "$(xpath "count(/component/provides/binary[.='$binary'])")" = 1 ] || fail "provides lacks the binary $binary"
done
paragraphs=$(xpath "count(/component/description/p[not(@xml:lang)])")
for language in "$@"; do
  summary=$(xpath "/component/summary[@xml:lang='$language']")
  [ -n "$summary" ] && [ "$summary" != "$(xpath "/component/summary[not(@xml:lang)]")" ] \
    || fail "the summary has no $language translation"
  [ "$(xpath "count(/component/description/p[@xml:lang='$language'])")" = "$paragraphs" ] \
    || fail "not every paragraph of the description has its $language translation"
done
finish
