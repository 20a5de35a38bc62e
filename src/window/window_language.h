// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QCoreApplication;

namespace tarvex::window {

// The program in the session's language, before its first window is made: the
// program's catalogue (i18n/catalogue.h), Qt's own translations in the same
// language (the file dialogs, Yes and No, the --help of Qt's options) from
// Debian's qt6-translations-l10n, and for a language written right to left the
// whole window mirrored. The language is the one of the catalogue in use, so
// the window never shows two languages; Qt's translator is a child of
// `application`.
void useSessionLanguage(QCoreApplication& application);

} // namespace tarvex::window
