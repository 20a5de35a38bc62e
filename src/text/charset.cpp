// SPDX-License-Identifier: GPL-3.0-or-later

#include "charset.h"

#include "byte_blocks.h"
#include "core/target_region.h"
#include "text/avx512_bytes.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdio>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace tarvex::charset {
namespace {

// 0x80-0x9F; everything else is the code's own Latin-1 value.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool isC1ControlTakenBy1252(char32_t ch) {
    if (ch < 0x80 || ch > 0x9F) {
        return false;
    }
    return kHighControls[ch - 0x80] != ch;
}

Error invalidUtf8(std::uint64_t bytePosition) {
    return Error{.kind = Error::Kind::InvalidUtf8, .position = bytePosition};
}

} // namespace

std::size_t utf8SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

std::optional<char32_t> decodeUtf8Sequence(const unsigned char* s, std::size_t length) {
    char32_t ch = 0;
    switch (length) {
    case 1: return s[0];
    case 2: ch = s[0] & 0x1Fu; break;
    case 3: ch = s[0] & 0x0Fu; break;
    default: ch = s[0] & 0x07u; break;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((s[i] & 0xC0u) != 0x80u) return std::nullopt;
        ch = (ch << 6) | (s[i] & 0x3Fu);
    }
    if ((length == 3 && ch < 0x800) || (length == 4 && ch < 0x10000)) return std::nullopt;
    if (ch > 0x10FFFF || (ch >= 0xD800 && ch <= 0xDFFF)) return std::nullopt;
    return ch;
}

Utf8Character firstUtf8Character(std::string_view text) {
    if (text.empty()) return {};
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = utf8SequenceLength(bytes[0]);
    if (size == 0 || size > text.size()) return {};
    const std::optional<char32_t> ch = decodeUtf8Sequence(bytes, size);
    if (!ch) return {};
    return {size, *ch};
}

char32_t toUnicode(std::uint8_t code) {
    if (code >= 0x80 && code <= 0x9F) {
        return kHighControls[code - 0x80];
    }
    return code;
}

std::optional<std::uint8_t> fromUnicode(char32_t ch) {
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF)) {
        return static_cast<std::uint8_t>(ch);
    }
    if (ch <= 0x9F) {
        if (isC1ControlTakenBy1252(ch)) return std::nullopt;
        return static_cast<std::uint8_t>(ch);
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == ch) {
            return static_cast<std::uint8_t>(0x80 + i);
        }
    }
    return std::nullopt;
}

