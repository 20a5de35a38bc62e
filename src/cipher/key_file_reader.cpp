// SPDX-License-Identifier: GPL-3.0-or-later

#include "key_file_reader.h"

#include "files/file_io.h"

namespace tarvex::cipher {

namespace {

// Calls `line` with each line of a key file, its line end left out.
template <class Line>
void forEachLine(std::string_view keyFile, Line line) {
    std::size_t i = 0;
    const std::size_t n = keyFile.size();
    while (i < n) {
        std::size_t lineEnd = keyFile.find_first_of("\r\n", i);
        if (lineEnd == std::string_view::npos) lineEnd = n;
        line(keyFile.substr(i, lineEnd - i));
        i = lineEnd;
        if (i < n) {
            bool crlf = keyFile[i] == '\r' && i + 1 < n && keyFile[i + 1] == '\n';
            i += crlf ? 2 : 1;
        }
    }
}

} // namespace

secret::Bytes keyNumbersFromText(std::string_view keyFile) {
    // Counted first: the key numbers go straight into memory of their exact size.
    std::size_t count = 0;
    forEachLine(keyFile, [&](std::string_view line) { count += (line.size() + 1) / 2; });
    secret::Bytes numbers(count);
    std::uint8_t* out = numbers.data();
    forEachLine(keyFile, [&](std::string_view line) {
        for (std::size_t p = 0; p < line.size(); p += 2) {
            int first = digitValue(line[p]);
            int second = p + 1 < line.size() ? digitValue(line[p + 1]) : first;
            *out++ = static_cast<std::uint8_t>(first + second);
        }
    });
    return numbers;
}

Result<secret::Bytes> readKeyNumbers(const std::string& path) {
    Result<secret::String> content = files::readWholeFile(path, kMaxKeyFileSize);
    if (!content) return content.error();
    secret::Bytes numbers = keyNumbersFromText(*content);
    if (numbers.empty()) return Error{.kind = Error::Kind::NoKeyNumber, .path = path};
    return numbers;
}

} // namespace tarvex::cipher
