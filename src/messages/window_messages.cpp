// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_messages.h"

#include "fill_in.h"
#include "messages.h"

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
        return fillIn(encrypt ? "The cipher text would be {1} characters long, more than the {2} characters that "
                                "the text area holds."
                              : "The decrypted message would be {1} characters long, more than the {2} characters "
                                "that the text area holds.",
                      {number(length), number(limit)}) +
               " The text was not changed.\n\n" + std::string(kForTarvexCli);
    }
    const std::string over = number(length - limit);
    std::string text = fillIn(encrypt ? "The cipher text would be {1} characters long, {2} more than the {3} that the "
                                        "text area takes in ICQ mode, and its end would be lost."
                                      : "The decrypted message would be {1} characters long, {2} more than the {3} "
                                        "that the text area takes in ICQ mode, and its end would be lost.",
                              {number(length), over, number(limit)});
    text += " The text was not changed.\n\n";
    if (!encrypt) return text + "Choose E-Mail mode (Ctrl+M), which has no limit, and decrypt again.";
    return text + fillIn(length - limit == 1 ? "Shorten the message by {1} character, or choose E-Mail mode "
                                               "(Ctrl+M), which has no limit, and encrypt again."
                                             : "Shorten the message by {1} characters, or choose E-Mail mode "
                                               "(Ctrl+M), which has no limit, and encrypt again.",
                         {over});
}

std::string clipboardTextName() {
    return "The text on the clipboard";
}

std::string textNotPasted(std::string_view what, std::uint64_t length, std::uint64_t room, std::uint64_t limit,
                          bool icqMode) {
    const char* format = nullptr;
    if (icqMode) {
        format = room < limit ? "{1} is {2} characters long, but in ICQ mode the text area takes at most {3} and has "
                                "room for {4} more."
                              : "{1} is {2} characters long, but in ICQ mode the text area takes at most {3}.";
    } else {
        format = room < limit ? "{1} is {2} characters long, more than the {3} characters that the text area holds "
                                "and has room for {4} more."
                              : "{1} is {2} characters long, more than the {3} characters that the text area holds.";
    }
    return fillIn(format, {what, number(length), number(limit), number(room)}) +
           " Nothing of it was put into the text area, so that no part of it gets lost.\n\n" +
           std::string(icqMode ? "E-Mail mode has no limit and keeps the text whole: choose E-Mail (Ctrl+M), then "
                                 "try again."
                               : kForTarvexCli);
}

std::string clipboardUnreachable() {
    return "The clipboard cannot be reached right now; another program may be holding it.\n\nTry again in a moment.";
}

std::string textFileNotLoaded(std::string_view path, std::string_view reason) {
    return fillIn("The file \"{1}\" cannot be loaded: {2}.\n\nThe text area was not changed.", {path, reason});
}

std::string textNotSaved(std::string_view path, std::string_view reason) {
    return fillIn("The text could not be saved to \"{1}\": {2}.\n\nNo file was changed.", {path, reason});
}

std::string textFileTooLarge(std::uint64_t mebibytes) {
    return fillIn("it is larger than the {1} MiB that the text area holds", {number(mebibytes)});
}

std::string isAFolder() {
    return "it is a folder";
}

std::string textFileTooLongForIcq(std::string_view path, std::uint64_t length, std::uint64_t limit) {
    return fillIn("The file \"{1}\" holds a text of {2} characters, {3} more than the {4} that the text area takes "
                  "in ICQ mode. Nothing was loaded, so that no part of it gets lost; the text area was not "
                  "changed.\n\nE-Mail and File mode have no limit: choose one of them, then load the file again.",
                  {path, number(length), number(length - limit), number(limit)});
}

} // namespace tarvex::messages
