// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace tarvex::platform {

// The three registry calls the About box makes, shaped as the system's own:
// texts are 8-bit, results are status codes, handles are plain numbers.
class Registry {
public:
    using Handle = std::uint32_t;
    using Status = std::int32_t;

    static constexpr Handle kLocalMachine = 0x80000002u;

    static constexpr Status kSuccess = 0;
    static constexpr Status kFileNotFound = 2;
    static constexpr Status kAccessDenied = 5;
    static constexpr Status kInvalidHandle = 6;
    static constexpr Status kMoreData = 234;

    // Value types.
    static constexpr std::uint32_t kString = 1;
    static constexpr std::uint32_t kNumber = 4; // 32-bit, low byte first

    // Access rights.
    static constexpr std::uint32_t kQueryValue = 0x0001;
    static constexpr std::uint32_t kSetValue = 0x0002;
    static constexpr std::uint32_t kCreateSubKey = 0x0004;
    static constexpr std::uint32_t kEnumerateSubKeys = 0x0008;
    static constexpr std::uint32_t kNotify = 0x0010;
    static constexpr std::uint32_t kCreateLink = 0x0020;
    static constexpr std::uint32_t kReadControl = 0x20000;
    static constexpr std::uint32_t kWriteRights = kSetValue | kCreateSubKey | kCreateLink;

    virtual ~Registry() = default;

    // Opens `subKey` under `root` with the rights in `access`; `opened` receives its handle.
    virtual Status openKey(Handle root, const std::string& subKey, std::uint32_t options, std::uint32_t access,
                           Handle& opened) = 0;
    // Copies the value's bytes into `data` and sets its type and the number of
    // bytes written. A value larger than `data` gives kMoreData with `count`
    // set to the size it needs, and nothing is copied.
    virtual Status queryValue(Handle key, const std::string& valueName, std::uint32_t& type,
                              std::span<std::uint8_t> data, std::uint32_t& count) = 0;
    virtual Status closeKey(Handle key) = 0;
};

} // namespace tarvex::platform
