// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "cipher_command_host.h"
#include "cipher/uniform_source.h"

namespace tarvex::agree {
class Agreement;
}

namespace tarvex::exchange {

// The folder the Create Key dialog starts in; where it does not exist the dialog
// falls back to its own default.
inline constexpr const char* kKeyFolder = "C:\\Program Files\\DevStudio\\VB\\Tarvex\\Keys\\";

// Asks for a file name, writes a new random key there (owner-only, atomically)
// and makes it the current key.
void createKey(CipherCommandHost& host, cipher::UniformSource& source, cipher::TimeOfDayClock& clock);

// Asks for a file name as Create Key does and saves the agreed key there
// (owner-only, atomically); it then becomes the current key as a created one
// does. False on cancel or when it could not be written (reported). Whether
// the digits were compared is the caller's to settle first.
bool saveAgreedKey(CipherCommandHost& host, const agree::Agreement& agreement);

// Asks for an existing key file and makes it the current key; the file is first
// read by Encrypt or Decrypt.
void loadKey(CipherCommandHost& host);

// Replace the message with its cipher text, or the cipher text with its message.
// Nothing happens without a text or a key; a failure shows one message and changes nothing.
// A character that the classic format cannot carry (outside the set, or not with
// this key) is named with the question whether to seal instead; Yes seals.
void encryptMessage(CipherCommandHost& host);
// Decrypt opens a sealed message (one that begins with tarvex1) as well.
void decryptMessage(CipherCommandHost& host);

// Replaces the message with its sealed token: the text as UTF-8 with LF line
// breaks. Every character goes, but only this program and tarvex-cli read it.
void sealMessage(CipherCommandHost& host);

} // namespace tarvex::exchange
