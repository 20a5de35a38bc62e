#!/usr/bin/env bash
# Checks the tarvex-cli man page: clean troff, and in step with the program's
# own --help and --version, so a new option cannot go undocumented.
# Usage: check_man_page.sh MAN_PAGE_GZ TARVEX_CLI
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

page=$1 cli=$2
need groff groff-base
need gzip gzip
[ -s "$page" ] || { echo "FAIL: $page is missing" >&2; exit 1; }
[ -x "$cli" ] || { echo "FAIL: $cli is missing" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if ! gzip -dc "$page" >"$work/tarvex-cli.1"; then
  fail "$page is not a gzip file"
  finish
fi

warnings=$(groff -man -ww -z "$work/tarvex-cli.1" 2>&1 || true)
[ -z "$warnings" ] || fail "groff warns about the man page: $warnings"

head -n1 "$work/tarvex-cli.1" | grep -q '^\.TH TARVEX-CLI 1 ' || fail "the page is not titled TARVEX-CLI in section 1"

# Without hyphenation or adjustment every word comes out whole.
groff -man -Tascii -rHY=0 -P-cbou "$work/tarvex-cli.1" 2>/dev/null | tr -s ' ' >"$work/page.txt"
[ -s "$work/page.txt" ] || fail "the page renders to nothing"

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
finish
