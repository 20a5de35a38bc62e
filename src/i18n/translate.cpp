// SPDX-License-Identifier: GPL-3.0-or-later

#include "translate.h"

#include <libintl.h>

namespace tarvex::i18n {
namespace {

// How xgettext and msgfmt store a text with a context: the context, EOT, the text.
constexpr char kContextEnd = '\004';

} // namespace

std::string text(std::string_view english) {
    // The empty text would find the catalogue's header.
    if (english.empty()) return {};
    const std::string id(english);
    return dgettext(kDomain, id.c_str());
}

std::string text(std::string_view context, std::string_view english) {
    if (english.empty()) return {};
    std::string id;
    id.reserve(context.size() + 1 + english.size());
    id.append(context).append(1, kContextEnd).append(english);
    const char* found = dgettext(kDomain, id.c_str());
    return found == id.c_str() ? std::string(english) : std::string(found);
}

std::string plural(std::string_view english, std::string_view englishPlural, unsigned long count) {
    const std::string one(english);
    const std::string many(englishPlural);
    return dngettext(kDomain, one.c_str(), many.c_str(), count);
}

const char* textInPlace(const char* english) {
    return english[0] == '\0' ? english : dgettext(kDomain, english);
}

} // namespace tarvex::i18n
