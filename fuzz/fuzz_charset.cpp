// SPDX-License-Identifier: GPL-3.0-or-later

#include "messages/messages.h"
#include "secret/string.h"
#include "text/charset.h"

#include "fuzz_check.h"

#include <cstdint>
#include <string>
#include <string_view>

// Decoding fails with a typed error or gives codes that encode back to the very
// same bytes; decoding in two pieces gives what decoding at once gives; every
// vector path decodes and encodes as the 16-byte one does.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarvex;
    std::string_view utf8(reinterpret_cast<const char*>(data), size);

    Result<secret::String> whole = text::charset::fromUtf8(utf8);
    if (whole) {
        FUZZ_CHECK(std::string_view(text::charset::toUtf8(*whole)) == utf8);
    } else {
        Error::Kind kind = whole.error().kind;
        FUZZ_CHECK(kind == Error::Kind::InvalidUtf8 || kind == Error::Kind::CharacterNotInSet);
        FUZZ_CHECK(whole.error().position >= 1);
        FUZZ_CHECK(!messages::describe(whole.error()).empty());
    }

    std::size_t cut = size == 0 ? 0 : data[0] % (size + 1);
    text::charset::Utf8ToCodes pieces;
    secret::String codes;
    Status first = pieces.feed(utf8.substr(0, cut), codes);
    Status second = first ? pieces.feed(utf8.substr(cut), codes) : first;
    Status end = second ? pieces.finish() : second;
    FUZZ_CHECK(end.ok() == whole.ok());
    if (whole) FUZZ_CHECK(std::string_view(codes) == std::string_view(*whole));
    if (!whole) FUZZ_CHECK(end.error().position == whole.error().position);

    for (simd::Path path : text::availablePaths()) {
        text::charset::Utf8ToCodes decoder(path);
        std::string viaPath(size, '\0');
        Result<std::size_t> written = decoder.feed(utf8.substr(0, cut), viaPath.data());
        std::size_t total = written ? *written : 0;
        if (written) {
            written = decoder.feed(utf8.substr(cut), viaPath.data() + total);
            if (written) total += *written;
        }
        Status ended = written ? decoder.finish() : Status(written.error());
        FUZZ_CHECK(ended.ok() == end.ok());
        if (whole) FUZZ_CHECK(std::string_view(viaPath).substr(0, total) == std::string_view(*whole));
        if (!whole) FUZZ_CHECK(ended.error().position == whole.error().position);

        // Any bytes at all, taken as codes, encode as the first path encodes them.
        std::string encoded(3 * size, '\0');
        encoded.resize(text::charset::writeAsUtf8(utf8, encoded.data(), path));
        FUZZ_CHECK(std::string_view(encoded) == std::string_view(text::charset::toUtf8(utf8)));
    }

    // Every code has a character and comes back from it.
    for (char c : utf8) {
        auto code = static_cast<std::uint8_t>(c);
        FUZZ_CHECK(text::charset::fromUnicode(text::charset::toUnicode(code)) == code);
    }
    return 0;
}
