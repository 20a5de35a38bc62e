// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace tarvex::i18n {

struct Placeholder {
    std::string_view name;  // "path" for {path}
    std::string_view value;
};

// `format` (a translated text) with each {name} replaced by its value, in
// whatever order the translation puts them. A value is put in as it is, never
// read for places itself; braces that name no value stay as they are. Numbers
// go in as std::to_string() writes them, the same in every language.
std::string fill(std::string_view format, std::initializer_list<Placeholder> values);

} // namespace tarvex::i18n
