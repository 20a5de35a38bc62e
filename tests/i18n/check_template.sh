#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The template in the sources holds the same texts as the one the build made
# from them: translators start from po/tarvex.pot.
# Usage: check_template.sh MSGCMP SOURCE_TEMPLATE BUILT_TEMPLATE
set -euo pipefail
msgcmp=$1 kept=$2 made=$3
if ! "$msgcmp" --use-untranslated "$kept" "$made" || ! "$msgcmp" --use-untranslated "$made" "$kept"; then
  echo "FAIL: $kept is out of date: cmake --build build --target tarvex-update-po" >&2
  exit 1
fi
echo "$kept holds the texts of the sources"
