// SPDX-License-Identifier: GPL-3.0-or-later
#include "fill_in.h"

namespace tarvex::messages {

std::string fillIn(std::string_view format, std::initializer_list<std::string_view> values) {
    std::string text;
    text.reserve(format.size());
    while (!format.empty()) {
        const std::size_t brace = format.find('{');
        text.append(format.substr(0, brace));
        if (brace == std::string_view::npos) break;
        format.remove_prefix(brace);
        const std::size_t index = format.size() >= 3 && format[2] == '}' ? static_cast<std::size_t>(format[1] - '1') : values.size();
        if (index < values.size()) {
            text.append(values.begin()[index]);
            format.remove_prefix(3);
        } else {
            text.push_back('{');
            format.remove_prefix(1);
        }
    }
    return text;
}

} // namespace tarvex::messages
