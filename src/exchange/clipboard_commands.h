#pragma once

#include "exchange_host.h"

namespace tarvex::exchange {

// Puts the whole message on the clipboard, replacing whatever it held.
void copyToClipboard(ExchangeHost& host);
// Fills an empty message area from the clipboard's text, cut to the mode's limit.
void pasteFromClipboard(ExchangeHost& host);
// Asks first, then empties the clipboard.
void clearClipboard(ExchangeHost& host);
// Empties the message area without a question.
void clearText(ExchangeHost& host);

} // namespace tarvex::exchange
