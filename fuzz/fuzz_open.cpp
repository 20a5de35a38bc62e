// SPDX-License-Identifier: GPL-3.0-or-later

#include "seal/opener.h"
#include "seal/sealer.h"

#include "fuzz_check.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

const tarvex::seal::SealingKey& fuzzKey() {
    static const tarvex::seal::SealingKey key = [] {
        std::vector<std::uint8_t> numbers(600);
        for (std::size_t i = 0; i < numbers.size(); ++i) numbers[i] = static_cast<std::uint8_t>(1 + i % 30);
        return tarvex::seal::SealingKey::forSealing(numbers, "fuzz").value();
    }();
    return key;
}

// Opens `text` in two pieces cut at `cut`.
tarvex::Result<tarvex::secret::String> openInTwo(std::string_view text, std::size_t cut) {
    tarvex::secret::String payload;
    const tarvex::seal::Emit append = [&](std::string_view piece) -> tarvex::Status {
        payload.append(piece);
        return tarvex::Done{};
    };
    tarvex::seal::Opener opener(fuzzKey());
    tarvex::Status opened = opener.push(text.substr(0, cut), append);
    if (opened) opened = opener.push(text.substr(cut), append);
    if (opened) opened = opener.finish(append);
    if (!opened) return opened.error();
    return payload;
}

} // namespace

// Any text: where it is cut between pieces changes nothing of the verdict.
// Any payload: sealed, then opened in pieces, it comes back as it was.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::size_t cut = data[0] % (rest.size() + 1);

    tarvex::Result<tarvex::secret::String> whole = tarvex::seal::openWhole(rest, fuzzKey());
    tarvex::Result<tarvex::secret::String> split = openInTwo(rest, cut);
    FUZZ_CHECK(whole.ok() == split.ok());
    if (whole) {
        FUZZ_CHECK(*whole == *split);
    } else {
        FUZZ_CHECK(whole.error().kind == split.error().kind);
        FUZZ_CHECK(whole.error().position == split.error().position);
    }

    const std::string token = tarvex::seal::sealWhole(rest, fuzzKey());
    tarvex::Result<tarvex::secret::String> back = openInTwo(token, cut % (token.size() + 1));
    FUZZ_CHECK(back.ok() && std::string_view(*back) == rest);
    return 0;
}