void appendUtf8(std::string& out, char32_t ch) {
    if (ch < 0x80) {
        out.push_back(static_cast<char>(ch));
    } else if (ch < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (ch >> 6)));
        out.push_back(static_cast<char>(0x80 | (ch & 0x3F)));
    } else if (ch < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (ch >> 12)));
        out.push_back(static_cast<char>(0x80 | ((ch >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (ch & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (ch >> 18)));
        out.push_back(static_cast<char>(0x80 | ((ch >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((ch >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (ch & 0x3F)));
    }
}

namespace {

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

namespace {

// 16-byte blocks: a block is copied whole, then each code above 0x7F is
// written over its place and the rest of the block copied again behind it.
// The look-ahead of one more block keeps every read inside the codes; every
// write stays within three bytes a code.
std::size_t writeBlocks(const unsigned char* s, std::size_t n, char* out) {
    const Utf8Table& table = utf8Table();
    std::size_t i = 0;
    char* to = out;
    while (n - i >= 2 * kBlockSize) {
        unsigned high = blocks::highBytes(s + i);
        blocks::copyBlock(to, s + i);
        std::size_t added = 0;
        while (high != 0) {
            const auto j = static_cast<std::size_t>(std::countr_zero(high));
            high &= high - 1;
            const unsigned char code = s[i + j];
            std::memcpy(to + j + added, table.bytes[code].data(), 4);
            added += table.length[code] - 1u;
            blocks::copyBlock(to + j + added + 1, s + i + j + 1);
        }
        i += kBlockSize;
        to += kBlockSize + added;
    }
    for (; i < n; ++i) {
        std::memcpy(to, table.bytes[s[i]].data(), 3);
        to += table.length[s[i]];
    }
    return static_cast<std::size_t>(to - out);
}

#if defined(__x86_64__)
std::size_t writeAvx2(const unsigned char* s, std::size_t n, char* out);
void decodeCommonAvx2(const unsigned char* s, std::size_t n, std::size_t& at, char*& to);
std::size_t writeAvx512(const unsigned char* s, std::size_t n, char* out);
void decodeCommonAvx512(const unsigned char* s, std::size_t n, std::size_t& at, char*& to);
#endif

} // namespace

std::size_t writeAsUtf8(std::string_view codes, char* out, simd::Path path) {
    const auto* s = reinterpret_cast<const unsigned char*>(codes.data());
#if defined(__x86_64__)
    if (path == simd::Path::Avx512) return writeAvx512(s, codes.size(), out);
    if (path == simd::Path::Avx2) return writeAvx2(s, codes.size(), out);
#else
    (void)path;
#endif
    return writeBlocks(s, codes.size(), out);
}

void appendAsUtf8(std::string& out, std::string_view codes) {
    const std::size_t start = out.size();
    out.resize(start + codes.size() * 3); // no code takes more than three bytes
    out.resize(start + writeAsUtf8(codes, out.data() + start));
}

std::string toUtf8(std::string_view codes) {
    std::string out;
    appendAsUtf8(out, codes);
    return out;
}

Result<std::string> fromUtf8(std::string_view utf8) {
    std::string out;
    Utf8ToCodes decoder;
    if (Status fed = decoder.feed(utf8, out); !fed) return fed.error();
    if (Status finished = decoder.finish(); !finished) return finished.error();
    return out;
}

namespace {

// Decodes from s[at] on what most text is made of, ASCII and the characters
// U+00A0 to U+00FF (whose code is their value), and stops before anything else
// for the careful path to judge. Leaves off where fewer than two blocks and a
// byte remain, so that no read runs past the end; `to` never gets ahead of
// `at`, so the output needs no more room than the input.
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

} // namespace

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

Status Utf8ToCodes::feed(std::string_view piece, std::string& out) {
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
        if (path_ == simd::Path::Avx512) decodeCommonAvx512(s, n, i, o);
        if (path_ == simd::Path::Avx2) decodeCommonAvx2(s, n, i, o);
#endif
        decodeCommon(s, n, i, o);
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

bool showsAsItself(char32_t ch) {
    if (ch < 0x20 || (ch >= 0x7F && ch <= 0x9F)) return false;               // C0, DEL, C1
    if (ch == 0x061C || (ch >= 0x200B && ch <= 0x200F)) return false;        // direction and zero-width marks
    if ((ch >= 0x2028 && ch <= 0x202E) || (ch >= 0x2060 && ch <= 0x206F)) return false; // line breaks, overrides, isolates
    if (ch == 0xFEFF || (ch >= 0xFFF9 && ch <= 0xFFFB)) return false;
    return !(ch >= 0xD800 && ch <= 0xDFFF) && ch <= 0x10FFFF;
}

std::string describeCharacter(char32_t ch) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "U+%04X", static_cast<unsigned>(ch));
    std::string text;
    // Controls and direction marks would garble a one-line message; name them by number only.
    if (showsAsItself(ch)) {
        text += '\'';
        appendUtf8(text, ch);
        text += "' ";
        text += '(';
        text += hex;
        text += ')';
    } else {
        text += hex;
    }
    return text;
}

std::string describeCode(std::uint8_t code) {
    std::string text = describeCharacter(toUnicode(code));
    text += " of code " + std::to_string(code);
    return text;
}

} // namespace tarvex::charset

// The 32-byte paths, for processors with AVX2; they run only where
// text::availablePaths() names AVX2.
#if defined(__x86_64__)

TARVEX_TARGET_BEGIN("avx2")

namespace tarvex::charset {
namespace {

// A byte shuffle picks, out of eight codes interleaved with their second
// UTF-8 bytes, the first byte of each and the second of those above 0x7F.
// Indexed by which of the eight are above 0x7F.
struct WidenTable {
    alignas(16) std::uint8_t picks[256][16]{};
    std::uint8_t size[256]{};

    constexpr WidenTable() {
        for (unsigned high = 0; high < 256; ++high) {
            unsigned k = 0;
            for (unsigned b = 0; b < 8; ++b) {
                picks[high][k++] = static_cast<std::uint8_t>(2 * b);
                if ((high >> b) & 1u) picks[high][k++] = static_cast<std::uint8_t>(2 * b + 1);
            }
            size[high] = static_cast<std::uint8_t>(k);
            while (k < 16) picks[high][k++] = 0x80; // zero, past the end anyway
        }
    }
};
constexpr WidenTable kWiden;

// A byte shuffle moves the kept ones of eight bytes to the front. Indexed by
// which of the eight are kept; `high` is the same for the upper eight of
// sixteen.
struct NarrowTable {
    std::uint64_t low[256]{};
    std::uint64_t high[256]{};
    std::uint8_t size[256]{};

    constexpr NarrowTable() {
        for (unsigned kept = 0; kept < 256; ++kept) {
            std::uint64_t lowPicks = 0;
            std::uint64_t highPicks = 0;
            unsigned k = 0;
            for (unsigned b = 0; b < 8; ++b) {
                if (((kept >> b) & 1u) == 0) continue;
                lowPicks |= std::uint64_t{b} << (8 * k);
                highPicks |= std::uint64_t{b + 8} << (8 * k);
                ++k;
            }
            size[kept] = static_cast<std::uint8_t>(k);
            for (unsigned rest = k; rest < 8; ++rest) {
                lowPicks |= std::uint64_t{0x80} << (8 * rest);
                highPicks |= std::uint64_t{0x80} << (8 * rest);
            }
            low[kept] = lowPicks;
            high[kept] = highPicks;
        }
    }
};
constexpr NarrowTable kNarrow;

__m256i load32(const unsigned char* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

__m256i splat(unsigned char byte) {
    return _mm256_set1_epi8(static_cast<char>(byte));
}

unsigned mask32(__m256i bytes) {
    return static_cast<unsigned>(_mm256_movemask_epi8(bytes));
}

__m128i load16(const std::uint8_t* p) {
    return _mm_load_si128(reinterpret_cast<const __m128i*>(p));
}

void store16(char* p, __m128i bytes) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), bytes);
}

void store8(char* p, __m128i bytes) {
    _mm_storel_epi64(reinterpret_cast<__m128i*>(p), bytes);
}

// Every block goes the same way whatever it holds: no branch on where the
// codes above 0x7F are, which text puts at random. Codes 0x80-0x9F take three
// bytes; a block with one of them goes the 16-byte way.
std::size_t writeAvx2(const unsigned char* s, std::size_t n, char* out) {
    std::size_t i = 0;
    char* to = out;
    while (n - i >= 32) {
        const __m256i codes = load32(s + i);
        if (mask32(_mm256_cmpeq_epi8(_mm256_and_si256(codes, splat(0xE0)), splat(0x80))) != 0) {
            to += writeBlocks(s + i, 32, to);
            i += 32;
            continue;
        }
        const unsigned high = mask32(codes);
        const __m256i isHigh = _mm256_cmpgt_epi8(_mm256_setzero_si256(), codes);
        // 0xC2 or 0xC3 for the codes above 0x7F, the code itself for the rest.
        const __m256i lead = _mm256_or_si256(_mm256_and_si256(_mm256_srli_epi16(codes, 6), splat(0x03)), splat(0xC0));
        const __m256i first = _mm256_blendv_epi8(codes, lead, isHigh);
        const __m256i second = _mm256_or_si256(_mm256_and_si256(codes, splat(0x3F)), splat(0x80));
        // Within each 128-bit lane: codes 0-7 and 16-23 below, 8-15 and 24-31 above.
        const __m256i below = _mm256_unpacklo_epi8(first, second);
        const __m256i above = _mm256_unpackhi_epi8(first, second);
        const unsigned h0 = high & 0xFF, h1 = (high >> 8) & 0xFF, h2 = (high >> 16) & 0xFF, h3 = high >> 24;
        const __m256i belowPicked = _mm256_shuffle_epi8(
            below, _mm256_set_m128i(load16(kWiden.picks[h2]), load16(kWiden.picks[h0])));
        const __m256i abovePicked = _mm256_shuffle_epi8(
            above, _mm256_set_m128i(load16(kWiden.picks[h3]), load16(kWiden.picks[h1])));
        store16(to, _mm256_castsi256_si128(belowPicked));
        to += kWiden.size[h0];
        store16(to, _mm256_castsi256_si128(abovePicked));
        to += kWiden.size[h1];
        store16(to, _mm256_extracti128_si256(belowPicked, 1));
        to += kWiden.size[h2];
        store16(to, _mm256_extracti128_si256(abovePicked, 1));
        to += kWiden.size[h3];
        i += 32;
    }
    return static_cast<std::size_t>(to - out) + writeBlocks(s + i, n - i, to);
}

// The same characters as decodeCommon, 32 bytes at a time and with no branch
// on where they are: a block of ASCII and whole characters U+00A0-U+00FF turns
// into codes by dropping every second byte and putting the code in the first.
// Any other block is left to the 16-byte blocks, which find what stops them.
void decodeCommonAvx2(const unsigned char* s, std::size_t n, std::size_t& at, char*& to) {
    std::size_t i = at;
    char* o = to;
    unsigned carried = 0; // the block starts with the second byte of a character written already
    while (n - i > 32) {
        const __m256i bytes = load32(s + i);
        const __m256i next = load32(s + i + 1);
        const __m256i isLead = _mm256_cmpeq_epi8(_mm256_or_si256(bytes, splat(0x01)), splat(0xC3));
        const unsigned leads = mask32(isLead);
        const unsigned nextContinues = mask32(_mm256_cmpeq_epi8(_mm256_and_si256(next, splat(0xC0)), splat(0x80)));
        // C2 80 to C2 9F are C1 controls, mostly outside the set.
        const unsigned controls = mask32(_mm256_and_si256(_mm256_cmpeq_epi8(bytes, splat(0xC2)),
                                                          _mm256_cmpeq_epi8(_mm256_and_si256(next, splat(0xE0)), splat(0x80))));
        const unsigned seconds = (leads << 1) | carried;
        if (mask32(bytes) != (leads | seconds) || (leads & ~nextContinues) != 0 || controls != 0) break;

        const __m256i code = _mm256_or_si256(
            _mm256_or_si256(splat(0x80), _mm256_and_si256(_mm256_slli_epi16(bytes, 6), splat(0x40))),
            _mm256_and_si256(next, splat(0x3F)));
        const __m256i codes = _mm256_blendv_epi8(bytes, code, isLead);
        const unsigned kept = ~seconds;
        const unsigned k0 = kept & 0xFF, k1 = (kept >> 8) & 0xFF, k2 = (kept >> 16) & 0xFF, k3 = kept >> 24;
        const __m256i picks = _mm256_set_epi64x(static_cast<long long>(kNarrow.high[k3]),
                                                static_cast<long long>(kNarrow.low[k2]),
                                                static_cast<long long>(kNarrow.high[k1]),
                                                static_cast<long long>(kNarrow.low[k0]));
        const __m256i packed = _mm256_shuffle_epi8(codes, picks);
        const __m128i lower = _mm256_castsi256_si128(packed);
        const __m128i upper = _mm256_extracti128_si256(packed, 1);
        store8(o, lower);
        o += kNarrow.size[k0];
        store8(o, _mm_unpackhi_epi64(lower, lower));
        o += kNarrow.size[k1];
        store8(o, upper);
        o += kNarrow.size[k2];
        store8(o, _mm_unpackhi_epi64(upper, upper));
        o += kNarrow.size[k3];
        carried = leads >> 31;
        i += 32;
    }
    at = i + carried;
    to = o;
}

} // namespace
} // namespace tarvex::charset

TARVEX_TARGET_END

#endif

// The 64-byte paths, for processors with AVX-512 and its byte compress.
#if defined(__x86_64__)

TARVEX_TARGET_BEGIN(TARVEX_AVX512_FEATURES)

namespace tarvex::charset {
namespace {

using text::avx512::splat64;

// First bytes of codes from one vector, each with its second byte from the other.
constexpr const text::avx512::InterleaveTable& kPairs = text::avx512::kInterleave;

// Sixty-four codes at once. Their first UTF-8 bytes (the code itself for ASCII)
// and second bytes are interleaved in pairs, and the compress keeps the first
// of every pair and the second of those above 0x7F. A block with a code of
// 0x80-0x9F, which takes three bytes, goes the 16-byte way.
std::size_t writeAvx512(const unsigned char* s, std::size_t n, char* out) {
    const __m512i lowerPairs = _mm512_load_si512(kPairs.lower);
    const __m512i upperPairs = _mm512_load_si512(kPairs.upper);
    const unsigned long long firsts = 0x5555555555555555ull;
    const unsigned long long seconds = 0xAAAAAAAAAAAAAAAAull;
    std::size_t i = 0;
    char* to = out;
    while (n - i >= 64) {
        const __m512i codes = _mm512_loadu_si512(s + i);
        if (_mm512_cmpeq_epi8_mask(_mm512_and_si512(codes, splat64(0xE0)), splat64(0x80)) != 0) {
            to += writeBlocks(s + i, 64, to);
            i += 64;
            continue;
        }
        const unsigned long long high = _mm512_movepi8_mask(codes);
        const __m512i lead = _mm512_or_si512(_mm512_and_si512(_mm512_srli_epi16(codes, 6), splat64(0x03)), splat64(0xC0));
        const __m512i first = _mm512_mask_blend_epi8(high, codes, lead);
        const __m512i second = _mm512_or_si512(_mm512_and_si512(codes, splat64(0x3F)), splat64(0x80));
        const auto lowerHigh = static_cast<std::uint32_t>(high);
        const auto upperHigh = static_cast<std::uint32_t>(high >> 32);
        const __m512i lower = _mm512_permutex2var_epi8(first, lowerPairs, second);
        const __m512i upper = _mm512_permutex2var_epi8(first, upperPairs, second);
        _mm512_storeu_si512(to, _mm512_maskz_compress_epi8(firsts | _pdep_u64(lowerHigh, seconds), lower));
        to += 32 + static_cast<std::size_t>(_mm_popcnt_u32(lowerHigh));
        _mm512_storeu_si512(to, _mm512_maskz_compress_epi8(firsts | _pdep_u64(upperHigh, seconds), upper));
        to += 32 + static_cast<std::size_t>(_mm_popcnt_u32(upperHigh));
        i += 64;
    }
    return static_cast<std::size_t>(to - out) + writeBlocks(s + i, n - i, to);
}

// As decodeCommonAvx2, 64 bytes at a time, with a compress to drop the second
// bytes.
void decodeCommonAvx512(const unsigned char* s, std::size_t n, std::size_t& at, char*& to) {
    std::size_t i = at;
    char* o = to;
    unsigned long long carried = 0;
    while (n - i > 64) {
        const __m512i bytes = _mm512_loadu_si512(s + i);
        const __m512i next = _mm512_loadu_si512(s + i + 1);
        const unsigned long long leads = _mm512_cmpeq_epi8_mask(_mm512_or_si512(bytes, splat64(0x01)), splat64(0xC3));
        const unsigned long long nextContinues =
            _mm512_cmpeq_epi8_mask(_mm512_and_si512(next, splat64(0xC0)), splat64(0x80));
        const unsigned long long controls = _mm512_cmpeq_epi8_mask(bytes, splat64(0xC2)) &
                                            _mm512_cmpeq_epi8_mask(_mm512_and_si512(next, splat64(0xE0)), splat64(0x80));
        const unsigned long long seconds = (leads << 1) | carried;
        if (_mm512_movepi8_mask(bytes) != (leads | seconds) || (leads & ~nextContinues) != 0 || controls != 0) break;

        const __m512i code = _mm512_or_si512(
            _mm512_or_si512(splat64(0x80), _mm512_and_si512(_mm512_slli_epi16(bytes, 6), splat64(0x40))),
            _mm512_and_si512(next, splat64(0x3F)));
        const __m512i codes = _mm512_mask_blend_epi8(leads, bytes, code);
        const unsigned long long kept = ~seconds;
        _mm512_storeu_si512(o, _mm512_maskz_compress_epi8(kept, codes));
        o += _mm_popcnt_u64(kept);
        carried = leads >> 63;
        i += 64;
    }
    at = i + carried;
    to = o;
}

} // namespace
} // namespace tarvex::charset

TARVEX_TARGET_END

#endif
