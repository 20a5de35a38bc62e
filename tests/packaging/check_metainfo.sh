#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the AppStream metainfo with appstreamcli, offline.
# Usage: check_metainfo.sh METAINFO_FILE APP_ID
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

metainfo=$1 app_id=$2
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
finish
