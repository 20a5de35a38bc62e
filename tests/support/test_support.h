// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "secret/string.h"

#include <cstdint>
#include <initializer_list>
#include <iomanip>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarvex::test {

// A fresh folder made with mkdtemp, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    // Every entry, hidden ones included, sorted by name.
    std::vector<std::string> entries() const;

private:
    std::string path_;
};

// A device that fails every write with "No space left on device". As root it is
// a private node inside `dir`, so a fault that replaced it by a file could not
// harm the system's /dev/full; otherwise /dev/full itself, which only root could replace.
std::string fullDevice(const TempDir& dir);
bool isCharacterDevice(const std::string& path);

std::string readBytes(const std::string& path);
void writeBytes(const std::string& path, std::string_view bytes);
unsigned permissionBits(const std::string& path);

// Builds a byte string from codes 0-255.
std::string codes(std::initializer_list<int> values);
// The codes of a byte string, so a failed comparison prints numbers.
std::vector<int> codesOf(std::string_view bytes);
std::vector<int> codesOf(std::span<const std::uint8_t> bytes);

// Locked memory of this process in KiB, as the kernel counts it.
long lockedKiB();
// Why this process cannot count its locked memory while it locks `bytes`
// more (a low RLIMIT_MEMLOCK, the address sanitizer's allocator), or empty.
std::string whyLockedMemoryUncounted(std::size_t bytes);

} // namespace tarvex::test

namespace tarvex::secret {

// Messages come as secret::String; the tests hold what they expect in plain strings.
// Spelled out for each kind of expectation: an overload on std::string_view
// would tie with std::basic_string's own operators.
inline bool operator==(const String& text, const std::string& expected) {
    return std::string_view(text).compare(expected) == 0;
}
inline bool operator==(const String& text, const char* expected) {
    return std::string_view(text).compare(expected) == 0;
}
inline void PrintTo(const String& text, std::ostream* out) {
    *out << std::quoted(std::string_view(text));
}

} // namespace tarvex::secret
