// SPDX-License-Identifier: GPL-3.0-or-later
#include "text_to_decrypt.h"

#include "base58_blocks.h"
#include "sealed_format.h"
#include "token_characters.h"

#include "cipher/cipher_codes.h"
#include "text/charset.h"

#include <algorithm>
#include <optional>

namespace tarvex::seal {
namespace {

// A token is one word of at least 68 characters. Prose breaks into words far
// shorter than this, even where it happens to hold nothing but base58 digits.
constexpr std::size_t kTokenLikeWord = 20;

// Unicode White_Space: where a word ends. The other dropped characters (format
// characters that chat programs slip into long words, quote markers) do not
// end one.
bool isWhiteSpace(char32_t ch) {
    return (ch >= 0x09 && ch <= 0x0D) || ch == 0x20 || ch == 0x85 || ch == 0xA0 || ch == 0x1680 ||
           (ch >= 0x2000 && ch <= 0x200A) || ch == 0x2028 || ch == 0x2029 || ch == 0x202F || ch == 0x205F ||
           ch == 0x3000;
}

char32_t foldedCase(char32_t ch) {
    return ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch;
}

bool same(std::u32string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char32_t x, char y) { return x == static_cast<unsigned char>(y); });
}

// Whether `word` is `target`, or becomes it when one character is changed, left
// out, added, or swapped with its neighbour.
bool withinOneEdit(std::u32string_view word, std::string_view target) {
    std::size_t i = 0;
    while (i < word.size() && i < target.size() && word[i] == static_cast<unsigned char>(target[i])) ++i;
    if (word.size() == target.size()) {
        if (i == word.size() || same(word.substr(i + 1), target.substr(i + 1))) return true;
        return i + 1 < word.size() && word[i] == static_cast<unsigned char>(target[i + 1]) &&
               word[i + 1] == static_cast<unsigned char>(target[i]) && same(word.substr(i + 2), target.substr(i + 2));
    }
    if (word.size() == target.size() + 1) return same(word.substr(i + 1), target.substr(i));
    if (word.size() + 1 == target.size()) return same(word.substr(i), target.substr(i + 1));
    return false;
}

// The first word, its case folded, begins with the prefix changed by one
// character or in another case. Without the prefix's digit, only a word as long
// as no word of prose counts: "Tarvex" alone is the program's name.
bool nearPrefix(std::u32string_view word) {
    for (std::size_t length = kTokenPrefix.size() - 1; length <= kTokenPrefix.size() + 1; ++length) {
        if (length > word.size()) break;
        const std::u32string_view start = word.substr(0, length);
        const bool hasDigit = start.find(U'1') != std::u32string_view::npos;
        if (withinOneEdit(start, kTokenPrefix) && (hasDigit || word.size() >= kTokenLikeWord)) return true;
    }
    return false;
}

// Sealed or a newer version's token, once `lead` holds as many characters as the prefix.
std::optional<TextToDecryptKind> tokenStart(std::u32string_view lead) {
    if (lead.size() != kTokenPrefix.size()) return std::nullopt;
    const std::string_view name = kTokenPrefix.substr(0, kTokenPrefix.size() - 1);
    if (!same(lead.substr(0, name.size()), name)) return std::nullopt;
    const char32_t version = lead.back();
    if (version == '1') return TextToDecryptKind::Sealed;
    if (version >= '0' && version <= '9') return TextToDecryptKind::NewerVersion;
    return std::nullopt;
}

} // namespace

bool looksSealed(std::string_view text) {
    char32_t lead[kTokenPrefix.size()];
    std::size_t count = 0;
    for (std::size_t at = 0; at < text.size() && count < kTokenPrefix.size();) {
        const text::charset::Utf8Character read = text::charset::firstUtf8Character(text.substr(at));
        if (read.size == 0) return false;
        at += read.size;
        if (!isDroppedFromToken(read.ch)) lead[count++] = read.ch;
    }
    return tokenStart(std::u32string_view(lead, count)).has_value();
}

TextToDecrypt classifyTextToDecrypt(std::string_view text, TextBytes bytes) {
    std::u32string lead;      // the first characters that count, as they are
    std::u32string firstWord; // the first word's, case folded
    bool firstWordEnded = false;
    bool onlyDigits = true;   // base58 digits alone
    std::size_t word = 0, longestWord = 0;
    TextToDecrypt verdict{.kind = TextToDecryptKind::Blank};

    for (std::size_t at = 0; at < text.size();) {
        char32_t ch = 0xFFFD; // stands for bytes that are no UTF-8 past the start
        std::size_t size = 1;
        if (bytes == TextBytes::Windows1252) {
            ch = text::charset::toUnicode(static_cast<std::uint8_t>(text[at]));
        } else if (const text::charset::Utf8Character read = text::charset::firstUtf8Character(text.substr(at));
                   read.size != 0) {
            ch = read.ch;
            size = read.size;
        } else if (verdict.kind == TextToDecryptKind::Blank) {
            return {.kind = TextToDecryptKind::NotUtf8, .offset = at};
        }
        const std::size_t here = at;
        at += size;
        if (isDroppedFromToken(ch)) {
            if (isWhiteSpace(ch)) {
                if (!lead.empty()) firstWordEnded = true;
                word = 0;
            }
            continue;
        }
        if (verdict.kind == TextToDecryptKind::Blank) {
            verdict = {.kind = TextToDecryptKind::NotCipherText, .offset = here, .first = ch};
            if (ch == text::charset::toUnicode(cipher::kMarker) || ch == '=') {
                verdict.kind = TextToDecryptKind::Classic;
                return verdict;
            }
        }
        if (lead.size() < kTokenPrefix.size()) {
            lead += ch;
            if (const auto kind = tokenStart(lead)) {
                verdict.kind = *kind;
                return verdict;
            }
        }
        if (!firstWordEnded && firstWord.size() < kTokenLikeWord) firstWord += foldedCase(ch);
        onlyDigits = onlyDigits && ch < 0x80 && base58::digitValue(static_cast<unsigned char>(ch)) >= 0;
        longestWord = std::max(longestWord, ++word);
        // Nothing further can change the verdict.
        if (!onlyDigits && (firstWordEnded || firstWord.size() == kTokenLikeWord)) break;
    }

    if (verdict.kind == TextToDecryptKind::NotCipherText &&
        (nearPrefix(firstWord) || (onlyDigits && longestWord >= kTokenLikeWord))) {
        verdict.kind = TextToDecryptKind::DamagedSealed;
    }
    return verdict;
}

} // namespace tarvex::seal
