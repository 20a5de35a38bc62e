// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <string_view>
#include <vector>

// Finding the program's catalogue and the language it speaks. gettext keeps
// what it needs (the bound folder, the loaded catalogue) itself; nothing here
// holds state of its own.
namespace tarvex::i18n {

// The folder of the running program, from /proc/self/exe; empty if unknown.
std::string runningProgramFolder();

// Where the catalogues are for a program in `programFolder`: at the installed
// place relative to it, then one folder further up (programs run from the
// build folder sit one level deeper, in src/cli or tests/i18n), then under the
// install prefix. The first of them that exists.
std::string catalogueFolderFor(std::string_view programFolder);

// Binds the catalogue of a program in `programFolder`, its texts given in
// UTF-8 whatever the session's character set.
void bindCatalogue(std::string_view programFolder);

// For tarvex-cli: its messages in the session's language, chosen by LANGUAGE,
// LC_ALL, LC_MESSAGES and LANG as in every gettext program, the system's words
// for a failure (strerror) included, in UTF-8. Only the messages:
// the character classes, number formats and collation stay those of the C
// locale, so nothing that scripts read or that the program decides changes
// with the language.
void speakSessionLanguage();

// The language of the catalogue that the session's texts come from, as its
// header names it ("de", "pt_BR"); empty when the texts are the program's
// own English.
std::string catalogueLanguage();

// The folders to look for a language's own files in, most particular first:
// "pt_BR" gives pt_BR and pt, "de" gives de. Any codeset or modifier is left out.
std::vector<std::string> languageFolders(std::string_view language);

} // namespace tarvex::i18n
