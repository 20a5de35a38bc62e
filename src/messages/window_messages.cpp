// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_messages.h"

#include "messages.h"

#include "i18n/fill.h"

namespace tarvex::messages {
namespace {

std::string number(std::uint64_t value) {
    return std::to_string(value);
}

constexpr std::string_view kForTarvexCli = "A text this large is for tarvex-cli, which works on files of any size.";

} // namespace

DialogWords createKeyDialog() {
    // Most likely the key shared with a friend, without which no earlier message can be read.
    return {.title = "Text Tarvex - Create Key Dialog",
            .filter = "Tarvex Key Files(*.tvk)|*tvk",
            .replaceQuestion = "Do you want to replace it with a new key? Every message encrypted with the key in "
                               "it could then no longer be decrypted, by you or by anyone you share it with."};
}

DialogWords saveAgreedKeyDialog() {
    DialogWords words = createKeyDialog();
    words.title = "Text Tarvex - Save Agreed Key Dialog";
    return words;
}

DialogWords loadKeyDialog() {
    return {.title = "Text Tarvex - Load Key Dialog", .filter = "Tarvex Key File(*.tvk)|*tvk"};
}

DialogWords loadTextFileDialog() {
    return {.title = "Text Tarvex - Load File Dialog", .filter = "Text Files(*.txt)|*txt|Ascii Files(*.asc)|*asc"};
}

DialogWords saveTextFileDialog() {
    return {.title = "Text Tarvex - Save File Dialog",
            .filter = "Text Files(*.txt)|*txt|Ascii Files(*.asc)|*asc",
            .replaceQuestion = "Do you want to replace it with this text?"};
}

Question sealInstead(const Error& refusal) {
    // The refusal names the character and its position and says what would
    // help; sealing is the other way out.
    return {.text = messageFor(refusal).box +
                    "\n\nDo you want to seal the message instead? A sealed message carries every character, but "
                    "only Text Tarvex and tarvex-cli can read it: the receiver needs one of them and the same key "
                    "file."};
}

Question clearClipboard() {
    return {.title = "Clear Clipboard", .text = "Do You Really Want To Clear The Clipboard?"};
}

std::string resultTooLong(Direction direction, std::uint64_t length, std::uint64_t limit, bool icqMode) {
    const bool encrypt = direction == Direction::Encrypt;
    if (!icqMode) {
        return i18n::fill(encrypt ? "The cipher text would be {length} characters long, more than the {limit} "
                                    "characters that the text area holds."
                                  : "The decrypted message would be {length} characters long, more than the {limit} "
                                    "characters that the text area holds.",
                          {{"length", number(length)}, {"limit", number(limit)}}) +
               " The text was not changed.\n\n" + std::string(kForTarvexCli);
    }
    const std::string over = number(length - limit);
    std::string text = i18n::fill(encrypt ? "The cipher text would be {length} characters long, {over} more than the "
                                            "{limit} that the text area takes in ICQ mode, and its end would be lost."
                                          : "The decrypted message would be {length} characters long, {over} more than "
                                            "the {limit} that the text area takes in ICQ mode, and its end would be "
                                            "lost.",
                                  {{"length", number(length)}, {"over", over}, {"limit", number(limit)}});
    text += " The text was not changed.\n\n";
    if (!encrypt) return text + "Choose E-Mail mode (Ctrl+M), which has no limit, and decrypt again.";
    return text + i18n::fill(length - limit == 1 ? "Shorten the message by {over} character, or choose E-Mail mode "
                                                   "(Ctrl+M), which has no limit, and encrypt again."
                                                 : "Shorten the message by {over} characters, or choose E-Mail mode "
                                                   "(Ctrl+M), which has no limit, and encrypt again.",
                             {{"over", over}});
}

std::string clipboardTextName() {
    return "The text on the clipboard";
}

std::string textNotPasted(std::string_view what, std::uint64_t length, std::uint64_t room, std::uint64_t limit,
                          bool icqMode) {
    const char* format = nullptr;
    if (icqMode) {
        format = room < limit ? "{what} is {length} characters long, but in ICQ mode the text area takes at most "
                                "{limit} and has room for {room} more."
                              : "{what} is {length} characters long, but in ICQ mode the text area takes at most "
                                "{limit}.";
    } else {
        format = room < limit ? "{what} is {length} characters long, more than the {limit} characters that the text "
                                "area holds and has room for {room} more."
                              : "{what} is {length} characters long, more than the {limit} characters that the text "
                                "area holds.";
    }
    const std::string lengthText = number(length), limitText = number(limit), roomText = number(room);
    return i18n::fill(format, {{"what", what}, {"length", lengthText}, {"limit", limitText}, {"room", roomText}}) +
           " Nothing of it was put into the text area, so that no part of it gets lost.\n\n" +
           std::string(icqMode ? "E-Mail mode has no limit and keeps the text whole: choose E-Mail (Ctrl+M), then "
                                 "try again."
                               : kForTarvexCli);
}

std::string clipboardUnreachable() {
    return "The clipboard cannot be reached right now; another program may be holding it.\n\nTry again in a moment.";
}

std::string textFileNotLoaded(std::string_view path, std::string_view reason) {
    return i18n::fill("The file \"{path}\" cannot be loaded: {reason}.\n\nThe text area was not changed.",
                      {{"path", path}, {"reason", reason}});
}

std::string textNotSaved(std::string_view path, std::string_view reason) {
    return i18n::fill("The text could not be saved to \"{path}\": {reason}.\n\nNo file was changed.",
                      {{"path", path}, {"reason", reason}});
}

std::string textFileTooLarge(std::uint64_t mebibytes) {
    return i18n::fill("it is larger than the {mebibytes} MiB that the text area holds", {{"mebibytes", number(mebibytes)}});
}

std::string isAFolder() {
    return "it is a folder";
}

std::string textFileTooLongForIcq(std::string_view path, std::uint64_t length, std::uint64_t limit) {
    const std::string lengthText = number(length), overText = number(length - limit), limitText = number(limit);
    return i18n::fill("The file \"{path}\" holds a text of {length} characters, {over} more than the {limit} that the "
                      "text area takes in ICQ mode. Nothing was loaded, so that no part of it gets lost; the text "
                      "area was not changed.\n\nE-Mail and File mode have no limit: choose one of them, then load "
                      "the file again.",
                      {{"path", path}, {"length", lengthText}, {"over", overText}, {"limit", limitText}});
}

} // namespace tarvex::messages
