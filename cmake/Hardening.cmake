# SPDX-License-Identifier: GPL-3.0-or-later
# Hardening and reproducibility flags for every target, as Debian builds its
# packages (dpkg-buildflags with hardening=+all).

include(CheckPIESupported)
check_pie_supported()
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

add_compile_options(-fstack-protector-strong -fstack-clash-protection)
if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|amd64|i.86)$")
  add_compile_options(-fcf-protection)
endif()
# Fortify needs optimisation to see buffer sizes, and warns without it. Under
# the sanitizers it stays off: its checked copies would hide accesses from them.
if(NOT TARVEX_SANITIZE)
  add_compile_options(
    "$<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>")
endif()
add_link_options(-Wl,-z,relro,-z,now)

# No absolute path of this machine in the objects (__FILE__, debug info). The
# build folder comes last so that it wins where it lies inside the sources.
add_compile_options(
  -ffile-prefix-map=${CMAKE_SOURCE_DIR}=.
  -ffile-prefix-map=${CMAKE_BINARY_DIR}=.)
