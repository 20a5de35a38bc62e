#include "error.h"

#include "charset.h"

#include <cstring>

namespace tarvex {
namespace {

std::string quoted(const std::string& path) {
    if (path == kStandardInputName || path == kStandardOutputName) return path;
    return "'" + path + "'";
}

// Codes 253 to 255 cannot be encrypted with any key: every step takes them
// past 255, and no step reads back as themselves.
std::string encryptHint(std::uint32_t code) {
    return code >= 253 ? "; no key can encrypt it, so remove or replace it" : "; remove or replace it, or use another key";
}

std::string osReason(int osError) {
    return osError != 0 ? std::string(std::strerror(osError)) : std::string("unknown error");
}

} // namespace

std::string Error::describe() const {
    const std::string at = " at position " + std::to_string(position);
    // Faults inside a text name the text when the caller knows it.
    const std::string in = path.empty() ? std::string() : "in " + quoted(path) + ", ";
    switch (kind) {
    case Kind::FileUnreadable:
        return "cannot read " + quoted(path) + ": " + osReason(osError);
    case Kind::FileTooLarge:
        return "cannot read " + quoted(path) + ": it is larger than " + std::to_string(limit / (1024 * 1024)) + " MiB";
    case Kind::FileWriteFailed:
        return "cannot write " + quoted(path) + ": " + osReason(osError);
    case Kind::FileExists:
        return quoted(path) + " already exists";
    case Kind::NoKeyNumber:
        return "the key file " + quoted(path) + " holds no key: it is empty or has only empty lines";
    case Kind::CharacterNotInSet:
        return in + "the character " + charset::describeCharacter(code) + at + " has no code in the Windows-1252 character set";
    case Kind::InvalidUtf8:
        return in + "the text is not valid UTF-8 at byte " + std::to_string(position);
    case Kind::EncryptedCodeTooLarge:
        return in + "the character " + charset::describeCode(static_cast<std::uint8_t>(code)) + at +
               " cannot be encrypted with this key: its code would exceed 255" + encryptHint(code);
    case Kind::EncryptedCodeReserved:
        return in + "the character " + charset::describeCode(static_cast<std::uint8_t>(code)) + at +
               " cannot be encrypted with this key: its cipher code would read back as a tab or a line break" +
               encryptHint(code);
    case Kind::ControlCharacter:
        return in + "the control character " + charset::describeCode(static_cast<std::uint8_t>(code)) + at +
               " cannot be encrypted: it would not come back as itself; remove it";
    case Kind::KeyHidesNothing:
        return quoted(path) + " does not look like a key: more than half of its key numbers are 0, so the "
               "cipher text would show the message; use the key file that you share, or create a new one";
    case Kind::DecryptedCodeNegative:
        return in + "the character " + charset::describeCode(static_cast<std::uint8_t>(code)) + at +
               " cannot be decrypted with this key: its code would fall below 0";
    case Kind::NoCipherText:
        return quoted(path) + " holds no cipher text: it is empty";
    case Kind::RandomSourceFailed:
        return "the system's random source failed: " + osReason(osError);
    }
    return "unknown error";
}

} // namespace tarvex
