#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the man pages tarvex-cli(1) and tarvex(1), which the build packs into
# the same folder: clean troff, dated by the release, pointing at each other,
# and tarvex-cli(1) in step with the program's own --help and --version, so a
# new option cannot go undocumented. Given the window program too, tarvex(1)
# is held to its --help the same way.
# Usage: check_man_page.sh TARVEX_CLI_MAN_PAGE_GZ TARVEX_CLI [TARVEX]
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

page=$1 cli=$2 window=${3:-}
window_page=$(dirname "$page")/tarvex.1.gz
need groff groff-base
need gzip gzip
for file in "$page" "$window_page"; do
  [ -s "$file" ] || { echo "FAIL: $file is missing" >&2; exit 1; }
done
[ -x "$cli" ] || { echo "FAIL: $cli is missing" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# check_page GZ NAME TITLE OTHER: unpacks the page to $work/NAME.1 and renders
# it to $work/NAME.txt; OTHER is the page it must refer to.
check_page() {
  local gz=$1 name=$2 title=$3 other=$4
  if ! gzip -dc "$gz" >"$work/$name.1"; then
    fail "$gz is not a gzip file"
    return
  fi
  local warnings
  warnings=$(groff -man -ww -z "$work/$name.1" 2>&1 || true)
  [ -z "$warnings" ] || fail "groff warns about $name(1): $warnings"
  # .TH TITLE 1 "DATE" ...: a real date, the same on every build of a release.
  head -n 20 "$work/$name.1" | grep -qE "^\.TH $title 1 \"[0-9]{4}-[0-9]{2}-[0-9]{2}\" " ||
    fail "$name(1) is not titled $title in section 1 with a date"
  # Without hyphenation or adjustment every word comes out whole.
  groff -man -Tascii -rHY=0 -P-cbou "$work/$name.1" 2>/dev/null | tr -s ' ' >"$work/$name.txt"
  [ -s "$work/$name.txt" ] || fail "$name(1) renders to nothing"
  grep -qE "(^| )$other(\(1\))?([ ,.]|$)" "$work/$name.txt" || fail "$name(1) does not refer to $other"
}

check_page "$page" tarvex-cli TARVEX-CLI tarvex
check_page "$window_page" tarvex TARVEX tarvex-cli
grep -q 'tarvex-cli(1)' "$work/tarvex.txt" || fail "tarvex(1) does not name tarvex-cli(1)"
[ "$(head -n 20 "$work/tarvex.1" | grep -m1 '^\.TH' | cut -d'"' -f2)" = \
  "$(head -n 20 "$work/tarvex-cli.1" | grep -m1 '^\.TH' | cut -d'"' -f2)" ] ||
  fail "the two pages carry different dates"
cp "$work/tarvex-cli.txt" "$work/page.txt"

version=$("$cli" --version | awk '{print $NF}')
[ -n "$version" ] || fail "tarvex-cli --version printed no version"
grep -qF "Text Tarvex $version" "$work/page.txt" || fail "the page is not marked with version $version"

"$cli" --help >"$work/help.txt"
# Every option and command that --help names has to be in the page.
mapfile -t words < <(
  {
    grep -oE '(^|[][ ,|])--?[a-z][a-z0-9-]*' "$work/help.txt" | sed 's/^[][ ,|]*//'
    sed -n '/^Commands:/,/^$/p' "$work/help.txt" | grep -oE '^  [a-z][a-z-]+' | tr -d ' '
    grep -oE '\b(utf-8|cp1252)\b' "$work/help.txt"
  } | sort -u)
[ "${#words[@]}" -ge 10 ] || fail "found only ${#words[@]} options and commands in --help: ${words[*]}"
for word in "${words[@]}"; do
  grep -qwF -- "$word" "$work/page.txt" || fail "the page does not mention $word"
done
if [ -n "$window" ]; then
  [ -x "$window" ] || fail "$window is missing"
  mapfile -t window_words < <(env -u DISPLAY -u WAYLAND_DISPLAY "$window" --help |
    grep -oE '(^|[][ ,|])--?[a-z][a-z0-9-]*' | sed 's/^[][ ,|]*//' | sort -u)
  [ "${#window_words[@]}" -ge 4 ] || fail "found only ${#window_words[@]} options in tarvex --help: ${window_words[*]}"
  for word in "${window_words[@]}"; do
    grep -qwF -- "$word" "$work/tarvex.txt" || fail "tarvex(1) does not mention $word"
  done
fi
finish
