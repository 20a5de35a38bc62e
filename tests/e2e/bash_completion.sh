#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The bash completion of tarvex-cli, loaded into a plain bash without the
# bash-completion package and asked the way bash asks it: commands, every
# option that `tarvex-cli --help` names, the encodings, key files after -k,
# any file after -o and for the input.
# Usage: bash_completion.sh COMPLETION_FILE TARVEX_CLI TEST_DIR
set -euo pipefail

completion=$(realpath -m "$1") cli=$(realpath -m "$2") dir=$3
faults=0
fail() {
  echo "FAIL: $*" >&2
  faults=$((faults + 1))
}
[ -s "$completion" ] || { echo "FAIL: $completion is missing" >&2; exit 1; }
[ -x "$cli" ] || { echo "FAIL: $cli is not a program" >&2; exit 1; }

rm -rf "$dir"
mkdir -p "$dir/keys/sub"
cd "$dir/keys"
: >friend.tvk
: >OLD.TVK
: >"my key.tvk"
: >letter.txt

# candidates WORD...: what bash offers for the last word of "tarvex-cli WORD...",
# one candidate a line, sorted. Words as bash splits them ('=' is a word of its own).
candidates() {
  bash --norc --noprofile -c '
    source "$1" || exit 3
    registered=$(complete -p tarvex-cli) || exit 4
    function=$(sed -n "s/.* -F \([^ ]*\) .*/\1/p" <<<"$registered")
    [ -n "$function" ] || exit 5
    shift
    COMP_WORDS=(tarvex-cli "$@")
    COMP_CWORD=$#
    COMP_LINE="tarvex-cli $*"
    COMP_POINT=${#COMP_LINE}
    "$function" tarvex-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    printf "%s\n" "${COMPREPLY[@]}"
  ' completion "$completion" "$@" | sed '/^$/d' | LC_ALL=C sort
}

# expect "WORDS" EXPECTED_LINES: the candidates are exactly these.
expect() {
  local words=$1 expected=$2 got
  read -r -a argv <<<"$words"
  # A trailing space in WORDS asks for the completion of an empty word.
  [[ $words == *" " ]] && argv+=("")
  got=$(candidates "${argv[@]}") || { fail "completing '$words' failed"; return; }
  expected=$(printf '%s\n' "$expected" | sed '/^$/d' | LC_ALL=C sort)
  [ "$got" = "$expected" ] || fail "'tarvex-cli $words' offers [$(echo $got)], expected [$(echo $expected)]"
}

expect " " $'--help\n--version\n-h\nanswer\ncreate-key\ndecrypt\nencrypt\nfingerprint\ninvite'
expect "fi" "fingerprint"
expect "fingerprint -k " $'OLD.TVK\nfriend.tvk\nmy key.tvk\nsub'
expect "fingerprint -" $'--help\n--key\n-h\n-k'
expect "fingerprint -k friend.tvk l" ""
expect "de" "decrypt"
expect "encrypt -k " $'OLD.TVK\nfriend.tvk\nmy key.tvk\nsub'
expect "decrypt --key = f" "friend.tvk"
expect "encrypt -k friend.tvk -e " $'cp1252\nutf-8'
expect "decrypt --encoding = c" "cp1252"
expect "encrypt -k friend.tvk -o l" "letter.txt"
expect "decrypt -k friend.tvk l" "letter.txt"
expect "create-key --f" "--force"
expect "in" "invite"
expect "invite --no" "--no-compare"
expect "answer --force " $'OLD.TVK\nfriend.tvk\nletter.txt\nmy key.tvk\nsub'
expect "encrypt -k friend.tvk -- -" ""

# Every option that --help names is offered somewhere, so a new option cannot
# be left out of the completion.
offered=$( {
  candidates -
  candidates create-key -
  candidates encrypt -
  candidates decrypt -
  candidates fingerprint -
  candidates invite -
  candidates answer -
} | sort -u)
mapfile -t options < <("$cli" --help | grep -oE '(^|[][ ,|])--?[a-z][a-z0-9-]*' | sed 's/^[][ ,|]*//' | sort -u)
[ "${#options[@]}" -ge 6 ] || fail "found only ${#options[@]} options in tarvex-cli --help: ${options[*]}"
for option in "${options[@]}"; do
  grep -qxF -- "$option" <<<"$offered" || fail "the completion never offers $option"
done
# Options of one command are not offered for the other.
candidates encrypt - | grep -qx -- --force && fail "encrypt is offered --force"
candidates create-key - | grep -qx -- --key && fail "create-key is offered --key"
candidates fingerprint - | grep -qx -- --encoding && fail "fingerprint is offered --encoding"
# Every command that --help names is offered as the first word.
mapfile -t commands < <("$cli" --help | sed -n '/^Commands:/,/^$/s/^  \([a-z][a-z-]*\) .*/\1/p' | sort -u)
[ "${#commands[@]}" -ge 4 ] || fail "found only ${#commands[@]} commands in tarvex-cli --help: ${commands[*]}"
for command in "${commands[@]}"; do
  candidates "" | grep -qxF -- "$command" || fail "the completion never offers the command $command"
done

if [ "$faults" -ne 0 ]; then
  echo "$faults fault(s)" >&2
  exit 1
fi
echo "all checks passed"
