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

} // namespace

Result<std::string> codesFromTextFile(std::string_view bytes) {
    if (bytes.starts_with(kByteOrderMark)) {
        return charset::fromUtf8(bytes.substr(kByteOrderMark.size()));
    }
    if (isAscii(bytes)) {
        return std::string(bytes);
    }
    Result<std::string> codes = charset::fromUtf8(bytes);
    if (!codes && codes.error().kind == Error::Kind::InvalidUtf8) {
        return std::string(bytes);
    }
    return codes;
}

std::string textFileFromCodes(std::string_view codes) {
    if (isAscii(codes)) {
        return std::string(codes);
    }
    // Read back as UTF-8 whether or not its characters have codes.
    const Result<std::string> asUtf8 = charset::fromUtf8(codes);
    if (asUtf8 || asUtf8.error().kind != Error::Kind::InvalidUtf8) {
        std::string marked(kByteOrderMark);
        charset::appendAsUtf8(marked, codes);
        return marked;
    }
    return std::string(codes);
}

} // namespace tarvex::text
