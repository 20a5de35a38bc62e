#include "cipher/charset.h"

#include "fuzz_check.h"

#include <cstdint>
#include <string>
#include <string_view>

// Decoding fails with a typed error or gives codes that encode back to the very
// same bytes; decoding in two pieces gives what decoding at once gives.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarvex;
    std::string_view utf8(reinterpret_cast<const char*>(data), size);

    Result<std::string> whole = charset::fromUtf8(utf8);
    if (whole) {
        FUZZ_CHECK(charset::toUtf8(*whole) == utf8);
    } else {
        Error::Kind kind = whole.error().kind;
        FUZZ_CHECK(kind == Error::Kind::InvalidUtf8 || kind == Error::Kind::CharacterNotInSet);
        FUZZ_CHECK(whole.error().position >= 1);
        FUZZ_CHECK(!whole.error().describe().empty());
    }

    std::size_t cut = size == 0 ? 0 : data[0] % (size + 1);
    charset::Utf8ToCodes pieces;
    std::string codes;
    Status first = pieces.feed(utf8.substr(0, cut), codes);
    Status second = first ? pieces.feed(utf8.substr(cut), codes) : first;
    Status end = second ? pieces.finish() : second;
    FUZZ_CHECK(end.ok() == whole.ok());
    if (whole) FUZZ_CHECK(codes == *whole);
    if (!whole) FUZZ_CHECK(end.error().position == whole.error().position);

    // Every code has a character and comes back from it.
    for (char c : utf8) {
        auto code = static_cast<std::uint8_t>(c);
        FUZZ_CHECK(charset::fromUnicode(charset::toUnicode(code)) == code);
    }
    return 0;
}
