// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "i18n/translate.h"

// The marks that xgettext looks for (its keywords are set in po/CMakeLists.txt).
// A text is written in English where it is used, as a literal, inside one of
// them; the template po/tarvex.pot is made of every text so marked.
//
//   _("text")                the text in the session's language
//   C_("context", "text")    the same, where one English text needs two
//                            translations: the context tells them apart
//   P_("one", "many", n)     the form for the number n
//   N_("text")               marks a text in a table, translated where it is
//   NC_("context", "text")   shown (with the same context, by text())
//
// Values go in as named places ("{path}") filled by fill() after translating,
// never glued on, so that a translation can put them where its grammar needs.
#define _(english) ::tarvex::i18n::text(english)
#define C_(context, english) ::tarvex::i18n::text(context, english)
#define P_(english, englishPlural, count) ::tarvex::i18n::plural(english, englishPlural, count)
#define N_(english) english
#define NC_(context, english) english
