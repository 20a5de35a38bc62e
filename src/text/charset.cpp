// SPDX-License-Identifier: GPL-3.0-or-later

// Codes to UTF-8 and back, with the 16-byte block loops that run on any
// processor; the wider ones are in charset_avx2.cpp and charset_avx512.cpp.

#include "charset.h"

#include "byte_blocks.h"
#include "charset_paths.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace tarvex::text::charset {
namespace {

Error invalidUtf8(std::uint64_t bytePosition) {
    return Error{.kind = Error::Kind::InvalidUtf8, .position = bytePosition};
}

// Every code's UTF-8 bytes, so a conversion is a copy per code. Four bytes a
// code, so one copy of a word covers any of them.
struct Utf8Table {
    std::array<std::array<char, 4>, 256> bytes{};
    std::array<std::uint8_t, 256> length{};

    Utf8Table() {
        for (int code = 0; code < 256; ++code) {
            std::string encoded;
            appendUtf8(encoded, toUnicode(static_cast<std::uint8_t>(code)));
            length[static_cast<std::size_t>(code)] = static_cast<std::uint8_t>(encoded.size());
            std::copy(encoded.begin(), encoded.end(), bytes[static_cast<std::size_t>(code)].begin());
        }
    }
};

const Utf8Table& utf8Table() {
    static const Utf8Table table;
    return table;
}

using blocks::kBlockSize;

} // namespace

namespace paths {

// 16-byte blocks: a block is copied whole, then each code above 0x7F is
// written over its place and the rest of the block copied again behind it.
// The look-ahead of one more block keeps every read inside the codes; every
// write stays within three bytes a code.
std::size_t writeBlocks(const unsigned char* s, std::size_t n, char* out) {
    const Utf8Table& table = utf8Table();
    std::size_t i = 0;
    char* to = out;
    const auto high = [](const unsigned char* block) { return blocks::highBytes(block); };
    blocks::copyBlocksPatching(s, n, i, to, high, [&](const unsigned char* code, char* at) {
        std::memcpy(at, table.bytes[*code].data(), 4);
        blocks::copyBlock(at + table.length[*code], code + 1);
        return static_cast<std::ptrdiff_t>(table.length[*code]) - 1;
    });
    for (; i < n; ++i) {
        std::memcpy(to, table.bytes[s[i]].data(), 3);
        to += table.length[s[i]];
    }
    return static_cast<std::size_t>(to - out);
}

void decodeCommon(const unsigned char* s, std::size_t n, std::size_t& at, char*& to) {
    std::size_t i = at;
    char* o = to;
    // 1 when the block starts with the second byte of a character written
    // already. Blocks still step by a whole block, so the next block's load
    // never waits for this one's bytes.
    unsigned carried = 0;
    while (n - i > 2 * kBlockSize) {
        unsigned high = blocks::highBytes(s + i) & ~carried;
        blocks::copyBlock(o, s + i + carried);
        std::size_t dropped = carried; // bytes so far that give no code of their own
        carried = 0;
        while (high != 0) {
            const auto j = static_cast<std::size_t>(std::countr_zero(high));
            const unsigned char lead = s[i + j];
            const unsigned char next = s[i + j + 1];
            const bool common = (lead == 0xC3 && (next & 0xC0u) == 0x80u) ||
                                (lead == 0xC2 && next >= 0xA0 && next <= 0xBF);
            if (!common) {
                at = i + j;
                to = o + (j - dropped);
                return;
            }
            o[j - dropped] = static_cast<char>(0x80u | ((lead & 1u) << 6) | (next & 0x3Fu));
            blocks::copyBlock(o + (j + 1 - dropped), s + i + j + 2);
            high &= ~(3u << j);
            const bool inside = j + 1 < kBlockSize;
            dropped += inside;
            carried = !inside;
        }
        i += kBlockSize;
        o += kBlockSize - dropped;
    }
    at = i + carried;
    to = o;
}

} // namespace paths

std::size_t writeAsUtf8(std::string_view codes, char* out, simd::Path path) {
    const auto* s = reinterpret_cast<const unsigned char*>(codes.data());
#if defined(__x86_64__)
    if (path == simd::Path::Avx512) return paths::writeAvx512(s, codes.size(), out);
    if (path == simd::Path::Avx2) return paths::writeAvx2(s, codes.size(), out);
#else
    (void)path;
#endif
    return paths::writeBlocks(s, codes.size(), out);
}

