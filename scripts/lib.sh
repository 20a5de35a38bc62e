# SPDX-License-Identifier: GPL-3.0-or-later
# Shared set-up for scripts/run and scripts/test: packages, configure, build.
set -euo pipefail

TARVEX_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
TARVEX_BUILD=${TARVEX_BUILD:-"$TARVEX_ROOT/build"}

# Debian 12 packages that building and running the window (and tarvex-cli)
# need: scripts/run installs these alone. libsodium is the one crypto library;
# Qt's CMake files look for libxkbcommon-dev and print a line for each library
# without it; qt6-wayland lets the window open on a Wayland desktop, and Qt's
# platform interface (qt6-base-private-dev) with libwayland-dev lets it wait
# for the compositor to take the emptied clipboard before it ends. gettext
# makes and compiles the translations; qt6-translations-l10n holds Qt's own
# words (file dialogs, Yes and No) in the same languages.
TARVEX_RUN_PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-private-dev qt6-svg-dev libgl-dev libxkbcommon-dev qt6-wayland libwayland-dev
  libsodium-dev
  gettext qt6-translations-l10n
)

# What the tests, the benchmarks and the packages need on top: scripts/test.
# `file` serves CPack's dependency lookup, clang and its runtime the fuzzers,
# rsvg-convert the icons; the screen-reader test talks to the window over
# AT-SPI from Debian's Python; nlohmann-json3-dev reads the key agreement's
# vectors; unicode-data holds Unicode's own table of characters that the
# message area's character steps are tested against. locales-all gives the
# tests real sessions in every language, and fonts-wqy-microhei the Chinese
# letters their texts are measured and shown in.
TARVEX_TEST_PACKAGES=(
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
  xvfb xauth libx11-dev x11-xkb-utils
  imagemagick xdotool x11-utils xclip openbox
  librsvg2-bin dpkg-dev desktop-file-utils appstream libxml2-utils shared-mime-info groff-base
  lintian devscripts
  file clang libclang-rt-14-dev
  python3-nacl age
  weston sway wl-clipboard
  dbus-daemon at-spi2-core python3-pyatspi
  unicode-data
  locales-all fonts-wqy-microhei
)

# Installs the packages that are missing: with `run` only those of the window
# and tarvex-cli, otherwise those of the test suite too.
tarvex_install_packages() {
  local wanted=("${TARVEX_RUN_PACKAGES[@]}")
  if [ "${1:-}" != run ]; then
    wanted+=("${TARVEX_TEST_PACKAGES[@]}")
  fi
  local missing=()
  local pkg
  for pkg in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$pkg")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0

  echo "Installing missing packages: ${missing[*]}"
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
  fi
  "${sudo[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
}

tarvex_configure() {
  local extra=()
  # CI builds with warnings as errors.
  if [ "${CI:-}" = "true" ]; then
    extra+=(-DTARVEX_WERROR=ON)
  fi
  cmake -S "$TARVEX_ROOT" -B "$TARVEX_BUILD" -G Ninja "${extra[@]}" "$@"
}

# Configures with everything on (the window, the tests, the benchmarks and the
# packages) and the given options, and builds it all. Each is named, since
# scripts/run leaves them off in the same build folder.
tarvex_build() {
  tarvex_configure -DTARVEX_GUI=ON -DTARVEX_BUILD_TESTS=ON -DTARVEX_BUILD_BENCHMARKS=ON -DTARVEX_PACKAGING=ON "$@"
  cmake --build "$TARVEX_BUILD" --parallel "$(nproc)"
}
