// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "exchange_host.h"

#include <QClipboard>
#include <QString>

#include <cstddef>

namespace tarvex::exchange {

// A cipher text, classic or sealed, is meant to be sent; anything else is a message.
bool isCipherText(const QString& text);
// Puts a text on the clipboard or the selection, marked as a secret unless it
// is a cipher text.
void offerText(const QString& text, QClipboard::Mode mode = QClipboard::Clipboard);

// Puts the whole message on the clipboard, replacing whatever it held.
void copyToClipboard(ExchangeHost& host);
// Fills an empty message area from the clipboard's text. A text past the
// mode's limit is refused whole with a message: a message cut short is worse
// than none.
void pasteFromClipboard(ExchangeHost& host);
// Asks first, then empties the clipboard and the primary selection.
void clearClipboard(ExchangeHost& host);
// Empties the message area without a question.
void clearText(ExchangeHost& host);

// Why a text of `length` characters was not pasted where only `room` fit;
// `what` names the text (messages::pastedTextName()).
QString notPastedMessage(const QString& what, std::size_t length, std::size_t room, MessageLimit limit);

} // namespace tarvex::exchange
