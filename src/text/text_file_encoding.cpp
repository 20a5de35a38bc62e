// SPDX-License-Identifier: GPL-3.0-or-later

#include "text_file_encoding.h"

#include "charset.h"

#include <algorithm>

namespace tarvex::text {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool isAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The codes themselves, unless they would read as UTF-8; then UTF-8 after a
// byte-order mark.
secret::String textFileOfCodes(std::string_view codes) {
    if (isAscii(codes)) {
        return codes;
    }
    // Read back as UTF-8 whether or not its characters have codes.
    const Result<secret::String> asUtf8 = charset::fromUtf8(codes);
    if (asUtf8 || asUtf8.error().kind != Error::Kind::InvalidUtf8) {
        secret::String marked(kByteOrderMark);
        charset::appendAsUtf8(marked, codes);
        return marked;
    }
    return codes;
}

} // namespace

Result<secret::String> textOfTextFile(std::string_view bytes) {
    if (bytes.starts_with(kByteOrderMark)) {
        bytes.remove_prefix(kByteOrderMark.size());
        if (const std::size_t at = charset::malformedUtf8At(bytes)) {
            return Error{.kind = Error::Kind::InvalidUtf8, .position = at + kByteOrderMark.size()};
        }
        return secret::String(bytes);
    }
    if (isAscii(bytes) || charset::malformedUtf8At(bytes) == 0) return secret::String(bytes);
    return charset::toUtf8(bytes);
}

secret::String textFileOfText(std::string_view text) {
    const Result<secret::String> codes = charset::fromUtf8(text);
    if (codes) return textFileOfCodes(*codes);
    // A mark of its own, or the text's first character would be taken for one.
    secret::String file;
    file.reserve(kByteOrderMark.size() + text.size());
    if (text.starts_with(kByteOrderMark)) file.append(kByteOrderMark);
    file.append(text);
    return file;
}

} // namespace tarvex::text
