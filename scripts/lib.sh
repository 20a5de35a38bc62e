# SPDX-License-Identifier: GPL-3.0-or-later
# Shared set-up for scripts/run and scripts/test: packages, configure, build.
set -euo pipefail

TARVEX_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
TARVEX_BUILD=${TARVEX_BUILD:-"$TARVEX_ROOT/build"}

# Debian 12 packages the build, the tests and the window need. `file` serves
# CPack's dependency lookup, clang and its runtime the fuzzers; Qt's CMake files
# look for libxkbcommon-dev and print a line for each library without it.
# The screen-reader test talks to the window over AT-SPI from Debian's Python.
TARVEX_PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth libx11-dev
  qt6-svg-dev imagemagick xdotool x11-utils xclip openbox
  librsvg2-bin dpkg-dev desktop-file-utils appstream libxml2-utils shared-mime-info groff-base
  lintian devscripts
  file clang libclang-rt-14-dev
  libsodium-dev python3-nacl age
  libxkbcommon-dev
  weston qt6-wayland
  dbus-daemon at-spi2-core python3-pyatspi
)

tarvex_install_packages() {
  local missing=()
  local pkg
  for pkg in "${TARVEX_PACKAGES[@]}"; do
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

# Configures with the given options and builds everything.
tarvex_build() {
  tarvex_configure "$@"
  cmake --build "$TARVEX_BUILD" --parallel "$(nproc)"
}