void appendAsUtf8(secret::String& out, std::string_view codes) {
    const std::size_t start = out.size();
    out.resize(start + codes.size() * 3); // no code takes more than three bytes
    out.resize(start + writeAsUtf8(codes, out.data() + start));
}

secret::String toUtf8(std::string_view codes) {
    secret::String out;
    appendAsUtf8(out, codes);
    return out;
}

Result<secret::String> fromUtf8(std::string_view utf8) {
    secret::String out;
    Utf8ToCodes decoder;
    if (Status fed = decoder.feed(utf8, out); !fed) return fed.error();
    if (Status finished = decoder.finish(); !finished) return finished.error();
    return out;
}

Utf8ToCodes::Utf8ToCodes(simd::Path path) : path_(path) {}

Status Utf8ToCodes::decodeOne(char32_t ch, char*& out) {
    ++characters_;
    std::optional<std::uint8_t> code = fromUnicode(ch);
    if (!code) {
        return Error{.kind = Error::Kind::CharacterNotInSet, .position = characters_, .code = ch};
    }
    *out++ = static_cast<char>(*code);
    return Done{};
}

Status Utf8ToCodes::feed(std::string_view piece, secret::String& out) {
    const std::size_t start = out.size();
    out.resize(start + piece.size());
    Result<std::size_t> written = feed(piece, out.data() + start);
    if (!written) {
        out.resize(start);
        return written.error();
    }
    out.resize(start + *written);
    return Done{};
}

Result<std::size_t> Utf8ToCodes::feed(std::string_view piece, char* out) {
    const auto* s = reinterpret_cast<const unsigned char*>(piece.data());
    std::size_t n = piece.size();
    std::size_t i = 0;
    char* o = out;

    // Complete a character split off the previous piece.
    while (pendingSize_ > 0 && i < n) {
        pending_[pendingSize_++] = static_cast<char>(s[i++]);
        const auto* p = reinterpret_cast<const unsigned char*>(pending_);
        std::size_t need = utf8SequenceLength(p[0]);
        if ((p[pendingSize_ - 1] & 0xC0u) != 0x80u) return invalidUtf8(bytes_ + 1);
        if (pendingSize_ < need) continue;
        std::optional<char32_t> ch = decodeUtf8Sequence(p, need);
        if (!ch) return invalidUtf8(bytes_ + 1);
        bytes_ += need;
        pendingSize_ = 0;
        if (Status st = decodeOne(*ch, o); !st) return st.error();
    }

    while (i < n) {
        const std::size_t commonFrom = i;
        char* const commonOut = o;
#if defined(__x86_64__)
        // These leave a block they cannot take whole to the 16-byte blocks.
        if (path_ == simd::Path::Avx512) paths::decodeCommonAvx512(s, n, i, o);
        if (path_ == simd::Path::Avx2) paths::decodeCommonAvx2(s, n, i, o);
#endif
        paths::decodeCommon(s, n, i, o);
        bytes_ += i - commonFrom;
        characters_ += static_cast<std::size_t>(o - commonOut);
        if (i == n) break;

        // Near the end, ASCII a byte at a time.
        std::size_t start = i;
        while (i < n && s[i] < 0x80) ++i;
        if (i > start) {
            std::memcpy(o, s + start, i - start);
            o += i - start;
            characters_ += i - start;
            bytes_ += i - start;
            if (i == n) break;
        }
        std::size_t need = utf8SequenceLength(s[i]);
        if (need == 0) return invalidUtf8(bytes_ + 1);
        if (i + need > n) {
            // Fail now on what is already wrong rather than after the next piece.
            for (std::size_t j = i + 1; j < n; ++j) {
                if ((s[j] & 0xC0u) != 0x80u) return invalidUtf8(bytes_ + 1);
            }
            pendingSize_ = n - i; // fewer than `need`, so it fits
            std::memcpy(pending_, s + i, pendingSize_);
            break;
        }
        std::optional<char32_t> ch = decodeUtf8Sequence(s + i, need);
        if (!ch) return invalidUtf8(bytes_ + 1);
        i += need;
        bytes_ += need;
        if (Status st = decodeOne(*ch, o); !st) return st.error();
    }
    return static_cast<std::size_t>(o - out);
}

Status Utf8ToCodes::finish() const {
    if (pendingSize_ > 0) return invalidUtf8(bytes_ + 1);
    return Done{};
}

} // namespace tarvex::text::charset
