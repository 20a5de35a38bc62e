// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_messages.h"

#include "messages.h"

#include "i18n/fill.h"
#include "i18n/marks.h"

namespace tarvex::messages {
namespace {

std::string number(std::uint64_t value) {
    return std::to_string(value);
}

// The last paragraph of a refusal whose text is too large for the window.
std::string forTarvexCli() {
    return _("A text this large is for tarvex-cli, which works on files of any size.");
}

// "Name(*.ext)|*ext": what the dialog shows, then the pattern it applies.
std::string filterOf(std::string description, std::string_view pattern) {
    return description.append(1, '|').append(pattern);
}

std::string textFileFilter() {
    /* TRANSLATORS: a file dialog's filter; keep the pattern in parentheses. */
    return filterOf(_("Text Files(*.txt)"), "*txt") + "|" + filterOf(_("Ascii Files(*.asc)"), "*asc");
}

} // namespace

DialogWords createKeyDialog() {
    // Most likely the key shared with a friend, without which no earlier message can be read.
    return {.title = _("Text Tarvex - Create Key Dialog"),
            /* TRANSLATORS: a file dialog's filter; keep the pattern in parentheses. */
            .filter = filterOf(_("Tarvex Key Files(*.tvk)"), "*tvk"),
            /* TRANSLATORS: asked when the key file chosen to create exists; {path} is its name. */
            .replaceQuestion = _("The file \"{path}\" already exists.\n\nDo you want to replace it with a new key? "
                                 "Every message encrypted with the key in it could then no longer be decrypted, by "
                                 "you or by anyone you share it with.")};
}

DialogWords saveAgreedKeyDialog() {
    DialogWords words = createKeyDialog();
    words.title = _("Text Tarvex - Save Agreed Key Dialog");
    return words;
}

DialogWords loadKeyDialog() {
    /* TRANSLATORS: a file dialog's filter; keep the pattern in parentheses. */
    return {.title = _("Text Tarvex - Load Key Dialog"), .filter = filterOf(_("Tarvex Key File(*.tvk)"), "*tvk")};
}

DialogWords loadTextFileDialog() {
    return {.title = _("Text Tarvex - Load File Dialog"), .filter = textFileFilter()};
}

DialogWords saveTextFileDialog() {
    return {.title = _("Text Tarvex - Save File Dialog"),
            .filter = textFileFilter(),
            /* TRANSLATORS: asked when the text file chosen to save to exists; {path} is its name. */
            .replaceQuestion = _("The file \"{path}\" already exists.\n\nDo you want to replace it with this text?")};
}

Question sealInstead(const Error& refusal) {
    // The refusal names the character and its position and says what would
    // help; sealing is the other way out.
    /* TRANSLATORS: the last paragraph of a message box whose first ones say
       why a character cannot be encrypted. */
    return {.text = messageFor(refusal).box + "\n\n" +
                    _("Do you want to seal the message instead? A sealed message carries every character, but only "
                      "Text Tarvex and tarvex-cli can read it: the receiver needs one of them and the same key file.")};
}

Question clearClipboard() {
    return {.title = _("Clear Clipboard"), .text = _("Do You Really Want To Clear The Clipboard?")};
}

std::string resultTooLong(cipher::Direction direction, std::uint64_t length, std::uint64_t limit, bool icqMode) {
    const bool encrypt = direction == cipher::Direction::Encrypt;
    const std::string lengthText = number(length), limitText = number(limit), overText = number(length - limit);
    const std::initializer_list<i18n::Placeholder> values = {
        {"length", lengthText}, {"limit", limitText}, {"over", overText}};
    if (!icqMode) {
        /* TRANSLATORS: the form is chosen by {length}; {limit} is characters
           too, and always more than 1. A paragraph about tarvex-cli follows. */
        return i18n::fill(encrypt ? P_("The cipher text would be {length} character long, more than the {limit} "
                                       "characters that the text area holds. The text was not changed.",
                                       "The cipher text would be {length} characters long, more than the {limit} "
                                       "characters that the text area holds. The text was not changed.",
                                       length)
                                  /* TRANSLATORS: the form is chosen by {length}; {limit} is characters
                                     too, and always more than 1. A paragraph about tarvex-cli follows. */
                                  : P_("The decrypted message would be {length} character long, more than the {limit} "
                                       "characters that the text area holds. The text was not changed.",
                                       "The decrypted message would be {length} characters long, more than the "
                                       "{limit} characters that the text area holds. The text was not changed.",
                                       length),
                          values) +
               "\n\n" + forTarvexCli();
    }
    if (!encrypt) {
        /* TRANSLATORS: the form is chosen by {length}; {over} and {limit} are characters too. */
        return i18n::fill(P_("The decrypted message would be {length} character long, {over} more than the {limit} "
                             "that the text area takes in ICQ mode, and its end would be lost. The text was not "
                             "changed.\n\nChoose E-Mail mode (Ctrl+M), which has no limit, and decrypt again.",
                             "The decrypted message would be {length} characters long, {over} more than the {limit} "
                             "that the text area takes in ICQ mode, and its end would be lost. The text was not "
                             "changed.\n\nChoose E-Mail mode (Ctrl+M), which has no limit, and decrypt again.",
                             length),
                          values);
    }
    /* TRANSLATORS: the form is chosen by {length}; {over} and {limit} are
       characters too. A paragraph on how to shorten the message follows. */
    return i18n::fill(P_("The cipher text would be {length} character long, {over} more than the {limit} that the "
                         "text area takes in ICQ mode, and its end would be lost. The text was not changed.",
                         "The cipher text would be {length} characters long, {over} more than the {limit} that the "
                         "text area takes in ICQ mode, and its end would be lost. The text was not changed.",
                         length),
                      values) +
           "\n\n" +
           i18n::fill(P_("Shorten the message by {over} character, or choose E-Mail mode (Ctrl+M), which has no limit, "
                         "and encrypt again.",
                         "Shorten the message by {over} characters, or choose E-Mail mode (Ctrl+M), which has no "
                         "limit, and encrypt again.",
                         length - limit),
                      {{"over", overText}});
}

std::string pastedTextName(PastedFrom from) {
    /* TRANSLATORS: {what} in the messages about a text too long to paste. */
    if (from == PastedFrom::Drop) return _("The dropped text");
    /* TRANSLATORS: {what} in the messages about a text too long to paste
       (pasted with the middle mouse button). */
    if (from == PastedFrom::Selection) return _("The selected text");
    /* TRANSLATORS: {what} in the messages about a text too long to paste. */
    return _("The text on the clipboard");
}

std::string textNotPasted(std::string_view what, std::uint64_t length, std::uint64_t room, std::uint64_t limit,
                          bool icqMode) {
    std::string format;
    if (icqMode) {
        /* TRANSLATORS: {what} is the text on the clipboard, the dropped or the
           selected text; the form is chosen by {length}. A paragraph on what to
           do follows. */
        format = room < limit ? P_("{what} is {length} character long, but in ICQ mode the text area takes at most "
                                   "{limit} and has room for {room} more. Nothing of it was put into the text area, "
                                   "so that no part of it gets lost.",
                                   "{what} is {length} characters long, but in ICQ mode the text area takes at most "
                                   "{limit} and has room for {room} more. Nothing of it was put into the text area, "
                                   "so that no part of it gets lost.",
                                   length)
                              /* TRANSLATORS: {what} is the text on the clipboard, the dropped or
                                 the selected text; the form is chosen by {length}. */
                              : P_("{what} is {length} character long, but in ICQ mode the text area takes at most "
                                   "{limit}. Nothing of it was put into the text area, so that no part of it gets "
                                   "lost.",
                                   "{what} is {length} characters long, but in ICQ mode the text area takes at most "
                                   "{limit}. Nothing of it was put into the text area, so that no part of it gets "
                                   "lost.",
                                   length);
    } else {
        /* TRANSLATORS: {what} is the text on the clipboard, the dropped or the
           selected text; the form is chosen by {length}. */
        format = room < limit ? P_("{what} is {length} character long, more than the {limit} characters that the text "
                                   "area holds and has room for {room} more. Nothing of it was put into the text area, "
                                   "so that no part of it gets lost.",
                                   "{what} is {length} characters long, more than the {limit} characters that the "
                                   "text area holds and has room for {room} more. Nothing of it was put into the text "
                                   "area, so that no part of it gets lost.",
                                   length)
                              /* TRANSLATORS: {what} is the text on the clipboard, the dropped or
                                 the selected text; the form is chosen by {length}. */
                              : P_("{what} is {length} character long, more than the {limit} characters that the text "
                                   "area holds. Nothing of it was put into the text area, so that no part of it gets "
                                   "lost.",
                                   "{what} is {length} characters long, more than the {limit} characters that the "
                                   "text area holds. Nothing of it was put into the text area, so that no part of it "
                                   "gets lost.",
                                   length);
    }
    const std::string lengthText = number(length), limitText = number(limit), roomText = number(room);
    return i18n::fill(format, {{"what", what}, {"length", lengthText}, {"limit", limitText}, {"room", roomText}}) +
           "\n\n" +
           (icqMode ? _("E-Mail mode has no limit and keeps the text whole: choose E-Mail (Ctrl+M), then try again.")
                    : forTarvexCli());
}

std::string clipboardUnreachable() {
    return _("The clipboard cannot be reached right now; another program may be holding it.\n\nTry again in a moment.");
}

std::string textFileNotLoaded(std::string_view path, std::string_view reason) {
    /* TRANSLATORS: {reason} is the system's words for the failure or one of
       the reasons below ("it is a folder"). */
    return i18n::fill(_("The file \"{path}\" cannot be loaded: {reason}.\n\nThe text area was not changed."),
                      {{"path", path}, {"reason", reason}});
}

std::string textNotSaved(std::string_view path, std::string_view reason) {
    /* TRANSLATORS: {reason} is the system's words for the failure. */
    return i18n::fill(_("The text could not be saved to \"{path}\": {reason}.\n\nNo file was changed."),
                      {{"path", path}, {"reason", reason}});
}

std::string textFileTooLarge(std::uint64_t mebibytes) {
    /* TRANSLATORS: {reason} in "The file ... cannot be loaded: {reason}."; "it" is the file. */
    return i18n::fill(_("it is larger than the {mebibytes} MiB that the text area holds"),
                      {{"mebibytes", number(mebibytes)}});
}

std::string isAFolder() {
    /* TRANSLATORS: {reason} in "The file ... cannot be loaded: {reason}."; "it" is the file. */
    return _("it is a folder");
}

std::string textFileTooLongForIcq(std::string_view path, std::uint64_t length, std::uint64_t limit) {
    const std::string lengthText = number(length), overText = number(length - limit), limitText = number(limit);
    /* TRANSLATORS: the form is chosen by {length}; {over} and {limit} are characters too. */
    return i18n::fill(P_("The file \"{path}\" holds a text of {length} character, {over} more than the {limit} that "
                         "the text area takes in ICQ mode. Nothing was loaded, so that no part of it gets lost; the "
                         "text area was not changed.\n\nE-Mail and File mode have no limit: choose one of them, then "
                         "load the file again.",
                         "The file \"{path}\" holds a text of {length} characters, {over} more than the {limit} that "
                         "the text area takes in ICQ mode. Nothing was loaded, so that no part of it gets lost; the "
                         "text area was not changed.\n\nE-Mail and File mode have no limit: choose one of them, then "
                         "load the file again.",
                         length),
                      {{"path", path}, {"length", lengthText}, {"over", overText}, {"limit", limitText}});
}

} // namespace tarvex::messages
