# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DFROM=<made template> -DTO=po/tarvex.pot -P WriteTemplate.cmake
# The template as the sources keep it: xgettext's placeholder comments give way
# to the licence line, and the time it was made is left out, so that making it
# again from the same texts changes nothing.
file(READ ${FROM} _template)
string(REGEX REPLACE "^(#[^\n]*\n)+" "" _template "${_template}")
string(REGEX REPLACE "\"POT-Creation-Date: [^\"]*\"\n" "" _template "${_template}")
file(WRITE ${TO} "# SPDX-License-Identifier: GPL-3.0-or-later
# The template of Text Tarvex's translations. Made by
# `cmake --build build --target tarvex-pot`; never edit it by hand.
#, fuzzy
${_template}")
