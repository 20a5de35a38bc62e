// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "secret/string.h"

#include <QString>
#include <QStringView>

// The message text is Unicode whose line breaks are CR LF: text from outside
// comes in with its line breaks made so (text/line_breaks.h).
namespace tarvex::window {

// Text from outside the window (typed, pasted, dropped) with every line break
// (LF, CR LF, a lone CR, the Unicode line and paragraph separators) made CR LF.
QString lineBreaksUnified(QStringView text);

// The same as the area's UTF-8.
secret::String textFromForeignText(QStringView text);

} // namespace tarvex::window
