// SPDX-License-Identifier: GPL-3.0-or-later

#include "accessible_text.h"

#include "exchange/cipher_command_host.h"
#include "control_pictures.h"

#include <algorithm>
#include <array>
#include <climits>

namespace tarvex::window {

namespace {

constexpr char16_t kCarriageReturn = u'\r';
constexpr char16_t kLineFeed = u'\n';
// A message of nothing but controls must still count its reading in an int.
static_assert(exchange::kMaxMessageLength * kLongestControlReading < INT_MAX);
// The controls read by their words: C0, DEL and C1.
constexpr std::size_t kControlsRead = 0xA0;

} // namespace

AccessibleText::AccessibleText(QStringView text) : codeCount_(static_cast<std::size_t>(text.size())) {
    text_.reserve(text.size());
    // Each control's words are looked up once, however often the message holds it.
    std::array<QString, kControlsRead> said;
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
        const ControlPicture* picture = controlPictureOf(ch);
        if (picture == nullptr || picture->words.empty()) {
            // The soft hyphen reads as the hyphen it is shown as.
            text_.append(picture != nullptr ? QChar(picture->standIn) : QChar(ch));
            continue;
        }
        Q_ASSERT(ch < kControlsRead);
        QString& words = said[ch];
        if (words.isNull()) words = controlWords(*picture);
        text_.append(u'[');
        text_.append(words);
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
