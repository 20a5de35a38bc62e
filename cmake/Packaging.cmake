# Desktop integration files and the Debian package.

# The one name that ties the desktop entry, its icon and the AppStream
# metainfo together; desktop environments match them by it.
set(TARVEX_APP_ID "org.texttarvex.TextTarvex")
set(TARVEX_KEY_MIME_ICON "application-x-tarvex-key")
set(TARVEX_ICON_SIZES 32 48 128 256)
set(TARVEX_PACKAGE_MAINTAINER
    "Text Tarvex maintainers <maintainers@users.noreply.c-seed-ef8a414e.example>"
    CACHE STRING "Maintainer field of the Debian package")

find_program(TARVEX_RSVG_CONVERT rsvg-convert)
find_program(TARVEX_GZIP gzip)
if(NOT TARVEX_RSVG_CONVERT OR NOT TARVEX_GZIP)
  message(FATAL_ERROR "rsvg-convert (librsvg2-bin) and gzip render the icons and pack the "
                      "man page; scripts/lib.sh installs them.")
endif()

set(_data ${PROJECT_SOURCE_DIR}/data)
set(_out ${PROJECT_BINARY_DIR}/data)
set(_hicolor ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
set(_generated)

configure_file(${_data}/tarvex.desktop.in ${_out}/${TARVEX_APP_ID}.desktop @ONLY)
configure_file(${_data}/tarvex.metainfo.xml.in ${_out}/${TARVEX_APP_ID}.metainfo.xml @ONLY)
# The date of the man pages' title lines: the release, never the build time, so
# that rebuilding gives the same pages.
set(TARVEX_RELEASE_DATE "2026-12-07")
configure_file(${_data}/man/tarvex-cli.1.in ${_out}/tarvex-cli.1 @ONLY)
configure_file(${_data}/man/tarvex.1.in ${_out}/tarvex.1 @ONLY)

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
    install(FILES ${png} DESTINATION ${_hicolor}/${size}x${size}/${context})
    list(APPEND _generated ${png})
  endforeach()
  install(FILES ${svg} DESTINATION ${_hicolor}/scalable/${context} RENAME ${name}.svg)
  set(_generated ${_generated} PARENT_SCOPE)
endfunction()

_tarvex_render_icon(${_data}/tarvex-logo.svg ${TARVEX_APP_ID} apps)
_tarvex_render_icon(${_data}/icons/${TARVEX_KEY_MIME_ICON}.svg ${TARVEX_KEY_MIME_ICON} mimetypes)

# -n leaves the time stamp out, so that rebuilding gives the same bytes.
add_custom_command(
  OUTPUT ${_out}/tarvex-cli.1.gz
  COMMAND ${TARVEX_GZIP} -9 -n -c ${_out}/tarvex-cli.1 > ${_out}/tarvex-cli.1.gz
  DEPENDS ${_out}/tarvex-cli.1 ${_data}/man/tarvex-cli.1.in
  COMMENT "Packing the tarvex-cli man page")
list(APPEND _generated ${_out}/tarvex-cli.1.gz)
add_custom_command(
  OUTPUT ${_out}/tarvex.1.gz
  COMMAND ${TARVEX_GZIP} -9 -n -c ${_out}/tarvex.1 > ${_out}/tarvex.1.gz
  DEPENDS ${_out}/tarvex.1 ${_data}/man/tarvex.1.in
  COMMENT "Packing the tarvex man page")
list(APPEND _generated ${_out}/tarvex.1.gz)

add_custom_target(tarvex_desktop_data ALL DEPENDS ${_generated})

install(FILES ${_out}/${TARVEX_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_out}/${TARVEX_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${_data}/text-tarvex-mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME text-tarvex.xml)
install(FILES ${_out}/tarvex-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# Debian package. The icon cache, the MIME database and the desktop database
# are refreshed by the dpkg triggers of their own packages, so no maintainer
# scripts are needed.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME text-tarvex)
set(CPACK_PACKAGE_VENDOR "Text Tarvex maintainers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${TARVEX_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "encrypt and decrypt messages with a shared key file")
set(CPACK_PACKAGE_DESCRIPTION
    "Text Tarvex turns a message into a cipher text and back with a key file that two
people share. The cipher text travels by instant message, e-mail or as a file;
the other side, holding a copy of the same key file, decrypts it.

The package holds the window program tarvex and its command-line companion
tarvex-cli, which does the same job from a terminal.

The cipher keeps casual readers out, nothing more: it is no protection against
a determined attacker, and the key file must travel to the other side
privately.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_NAME text-tarvex)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${TARVEX_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The `package_source` target: the sources alone, without build trees.
set(CPACK_SOURCE_GENERATOR TGZ)
# Escaped twice: CPack reads this list back from a generated CMake file.
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build/" "/build-[^/]*/")
include(CPack)
