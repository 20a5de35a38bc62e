// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace tarvex::messages {

// `format` with {1} to {9} replaced by the values in that order. Every
// message is a whole format with its values in it, never glued from pieces,
// so that a translation may put them in any order.
std::string fillIn(std::string_view format, std::initializer_list<std::string_view> values);

} // namespace tarvex::messages
