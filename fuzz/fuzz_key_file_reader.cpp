// SPDX-License-Identifier: GPL-3.0-or-later

#include "cipher/key_file_reader.h"

#include "fuzz_check.h"

#include <cstdint>
#include <string_view>

// Any content is a key file of some sort: every pair gives a number from 0 to 30,
// and there are as many numbers as pairs, counted line by line.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    const tarvex::secret::Bytes numbers = tarvex::cipher::keyNumbersFromText(text);

    std::size_t expected = 0;
    std::size_t lineLength = 0;
    for (std::size_t i = 0; i <= size; ++i) {
        bool end = i == size || text[i] == '\r' || text[i] == '\n';
        if (!end) {
            ++lineLength;
            continue;
        }
        expected += (lineLength + 1) / 2;
        lineLength = 0;
        if (i + 1 < size && text[i] == '\r' && text[i + 1] == '\n') ++i;
    }
    FUZZ_CHECK(numbers.size() == expected);
    for (std::uint8_t n : numbers) FUZZ_CHECK(n <= 30);
    return 0;
}
