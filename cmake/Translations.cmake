# SPDX-License-Identifier: GPL-3.0-or-later
# The programs' words in other languages, with GNU gettext: the template
# po/tarvex.pot made by xgettext from the marked texts of the sources and the
# desktop data, one po/<language>.po per language of po/LINGUAS, compiled by
# msgfmt into <locale folder>/<language>/LC_MESSAGES/tarvex.mo. The build folder
# holds the catalogues where an install puts them, relative to the programs
# (share/locale), so a program run from the build speaks the same languages.
#
#   cmake --build build --target tarvex-pot        brings po/tarvex.pot up to date
#   cmake --build build --target tarvex-update-po  merges it into every po/*.po

foreach(_tool xgettext msgfmt msgmerge msgcmp)
  string(TOUPPER ${_tool} _variable)
  find_program(TARVEX_${_variable} ${_tool})
  if(NOT TARVEX_${_variable})
    message(FATAL_ERROR "${_tool} (Debian package gettext) makes the translations; scripts/lib.sh installs it.")
  endif()
endforeach()

set(TARVEX_PO_DIR ${PROJECT_SOURCE_DIR}/po)
set(TARVEX_TEXT_DOMAIN tarvex)

# The languages of po/LINGUAS that have their catalogue. One that is listed but
# has no .po yet is left out with a note, so a new language can be listed first.
file(STRINGS ${TARVEX_PO_DIR}/LINGUAS _linguas REGEX "^[^#]")
string(REGEX REPLACE "[ \t]+" ";" _linguas "${_linguas}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${TARVEX_PO_DIR}/LINGUAS)
file(GLOB _po_files CONFIGURE_DEPENDS ${TARVEX_PO_DIR}/*.po)
set(TARVEX_LANGUAGES)
foreach(_language IN LISTS _linguas)
  if(_language STREQUAL "")
    continue()
  endif()
  if(EXISTS ${TARVEX_PO_DIR}/${_language}.po)
    list(APPEND TARVEX_LANGUAGES ${_language})
  else()
    message(STATUS "po/${_language}.po is not there yet: no ${_language} catalogue")
  endif()
endforeach()

# Where the catalogues go, and the way there from the programs' folder.
set(TARVEX_BUILD_LOCALE_DIR ${PROJECT_BINARY_DIR}/${CMAKE_INSTALL_LOCALEDIR})
set(TARVEX_INSTALLED_LOCALE_DIR ${CMAKE_INSTALL_FULL_LOCALEDIR})
file(RELATIVE_PATH TARVEX_LOCALE_DIR_FROM_PROGRAM ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LOCALEDIR})

# The catalogues. --check: a translation that drops or adds a format
# directive, or a broken header, fails the build.
set(_catalogues)
foreach(_language IN LISTS TARVEX_LANGUAGES)
  set(_folder ${TARVEX_BUILD_LOCALE_DIR}/${_language}/LC_MESSAGES)
  set(_mo ${_folder}/${TARVEX_TEXT_DOMAIN}.mo)
  add_custom_command(
    OUTPUT ${_mo}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_folder}
    COMMAND ${TARVEX_MSGFMT} --check --output-file=${_mo} ${TARVEX_PO_DIR}/${_language}.po
    DEPENDS ${TARVEX_PO_DIR}/${_language}.po
    COMMENT "Compiling the ${_language} catalogue"
    VERBATIM)
  list(APPEND _catalogues ${_mo})
  # Both programs read it: it goes in the package that both depend on.
  install(FILES ${_mo} DESTINATION ${CMAKE_INSTALL_LOCALEDIR}/${_language}/LC_MESSAGES COMPONENT common)
endforeach()
add_custom_target(tarvex_catalogues ALL DEPENDS ${_catalogues})

# msgfmt --desktop and --xml read every language of a folder's LINGUAS: this
# one lists those that have a catalogue, beside links to them.
set(TARVEX_PO_MERGE_DIR ${PROJECT_BINARY_DIR}/po/merge)
file(REMOVE_RECURSE ${TARVEX_PO_MERGE_DIR})
file(MAKE_DIRECTORY ${TARVEX_PO_MERGE_DIR})
list(JOIN TARVEX_LANGUAGES "\n" _merge_linguas)
file(WRITE ${TARVEX_PO_MERGE_DIR}/LINGUAS "${_merge_linguas}\n")
set(TARVEX_PO_FILES)
foreach(_language IN LISTS TARVEX_LANGUAGES)
  file(CREATE_LINK ${TARVEX_PO_DIR}/${_language}.po ${TARVEX_PO_MERGE_DIR}/${_language}.po SYMBOLIC)
  list(APPEND TARVEX_PO_FILES ${TARVEX_PO_DIR}/${_language}.po)
endforeach()

# `output`: `template` with the translations of every catalogue merged in, by
# msgfmt --desktop (a desktop entry) or --xml (AppStream metainfo, a MIME type,
# by gettext's own ITS rules for them).
function(tarvex_translate_data mode template output)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${TARVEX_MSGFMT} --${mode} --template=${template} -d ${TARVEX_PO_MERGE_DIR} --output-file=${output}
    DEPENDS ${template} ${TARVEX_PO_FILES}
    COMMENT "Translating ${output}"
    VERBATIM)
endfunction()

# The template: every text marked in the sources (the keywords are the macros
# of src/i18n/marks.h), the desktop entry, the AppStream metainfo and the MIME
# type. Made in the build folder on every build, so tests can hold the
# catalogues against the sources as they are.
set(TARVEX_BUILD_POT ${PROJECT_BINARY_DIR}/po/${TARVEX_TEXT_DOMAIN}.pot)
file(GLOB_RECURSE _marked_sources CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR}
     ${PROJECT_SOURCE_DIR}/src/*.cpp ${PROJECT_SOURCE_DIR}/src/*.h)
list(SORT _marked_sources)
set(_desktop_sources data/tarvex.desktop.in)
set(_metainfo_sources data/tarvex.metainfo.xml.in)
set(_mime_sources data/text-tarvex-mime.xml)
# gettext's own ITS rules, beside its programs: share/gettext/its.
cmake_path(GET TARVEX_XGETTEXT PARENT_PATH _its_dir)
cmake_path(GET _its_dir PARENT_PATH _its_dir)
set(_its_dir ${_its_dir}/share/gettext/its)
set(_xgettext ${TARVEX_XGETTEXT} --from-code=UTF-8 --add-comments=TRANSLATORS: --add-location=file
    "--package-name=Text Tarvex" --package-version=${PROJECT_VERSION} --msgid-bugs-address=maintainers@text-tarvex.invalid
    --output=${TARVEX_BUILD_POT})
add_custom_command(
  OUTPUT ${TARVEX_BUILD_POT}
  COMMAND ${_xgettext} --language=C++ --keyword --keyword=_ --keyword=C_:1c,2 --keyword=P_:1,2
          --keyword=N_ --keyword=NC_:1c,2 ${_marked_sources}
  COMMAND ${_xgettext} --join-existing --language=Desktop ${_desktop_sources}
  COMMAND ${_xgettext} --join-existing --its=${_its_dir}/metainfo.its ${_metainfo_sources}
  COMMAND ${_xgettext} --join-existing --its=${_its_dir}/shared-mime-info.its ${_mime_sources}
  DEPENDS ${_marked_sources} ${_desktop_sources} ${_metainfo_sources} ${_mime_sources}
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
  COMMENT "Collecting the translatable texts"
  VERBATIM)
add_custom_target(tarvex_template ALL DEPENDS ${TARVEX_BUILD_POT})

# For whoever changes texts: the template in the sources, and the catalogues
# merged with it (new texts untranslated, changed ones fuzzy, with the old
# English beside them).
add_custom_target(tarvex-pot
  COMMAND ${CMAKE_COMMAND} -DFROM=${TARVEX_BUILD_POT} -DTO=${TARVEX_PO_DIR}/${TARVEX_TEXT_DOMAIN}.pot
          -P ${PROJECT_SOURCE_DIR}/cmake/WriteTemplate.cmake
  DEPENDS ${TARVEX_BUILD_POT}
  COMMENT "Writing po/${TARVEX_TEXT_DOMAIN}.pot"
  VERBATIM)
set(_merges)
foreach(_language IN LISTS TARVEX_LANGUAGES)
  list(APPEND _merges COMMAND ${TARVEX_MSGMERGE} --quiet --update --backup=none --previous
       ${TARVEX_PO_DIR}/${_language}.po ${TARVEX_PO_DIR}/${TARVEX_TEXT_DOMAIN}.pot)
endforeach()
add_custom_target(tarvex-update-po ${_merges}
  DEPENDS tarvex-pot
  COMMENT "Merging po/${TARVEX_TEXT_DOMAIN}.pot into the catalogues"
  VERBATIM)

# A locale of the language's main country ("de" gives de_DE), in which tests
# and screenshots run the programs as a session of that language would.
function(tarvex_locale_of language out)
  set(_countries en=US ar=EG uk=UA zh=CN)
  if(language MATCHES "_")
    set(${out} ${language} PARENT_SCOPE)
    return()
  endif()
  string(TOUPPER ${language} _country)
  foreach(_pair IN LISTS _countries)
    if(_pair MATCHES "^${language}=(.*)$")
      set(_country ${CMAKE_MATCH_1})
    endif()
  endforeach()
  set(${out} ${language}_${_country} PARENT_SCOPE)
endfunction()
