// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <string>

namespace tarvex {

// Names that stand in `Error::path` for the standard streams; messages show them unquoted.
inline constexpr const char* kStandardInputName = "standard input";
inline constexpr const char* kStandardOutputName = "standard output";

// The two lines of a key agreement, for the verdicts on them.
enum class AgreementLine : std::uint8_t { None, Invitation, Answer };

// Everything the libraries can refuse, with the facts a message needs.
// messages/messages.h turns one into words.
struct Error {
    enum class Kind {
        FileUnreadable,        // path, osError
        FileTooLarge,          // path, limit
        FileWriteFailed,       // path, osError
        FileExists,            // path
        NoKeyNumber,           // path
        CharacterNotInSet,     // character, position
        InvalidUtf8,           // position (byte offset, from 1)
        EncryptedCodeTooLarge, // code, position
        EncryptedCodeReserved, // code, position: its cipher code would read back as tab, LF or CR
        ControlCharacter,      // code, position: a control other than tab, LF and CR
        KeyHidesNothing,       // path: most key numbers are 0, so the text would show through
        DecryptedCodeNegative, // code, position
        RandomSourceFailed,    // osError
        NoCipherText,          // path: the input was empty
        OnlyLineBreaks,        // path: the input held line breaks and nothing else
        NotRegularFile,        // path, fileType
        SealedDamaged,         // position and code of the first wrong character, or position 0 when none is to blame
        SealedOtherKey,        // fingerprint: of the key in use
        SealedNewerVersion,    // the token names a version after 1
        NotSealed,             // path: the input is no sealed message
        SealKeyTooShort,       // path, limit: the fewest key numbers a sealing key has, position: how many it has
        SealKeyTooWeak,        // path: most key numbers are 0
        SealedNotText,         // the opened payload is not UTF-8: a file, for tarvex-cli
        SealedTooLongForIcq,   // position: the token's length, limit: what ICQ mode takes
        SealInstead,           // the question that follows a character Encrypt refused
        NotClassicCipherText,  // character, position: a character outside the set in a text to decrypt
        // Verdicts on a key agreement's lines; each has expectedLine, and foundLine where a line was found.
        AgreeLineDamaged,      // code, position: the first character that cannot belong to a whole line; position 0: the check value differs
        AgreeLineCut,          // the text ends before the line is whole
        AgreeNewerVersion,     // code: the version digit
        AgreeWrongKind,        // foundLine is the other kind
        AgreeOwnInvitation,    // the inviter was given back its own invitation
        AgreeNoLine,           // path: the text holds neither kind of line
        AgreeNothingGiven,     // path: the text is empty or white space only
        AgreeSealedGiven,      // path: the text holds a sealed message instead
        AgreeOtherInvitation,  // the answer names another invitation than this one
        AgreeMadeOnPurpose,    // the line carries a public half that gives no key: the agreement must start again
        AgreeDigitsDiffer,     // the eight digits heard are not this key's
        AgreeDigitsUnreadable, // what was typed is not eight hexadecimal digits
        AgreeGivenUp,          // the input ended before the line expected came: no key file
        AgreeNotCompared,      // the input ended before the digits were compared: no key file
        NotCipherText,         // path, code: the character the text begins with (white space, format characters
                               // and quote markers aside), which begins neither a cipher text nor a sealed message
        OnlyWhiteSpace,        // path: a text to decrypt held white space, format characters and quote markers only
        LooksDamagedSealed,    // path: no cipher text, but a sealed message as a channel damages one (its start
                               // close to tarvex1, or base58 digits alone)
    };

    Kind kind;
    std::string path; // for faults inside a text, the text's name (may be empty)
    int osError = 0;
    std::uint64_t position = 0; // counted from 1
    std::uint32_t code = 0;     // a byte code (0-255) or a Unicode scalar value
    std::uint64_t limit = 0;
    std::uint32_t fileType = 0; // the type bits of a file that is not a regular one (st_mode & S_IFMT)
    std::string fingerprint;    // of the key in use, where the message depends on it
    AgreementLine expectedLine = AgreementLine::None; // the line a key agreement asked for
    AgreementLine foundLine = AgreementLine::None;    // the line the text holds, where one was found
};

// The system's own words for errno `osError` ("No space left on device"), or
// "unknown error" for 0.
std::string systemReason(int osError);

} // namespace tarvex
