// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <cstddef>

namespace tarvex::window {

// The working mode number the window keeps: 0 until a mode handler runs.
using ModeNumber = std::int16_t;

inline constexpr ModeNumber kNoMode = 0;
inline constexpr ModeNumber kIcqMode = 1;
inline constexpr ModeNumber kEmailMode = 2;
inline constexpr ModeNumber kFileMode = 3;

// What the message area may hold in ICQ mode.
inline constexpr std::size_t kIcqTextLimit = 450;

// What a mode sets once it has been entered through its mode button.
struct ModeSettings {
    ModeNumber number;
    std::size_t textLimit;      // 0: no limit
    std::uint32_t fileNameBackground;
};

ModeSettings modeSettings(ModeNumber mode);

} // namespace tarvex::window
