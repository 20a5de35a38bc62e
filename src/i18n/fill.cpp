// SPDX-License-Identifier: GPL-3.0-or-later

#include "fill.h"

#include <algorithm>

namespace tarvex::i18n {

std::string fill(std::string_view format, std::initializer_list<Placeholder> values) {
    std::string filled;
    filled.reserve(format.size());
    while (!format.empty()) {
        const std::size_t open = format.find('{');
        filled.append(format.substr(0, open));
        if (open == std::string_view::npos) break;
        format.remove_prefix(open);
        const std::size_t close = format.find('}');
        const std::string_view name = close == std::string_view::npos ? std::string_view{} : format.substr(1, close - 1);
        const auto value = std::find_if(values.begin(), values.end(),
                                        [&](const Placeholder& placeholder) { return placeholder.name == name; });
        if (!name.empty() && value != values.end()) {
            filled.append(value->value);
            format.remove_prefix(close + 1);
        } else {
            filled.push_back('{');
            format.remove_prefix(1);
        }
    }
    return filled;
}

} // namespace tarvex::i18n
