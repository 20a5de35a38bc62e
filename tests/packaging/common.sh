# SPDX-License-Identifier: GPL-3.0-or-later
# Helpers shared by the packaging checks. Every check collects its faults and
# fails at the end, so one run names all of them.
set -euo pipefail

faults=0

fail() {
  echo "FAIL: $*" >&2
  faults=$((faults + 1))
}

# A missing tool is a fault, never a skip: scripts/lib.sh installs them all.
need() {
  local tool=$1 package=$2
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "FAIL: $tool is not installed (Debian package $package)" >&2
    exit 1
  fi
}

finish() {
  if [ "$faults" -ne 0 ]; then
    echo "$faults fault(s)" >&2
    exit 1
  fi
  echo "all checks passed"
}

# The value of KEY in a desktop entry's main group.
desktop_value() {
  sed -n "/^\[Desktop Entry\]/,/^\[/{s/^$2=//p}" "$1" | head -n1
}

# Width and height of a PNG file, from its IHDR chunk.
png_size() {
  local bytes
  bytes=$(od -An -v -tu1 -j16 -N8 "$1" | tr -s ' \n' ' ')
  read -r w1 w2 w3 w4 h1 h2 h3 h4 <<<"$bytes"
  echo "$(( (w1 << 24) | (w2 << 16) | (w3 << 8) | w4 ))x$(( (h1 << 24) | (h2 << 16) | (h3 << 8) | h4 ))"
}

is_png() {
  [ "$(head -c 8 "$1" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ]
}
