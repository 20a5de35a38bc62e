// SPDX-License-Identifier: GPL-3.0-or-later

#include "key_file_reader.h"

#include "files/file_io.h"

namespace tarvex {

std::vector<std::uint8_t> keyNumbersFromText(std::string_view keyFile) {
    std::vector<std::uint8_t> numbers;
    numbers.reserve(keyFile.size() / 2);
    std::size_t i = 0;
    const std::size_t n = keyFile.size();
    while (i < n) {
        std::size_t lineEnd = keyFile.find_first_of("\r\n", i);
        if (lineEnd == std::string_view::npos) lineEnd = n;
        for (std::size_t p = i; p < lineEnd; p += 2) {
            int first = digitValue(keyFile[p]);
            int second = p + 1 < lineEnd ? digitValue(keyFile[p + 1]) : first;
            numbers.push_back(static_cast<std::uint8_t>(first + second));
        }
        i = lineEnd;
        if (i < n) {
            bool crlf = keyFile[i] == '\r' && i + 1 < n && keyFile[i + 1] == '\n';
            i += crlf ? 2 : 1;
        }
    }
    return numbers;
}

Result<std::vector<std::uint8_t>> readKeyNumbers(const std::string& path) {
    Result<std::string> content = readWholeFile(path, kMaxKeyFileSize);
    if (!content) return content.error();
    std::vector<std::uint8_t> numbers = keyNumbersFromText(*content);
    if (numbers.empty()) return Error{.kind = Error::Kind::NoKeyNumber, .path = path};
    return numbers;
}

} // namespace tarvex
