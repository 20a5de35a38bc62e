// SPDX-License-Identifier: GPL-3.0-or-later
#include "token_characters.h"

#include <algorithm>
#include <iterator>

namespace tarvex::seal {
namespace {

struct Range {
    char32_t first, last;
};

// Unicode 15 White_Space and general category Cf, in order.
constexpr Range kDropped[] = {
    {0x0009, 0x000D},   {0x0020, 0x0020},   {0x0085, 0x0085},   {0x00A0, 0x00A0},   {0x00AD, 0x00AD},
    {0x0600, 0x0605},   {0x061C, 0x061C},   {0x06DD, 0x06DD},   {0x070F, 0x070F},   {0x0890, 0x0891},
    {0x08E2, 0x08E2},   {0x1680, 0x1680},   {0x180E, 0x180E},   {0x2000, 0x200F},   {0x2028, 0x202F},
    {0x205F, 0x2064},   {0x2066, 0x206F},   {0x3000, 0x3000},   {0xFEFF, 0xFEFF},   {0xFFF9, 0xFFFB},
    {0x110BD, 0x110BD}, {0x110CD, 0x110CD}, {0x13430, 0x1343F}, {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A},
    {0xE0001, 0xE0001}, {0xE0020, 0xE007F},
};

} // namespace

bool isDroppedFromToken(char32_t ch) {
    if (ch == '>') return true;
    const auto* after = std::upper_bound(std::begin(kDropped), std::end(kDropped), ch,
                                         [](char32_t c, const Range& r) { return c < r.first; });
    return after != std::begin(kDropped) && ch <= std::prev(after)->last;
}

} // namespace tarvex::seal
