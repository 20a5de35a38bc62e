// SPDX-License-Identifier: GPL-3.0-or-later

#include "accessible_text.h"

#include "exchange/cipher_command_host.h"
#include "message_codec.h"

#include <algorithm>
#include <climits>

namespace tarvex::window {

namespace {

constexpr char16_t kCarriageReturn = u'\r';
constexpr char16_t kLineFeed = u'\n';
// The longest words of a control, brackets included: a message of nothing
// but such controls must still count in an int.
constexpr std::size_t kLongestReading = 26;
static_assert(kMaxMessageLength * kLongestReading < INT_MAX);

} // namespace

AccessibleText::AccessibleText(QStringView text) : codeCount_(static_cast<std::size_t>(text.size())) {
    text_.reserve(text.size());
    const auto size = static_cast<std::size_t>(text.size());
    for (std::size_t i = 0; i < size; ++i) {
        const char16_t ch = text[static_cast<qsizetype>(i)].unicode();
        const int offset = static_cast<int>(text_.size());
        if (ch == kCarriageReturn && i + 1 < size && text[static_cast<qsizetype>(i + 1)] == QChar(kLineFeed)) {
            text_.append(u'\n');
            spans_.push_back({i, 2, offset, 1});
            ++i;
            continue;
        }
        // Below 0x80 and for the five C1 controls of the set, code and character agree.
        const std::string_view words =
            ch < 0xA0 ? codec::controlName(static_cast<unsigned char>(ch)).words : std::string_view();
        if (words.empty()) {
            // The soft hyphen reads as the hyphen it is shown as.
            text_.append(ch < 256 ? QChar(codec::displayCharacter(static_cast<unsigned char>(ch))) : QChar(ch));
            continue;
        }
        text_.append(u'[');
        text_.append(QLatin1StringView(words.data(), static_cast<qsizetype>(words.size())));
        text_.append(u']');
        spans_.push_back({i, 1, offset, static_cast<int>(text_.size()) - offset});
    }
}

int AccessibleText::offsetOf(std::size_t position) const {
    position = std::min(position, codeCount_);
    const auto after = std::lower_bound(spans_.begin(), spans_.end(), position,
                                        [](const Span& span, std::size_t p) { return span.position < p; });
    if (after == spans_.begin()) {
        return static_cast<int>(position);
    }
    const Span& span = *(after - 1);
    const std::size_t end = span.position + span.codeCount;
    if (position < end) {
        return span.offset;
    }
    return span.offset + span.length + static_cast<int>(position - end);
}

std::size_t AccessibleText::positionOf(int offset) const {
    offset = std::clamp(offset, 0, length());
    const auto after = std::lower_bound(spans_.begin(), spans_.end(), offset,
                                        [](const Span& span, int o) { return span.offset < o; });
    if (after == spans_.begin()) {
        return static_cast<std::size_t>(offset);
    }
    const Span& span = *(after - 1);
    const int end = span.offset + span.length;
    if (offset < end) {
        return span.position;
    }
    return span.position + span.codeCount + static_cast<std::size_t>(offset - end);
}

AccessibleTextChange differenceBetween(const QString& before, const QString& after) {
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype prefix = 0;
    while (prefix < shorter && before[prefix] == after[prefix]) {
        ++prefix;
    }
    qsizetype suffix = 0;
    while (suffix < shorter - prefix && before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
        ++suffix;
    }
    return {static_cast<int>(prefix), before.mid(prefix, before.size() - prefix - suffix),
            after.mid(prefix, after.size() - prefix - suffix)};
}

} // namespace tarvex::window
