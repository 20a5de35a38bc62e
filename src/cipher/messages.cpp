// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/error.h"

#include "text/charset.h"

#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace tarvex {
namespace {

std::string quoted(const std::string& path) {
    if (path == kStandardInputName || path == kStandardOutputName) return path;
    return "'" + escapedForMessage(path) + "'";
}

// The length of the well-formed UTF-8 sequence at the start of `text` and its
// character, or 0 when the first byte does not start one.
std::size_t decodeUtf8(std::string_view text, char32_t& ch) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char first = byte(0);
    std::size_t size = first < 0x80 ? 1 : first >= 0xC2 && first <= 0xDF ? 2 : first >= 0xE0 && first <= 0xEF ? 3
                     : first >= 0xF0 && first <= 0xF4                    ? 4
                                                                          : 0;
    if (size == 0 || size > text.size()) return 0;
    ch = static_cast<char32_t>(size == 1 ? first : first & (0x7Fu >> size));
    for (std::size_t i = 1; i < size; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
        ch = (ch << 6) | static_cast<char32_t>(byte(i) & 0x3Fu);
    }
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (ch < kSmallest[size] || ch > 0x10FFFF || (ch >= 0xD800 && ch <= 0xDFFF)) return 0;
    return size;
}

std::string fileType(std::uint32_t typeBits) {
    switch (typeBits) {
    case S_IFIFO: return "a pipe (FIFO)";
    case S_IFCHR:
    case S_IFBLK: return "a device";
    case S_IFSOCK: return "a socket";
    case S_IFDIR: return "a folder";
    default: return "of a special kind";
    }
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

std::string escapedForMessage(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    char escape[16];
    while (!text.empty()) {
        char32_t ch = 0;
        const std::size_t size = decodeUtf8(text, ch);
        if (size > 0 && charset::showsAsItself(ch)) {
            out.append(text.substr(0, size));
        } else if (size == 0) {
            std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned char>(text[0]));
            out += escape;
        } else if (ch == '\n' || ch == '\r' || ch == '\t' || ch == 0x1B) {
            out += ch == '\n' ? "\\n" : ch == '\r' ? "\\r" : ch == '\t' ? "\\t" : "\\e";
        } else if (ch < 0x80) {
            std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned>(ch));
            out += escape;
        } else {
            std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(ch));
            out += escape;
        }
        text.remove_prefix(size == 0 ? 1 : size);
    }
    return out;
}

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
    case Kind::OnlyLineBreaks:
        return quoted(path) + " holds no cipher text: it has only line breaks";
    case Kind::NotRegularFile:
        return "cannot use " + quoted(path) + ": it is " + fileType(code) + ", not a regular file";
    case Kind::RandomSourceFailed:
        return "the system's random source failed: " + osReason(osError);
    }
    return "unknown error";
}

} // namespace tarvex
