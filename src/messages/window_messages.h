// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/error.h"
#include "cipher/text_transformer.h"

#include <cstdint>
#include <string>
#include <string_view>

// What the window's key, cipher, text file and clipboard commands say, beyond
// the words of an Error (messages.h), in the session's language.
namespace tarvex::messages {

// A command's file dialog: its title, its filter ("Name(*.ext)|*ext|..."),
// and for a Save dialog the question before an existing file is replaced, in
// which {path} stands for the file's name.
struct DialogWords {
    std::string title;
    std::string filter;
    std::string replaceQuestion;
};
DialogWords createKeyDialog();
// Where the window saves a key agreed with the other side: as createKeyDialog().
DialogWords saveAgreedKeyDialog();
DialogWords loadKeyDialog();
DialogWords loadTextFileDialog();
DialogWords saveTextFileDialog();

// A question with Yes and No.
struct Question {
    std::string title; // empty: the program's name
    std::string text;
};
// After Encrypt refused a character (`refusal`) that sealing would carry.
Question sealInstead(const Error& refusal);
Question clearClipboard();

// The result of Encrypt or Decrypt would be `length` characters long, more
// than the `limit` that the text area takes (in ICQ mode, or at all).
std::string resultTooLong(cipher::Direction direction, std::uint64_t length, std::uint64_t limit, bool icqMode);

// Where a text came from that was too long to paste.
enum class PastedFrom { Clipboard, Drop, Selection };
// The text, for textNotPasted: "The text on the clipboard".
std::string pastedTextName(PastedFrom from);
// A text (`what`, named by pastedTextName()) of `length` characters was not
// put into the text area, which takes `limit` in all (in ICQ mode, or at all)
// and had room for `room` more.
std::string textNotPasted(std::string_view what, std::uint64_t length, std::uint64_t room, std::uint64_t limit,
                          bool icqMode);
std::string clipboardUnreachable();

// Loading or saving a text file failed for `reason`: the system's words, or
// one of the reasons below.
std::string textFileNotLoaded(std::string_view path, std::string_view reason);
std::string textNotSaved(std::string_view path, std::string_view reason);
std::string textFileTooLarge(std::uint64_t mebibytes);
std::string isAFolder();
// The text in the file would pass the limit of ICQ mode.
std::string textFileTooLongForIcq(std::string_view path, std::uint64_t length, std::uint64_t limit);

} // namespace tarvex::messages
