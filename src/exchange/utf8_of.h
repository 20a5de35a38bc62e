// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "secret/string.h"

#include <QStringView>

namespace tarvex::exchange {

// The UTF-8 of a text that Qt holds (the message area's, the clipboard's),
// written straight into a secret::String. The QString itself is Qt's storage,
// which nothing of ours can lock or wipe; this makes no other copy. A lone
// surrogate becomes U+FFFD.
secret::String utf8Of(QStringView text);

} // namespace tarvex::exchange
