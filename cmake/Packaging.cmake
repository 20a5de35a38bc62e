# SPDX-License-Identifier: GPL-3.0-or-later
# Desktop integration files and the Debian packages: text-tarvex (install
# component `window`) and tarvex-cli (component `cli`).

set(TARVEX_KEY_MIME_ICON "application-x-tarvex-key")
set(TARVEX_ICON_SIZES 32 48 128 256)
set(TARVEX_PACKAGE_MAINTAINER "Text Tarvex maintainers <maintainers@text-tarvex.invalid>")

find_program(TARVEX_GZIP gzip)
if(NOT TARVEX_GZIP)
  message(FATAL_ERROR "gzip packs the man pages and the changelog.")
endif()
# The window's icons only.
if(TARVEX_GUI)
  find_program(TARVEX_RSVG_CONVERT rsvg-convert)
  if(NOT TARVEX_RSVG_CONVERT)
    message(FATAL_ERROR "rsvg-convert (librsvg2-bin) renders the icons; scripts/lib.sh installs it, "
                        "and -DTARVEX_GUI=OFF builds tarvex-cli without them.")
  endif()
endif()

set(_data ${PROJECT_SOURCE_DIR}/data)
set(_out ${PROJECT_BINARY_DIR}/data)
set(_hicolor ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
set(_generated)

# The date of the man pages' title lines: the release, never the build time, so
# that rebuilding gives the same pages.
set(TARVEX_RELEASE_DATE "2026-12-07")
configure_file(${_data}/man/tarvex-cli.1.in ${_out}/tarvex-cli.1 @ONLY)

# -n leaves the time stamp out, so that rebuilding gives the same bytes.
function(_tarvex_pack_man_page name)
  add_custom_command(
    OUTPUT ${_out}/${name}.1.gz
    COMMAND ${TARVEX_GZIP} -9 -n -c ${_out}/${name}.1 > ${_out}/${name}.1.gz
    DEPENDS ${_out}/${name}.1 ${_data}/man/${name}.1.in
    COMMENT "Packing the ${name} man page")
  set(_generated ${_generated} ${_out}/${name}.1.gz PARENT_SCOPE)
endfunction()
_tarvex_pack_man_page(tarvex-cli)

# The window's own: its desktop entry, metainfo, MIME type, icons and man page.
# The first three carry the translations of every catalogue.
if(TARVEX_GUI)
  configure_file(${_data}/tarvex.desktop.in ${_out}/untranslated/${TARVEX_APP_ID}.desktop @ONLY)
  configure_file(${_data}/tarvex.metainfo.xml.in ${_out}/untranslated/${TARVEX_APP_ID}.metainfo.xml @ONLY)
  tarvex_translate_data(desktop ${_out}/untranslated/${TARVEX_APP_ID}.desktop ${_out}/${TARVEX_APP_ID}.desktop)
  tarvex_translate_data(xml ${_out}/untranslated/${TARVEX_APP_ID}.metainfo.xml ${_out}/${TARVEX_APP_ID}.metainfo.xml)
  tarvex_translate_data(xml ${_data}/text-tarvex-mime.xml ${_out}/text-tarvex.xml)
  list(APPEND _generated ${_out}/${TARVEX_APP_ID}.desktop ${_out}/${TARVEX_APP_ID}.metainfo.xml
       ${_out}/text-tarvex.xml)
  configure_file(${_data}/man/tarvex.1.in ${_out}/tarvex.1 @ONLY)
  _tarvex_pack_man_page(tarvex)
  # Pixel icons are rendered from the SVG artwork so that they never drift from it.
  function(_tarvex_render_icon svg name context)
    foreach(size IN LISTS TARVEX_ICON_SIZES)
      set(png ${_out}/icons/${size}x${size}/${context}/${name}.png)
      add_custom_command(
        OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${_out}/icons/${size}x${size}/${context}
        COMMAND ${TARVEX_RSVG_CONVERT} --width=${size} --height=${size} --keep-aspect-ratio
                --output=${png} ${svg}
        DEPENDS ${svg}
        COMMENT "Rendering ${name} at ${size} pixels"
        VERBATIM)
      install(FILES ${png} DESTINATION ${_hicolor}/${size}x${size}/${context} COMPONENT window)
      list(APPEND _generated ${png})
    endforeach()
    install(FILES ${svg} DESTINATION ${_hicolor}/scalable/${context} RENAME ${name}.svg COMPONENT window)
    set(_generated ${_generated} PARENT_SCOPE)
  endfunction()

  _tarvex_render_icon(${_data}/tarvex-logo.svg ${TARVEX_APP_ID} apps)
  _tarvex_render_icon(${_data}/icons/${TARVEX_KEY_MIME_ICON}.svg ${TARVEX_KEY_MIME_ICON} mimetypes)

  # text-tarvex: the window and everything a desktop needs to offer it.
  install(FILES ${_out}/${TARVEX_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
          COMPONENT window)
  install(FILES ${_out}/${TARVEX_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
          COMPONENT window)
  install(FILES ${_out}/text-tarvex.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages COMPONENT window)
  install(FILES ${_out}/tarvex.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT window)
endif()

# The Debian changelog, packed as Debian packs it; its top entry has to name
# this version.
file(STRINGS ${_data}/debian/changelog _changelog_top LIMIT_COUNT 1)
if(NOT _changelog_top MATCHES "^text-tarvex \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "data/debian/changelog starts with '${_changelog_top}'; "
                      "add an entry for text-tarvex (${PROJECT_VERSION}).")
endif()
add_custom_command(
  OUTPUT ${_out}/changelog.gz
  COMMAND ${TARVEX_GZIP} -9 -n -c ${_data}/debian/changelog > ${_out}/changelog.gz
  DEPENDS ${_data}/debian/changelog
  COMMENT "Packing the Debian changelog")
list(APPEND _generated ${_out}/changelog.gz)

add_custom_target(tarvex_desktop_data ALL DEPENDS ${_generated})

# tarvex-cli: the command alone, so that a terminal user needs no Qt.
install(FILES ${_out}/tarvex-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT cli)
install(FILES ${_data}/bash-completion/tarvex-cli
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions COMPONENT cli)

# Each package carries its own copyright and changelog. A native package: the
# Debian packaging lives in this tree, so its changelog is changelog.gz.
set(_components cli common)
set(_packages tarvex-cli tarvex-common)
if(TARVEX_GUI)
  list(PREPEND _components window)
  list(PREPEND _packages text-tarvex)
endif()
foreach(_component _package IN ZIP_LISTS _components _packages)
  install(FILES ${_data}/debian/copyright ${_out}/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${_package} COMPONENT ${_component})
endforeach()

# Installed straight onto the live system, the desktop learns of the new MIME
# type, entry and icons at once. Staged installs (DESTDIR, which CPack sets
# too) leave that to the system: dpkg runs these tools through the triggers of
# the packages that own them.
set(_refresh_caches [[
  if("$ENV{DESTDIR}" STREQUAL "")
    set(_share "${CMAKE_INSTALL_PREFIX}/@CMAKE_INSTALL_DATADIR@")
    find_program(_update_mime update-mime-database)
    find_program(_update_desktop update-desktop-database)
    find_program(_update_icons gtk-update-icon-cache)
    if(_update_mime)
      message(STATUS "Refreshing the MIME database in ${_share}/mime")
      execute_process(COMMAND "${_update_mime}" "${_share}/mime")
    endif()
    if(_update_desktop)
      message(STATUS "Refreshing the desktop database in ${_share}/applications")
      execute_process(COMMAND "${_update_desktop}" -q "${_share}/applications")
    endif()
    if(_update_icons)
      message(STATUS "Refreshing the icon cache in ${_share}/icons/hicolor")
      execute_process(COMMAND "${_update_icons}" -q -t -f "${_share}/icons/hicolor")
    endif()
  endif()
]])
string(CONFIGURE "${_refresh_caches}" _refresh_caches @ONLY)
if(TARVEX_GUI)
  install(CODE "${_refresh_caches}" COMPONENT window)
endif()

# Debian packages, one per component, each with the libraries of its own
# programs as dependencies (dpkg-shlibdeps), so tarvex-cli never pulls in Qt.
# The icon cache, the MIME database and the desktop database are refreshed by
# the dpkg triggers of their own packages, so no maintainer scripts are needed.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME text-tarvex)
set(CPACK_PACKAGE_VENDOR "Text Tarvex maintainers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${TARVEX_PACKAGE_MAINTAINER})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
if(TARVEX_GUI)
  set(CPACK_COMPONENTS_ALL window cli common)
else()
  set(CPACK_COMPONENTS_ALL cli common)
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${TARVEX_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# Both programs read their words from the one catalogue in tarvex-common.
set(_common_dependency "tarvex-common (= ${PROJECT_VERSION})")
set(CPACK_DEBIAN_WINDOW_PACKAGE_NAME text-tarvex)
set(CPACK_DEBIAN_WINDOW_PACKAGE_DEPENDS ${_common_dependency})
# Qt's own words (the file dialogs, Yes and No) in the session's language.
set(CPACK_DEBIAN_WINDOW_PACKAGE_RECOMMENDS "tarvex-cli, qt6-translations-l10n")
set(CPACK_DEBIAN_WINDOW_DESCRIPTION
    "encrypt and decrypt messages with a shared key file
Text Tarvex turns a message into a cipher text and back with a key file that
two people share. The cipher text travels by instant message, e-mail or as a
file; the other side, holding a copy of the same key file, decrypts it.

This package holds the window program tarvex, with its desktop entry, icons,
key file type and help pages. The command-line companion is in tarvex-cli.

The cipher keeps casual readers out, nothing more: it is no protection against
a determined attacker, and the key file must travel to the other side
privately.")

set(CPACK_DEBIAN_CLI_PACKAGE_NAME tarvex-cli)
set(CPACK_DEBIAN_CLI_PACKAGE_SOURCE text-tarvex)
set(CPACK_DEBIAN_CLI_PACKAGE_DEPENDS ${_common_dependency})
set(CPACK_DEBIAN_CLI_DESCRIPTION
    "command-line tool for Text Tarvex cipher texts and key files
tarvex-cli creates Text Tarvex key files and encrypts and decrypts texts with
them from a terminal, byte for byte as the window program tarvex does. It
reads files or standard input of any size in small chunks and writes its
output files whole or not at all.

The command needs no graphical libraries; the window is in text-tarvex.

The cipher keeps casual readers out, nothing more: it is no protection against
a determined attacker, and the key file must travel to the other side
privately.")

# The same files for every architecture: the compiled catalogues.
set(CPACK_DEBIAN_COMMON_PACKAGE_NAME tarvex-common)
set(CPACK_DEBIAN_COMMON_PACKAGE_SOURCE text-tarvex)
set(CPACK_DEBIAN_COMMON_PACKAGE_ARCHITECTURE all)
set(CPACK_DEBIAN_COMMON_PACKAGE_SHLIBDEPS OFF)
set(CPACK_DEBIAN_COMMON_DESCRIPTION
    "translations of Text Tarvex and tarvex-cli
Text Tarvex turns a message into a cipher text and back with a key file that
two people share; tarvex-cli does the same from a terminal.

This package holds the translations that both programs share: their messages,
menus and buttons in the languages besides English.")

# The `package_source` target: the sources alone, without build trees.
set(CPACK_SOURCE_GENERATOR TGZ)
# Escaped twice: CPack reads this list back from a generated CMake file.
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build/" "/build-[^/]*/")
include(CPack)
