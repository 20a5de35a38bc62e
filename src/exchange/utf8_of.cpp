// SPDX-License-Identifier: GPL-3.0-or-later

#include "utf8_of.h"

#include <QStringEncoder>

namespace tarvex::exchange {

secret::String utf8Of(QStringView text) {
    QStringEncoder encoder(QStringEncoder::Utf8, QStringConverter::Flag::Stateless);
    secret::String utf8(static_cast<std::size_t>(encoder.requiredSpace(text.size())), '\0');
    const char* end = encoder.appendToBuffer(utf8.data(), text);
    utf8.resize(static_cast<std::size_t>(end - utf8.data()));
    return utf8;
}

} // namespace tarvex::exchange
