// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <string_view>

// The program's texts in the session's language, from the one catalogue that
// tarvex-cli and the window share. Every function gives the English text back
// unchanged where the catalogue has no translation for it, or where the session
// speaks English or C: an English session reads exactly what it always read.
// Texts are marked for the catalogue with the macros of marks.h.
namespace tarvex::i18n {

// The text domain: <catalogue folder>/<language>/LC_MESSAGES/tarvex.mo.
inline constexpr const char* kDomain = "tarvex";

std::string text(std::string_view english);
// For one English text that needs different translations in different places
// (a narrow button and a menu item): `context` tells the places apart.
std::string text(std::string_view context, std::string_view english);
// The form for `count`: the language's own plural rules choose among its
// forms (Polish, Russian and Arabic have more than two).
std::string plural(std::string_view english, std::string_view englishPlural, unsigned long count);
// The text as the catalogue holds it, not copied: for a message that has to do
// without memory of its own. Where gettext cannot find or convert the
// translation, the English comes back.
const char* textInPlace(const char* english);

} // namespace tarvex::i18n
