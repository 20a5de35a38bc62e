# SPDX-License-Identifier: GPL-3.0-or-later
# libsodium, the one crypto library: the fingerprint's SHA-256 and the sealed format.
find_package(PkgConfig REQUIRED)
pkg_check_modules(SODIUM REQUIRED IMPORTED_TARGET libsodium>=1.0.18)
