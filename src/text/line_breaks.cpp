// SPDX-License-Identifier: GPL-3.0-or-later

#include "line_breaks.h"

#include "core/target_region.h"
#include "text/byte_blocks.h"
#include "text/avx512_bytes.h"

#include <algorithm>
#include <cstdint>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace tarvex::text {
namespace {

#if defined(__x86_64__)
std::size_t addCarriageReturnsAvx512(const unsigned char* s, std::size_t n, bool& afterCarriageReturn, char*& to);
std::size_t dropCarriageReturnsAvx512(const unsigned char* s, std::size_t n, char*& to);
#endif

// Calls `span(from, to)` for each run of text between line breaks, and
// `lineBreak()` after each run that a break (LF, CR LF or a lone CR) ends.
template <class Char, class Span, class LineBreak>
void forEachLine(std::basic_string_view<Char> text, Span span, LineBreak lineBreak) {
    // Each kind of break found on its own: the search for one character is
    // the fastest there is.
    std::size_t nextCr = text.find(Char('\r'));
    std::size_t nextLf = text.find(Char('\n'));
    for (std::size_t from = 0; from < text.size();) {
        if (nextCr < from) nextCr = text.find(Char('\r'), from);
        if (nextLf < from) nextLf = text.find(Char('\n'), from);
        const std::size_t to = std::min({nextCr, nextLf, text.size()});
        span(from, to);
        if (to == text.size()) break;
        lineBreak();
        const bool crLf = text[to] == Char('\r') && to + 1 < text.size() && text[to + 1] == Char('\n');
        from = to + (crLf ? 2 : 1);
    }
}

template <class Char>
std::size_t crLfSize(std::basic_string_view<Char> text) {
    std::size_t size = 0;
    forEachLine(text, [&](std::size_t from, std::size_t to) { size += to - from; }, [&] { size += 2; });
    return size;
}

template <class Char>
void writeCrLf(std::basic_string_view<Char> text, Char* out) {
    forEachLine(
        text, [&](std::size_t from, std::size_t to) { out = std::copy(text.begin() + from, text.begin() + to, out); },
        [&] {
            *out++ = Char('\r');
            *out++ = Char('\n');
        });
}

} // namespace

secret::String crLfFromLineBreaks(std::string_view text) {
    // Sized first: the message is written once, into its final place.
    secret::String unified(crLfSize(text), '\0');
    writeCrLf(text, unified.data());
    return unified;
}

std::size_t crLfSizeFromLineBreaks(std::u16string_view text) {
    return crLfSize(text);
}

void writeCrLfFromLineBreaks(std::u16string_view text, char16_t* out) {
    writeCrLf(text, out);
}

secret::String lineFeedsFromCrLf(std::string_view text) {
    secret::String lineFeeds(text.size() + 1, '\0');
    LineFeedsFromCrLf dropping;
    std::size_t size = dropping.run(text, lineFeeds.data());
    if (dropping.takeHeldCarriageReturn()) lineFeeds[size++] = '\r';
    lineFeeds.resize(size);
    return lineFeeds;
}

// The 16-byte ways copy a block whole and then, at each line break that
// changes, write over its place and copy the rest of the block again behind
// it. All stop early enough that no read runs past the end.

std::size_t CrLfFromLineFeeds::run(std::string_view codes, char* out) {
    const auto* s = reinterpret_cast<const unsigned char*>(codes.data());
    const std::size_t n = codes.size();
    std::size_t i = 0;
    char* o = out;
    lastRunStartedAfterCarriageReturn_ = lastWasCarriageReturn_;
#if defined(__x86_64__)
    if (path_ == simd::Path::Avx512) i = addCarriageReturnsAvx512(s, n, lastWasCarriageReturn_, o);
#endif
    const auto lineFeeds = [](const unsigned char* block) { return blocks::bytesEqualTo(block, '\n'); };
    blocks::copyBlocksPatching(s, n, i, o, lineFeeds, [&](const unsigned char* lineFeed, char* at) {
        const bool afterCarriageReturn = lineFeed == s ? lastWasCarriageReturn_ : lineFeed[-1] == '\r';
        if (afterCarriageReturn) return std::ptrdiff_t{0};
        *at = '\r';
        blocks::copyBlock(at + 1, lineFeed);
        return std::ptrdiff_t{1};
    });
    for (; i < n; ++i) {
        if (s[i] == '\n' && !(i == 0 ? lastWasCarriageReturn_ : s[i - 1] == '\r')) *o++ = '\r';
        *o++ = static_cast<char>(s[i]);
    }
    if (n > 0) lastWasCarriageReturn_ = s[n - 1] == '\r';
    return static_cast<std::size_t>(o - out);
}

std::size_t CrLfFromLineFeeds::addedBefore(std::string_view codes, std::size_t at) const {
    std::size_t added = 0;
    std::size_t written = 0;
    bool afterCarriageReturn = lastRunStartedAfterCarriageReturn_;
    for (char c : codes) {
        if (c == '\n' && !afterCarriageReturn) {
            if (written == at) break;
            ++added;
            ++written;
        }
        if (written == at) break;
        ++written;
        afterCarriageReturn = c == '\r';
    }
    return added;
}

std::size_t LineFeedsFromCrLf::run(std::string_view codes, char* out) {
    if (codes.empty()) return 0;
    char* o = out;
    if (heldCarriageReturn_) {
        heldCarriageReturn_ = false;
        if (codes.front() != '\n') *o++ = '\r'; // a lone CR stays what it is
    }
    const auto* s = reinterpret_cast<const unsigned char*>(codes.data());
    const std::size_t n = codes.size();
    std::size_t i = 0;
#if defined(__x86_64__)
    if (path_ == simd::Path::Avx512) i = dropCarriageReturnsAvx512(s, n, o);
#endif
    const auto carriageReturns = [](const unsigned char* block) { return blocks::bytesEqualTo(block, '\r'); };
    blocks::copyBlocksPatching(s, n, i, o, carriageReturns, [](const unsigned char* carriageReturn, char* at) {
        if (carriageReturn[1] != '\n') return std::ptrdiff_t{0};
        blocks::copyBlock(at, carriageReturn + 1);
        return std::ptrdiff_t{-1};
    });
    for (; i < n; ++i) {
        if (s[i] == '\r') {
            if (i + 1 == n) {
                heldCarriageReturn_ = true; // its LF may start the next piece
                break;
            }
            if (s[i + 1] == '\n') continue;
        }
        *o++ = static_cast<char>(s[i]);
    }
    return static_cast<std::size_t>(o - out);
}

bool LineFeedsFromCrLf::takeHeldCarriageReturn() {
    const bool held = heldCarriageReturn_;
    heldCarriageReturn_ = false;
    return held;
}

} // namespace tarvex::text

// The 64-byte ways, for processors with AVX-512 and its byte compress; they run
// only where text::availablePaths() names AVX-512.
#if defined(__x86_64__)

TARVEX_TARGET_BEGIN(TARVEX_AVX512_FEATURES)

namespace tarvex::text {
namespace {

using avx512::splat64;

// Sixty-four codes at a time: each is paired with a CR, and the compress keeps
// the CR only before a lone LF. Returns where it left off.
std::size_t addCarriageReturnsAvx512(const unsigned char* s, std::size_t n, bool& afterCarriageReturn, char*& to) {
    const __m512i carriageReturns = splat64('\r');
    unsigned long long before = afterCarriageReturn ? 1 : 0; // a CR just before the block
    std::size_t i = 0;
    char* o = to;
    while (n - i >= 64) {
        const __m512i codes = _mm512_loadu_si512(s + i);
        const unsigned long long crs = _mm512_cmpeq_epi8_mask(codes, carriageReturns);
        const unsigned long long lone = _mm512_cmpeq_epi8_mask(codes, splat64('\n')) & ~((crs << 1) | before);
        o = avx512::writePairs(carriageReturns, codes, avx512::kSecondOfPairs, lone, o);
        before = crs >> 63;
        i += 64;
    }
    afterCarriageReturn = before != 0;
    to = o;
    return i;
}

// Sixty-four codes at a time; the compress drops the CR of every CR LF.
std::size_t dropCarriageReturnsAvx512(const unsigned char* s, std::size_t n, char*& to) {
    std::size_t i = 0;
    char* o = to;
    while (n - i > 64) {
        const __m512i codes = _mm512_loadu_si512(s + i);
        const __m512i next = _mm512_loadu_si512(s + i + 1);
        const unsigned long long dropped =
            _mm512_cmpeq_epi8_mask(codes, splat64('\r')) & _mm512_cmpeq_epi8_mask(next, splat64('\n'));
        _mm512_storeu_si512(o, _mm512_maskz_compress_epi8(~dropped, codes));
        o += 64 - _mm_popcnt_u64(dropped);
        i += 64;
    }
    to = o;
    return i;
}

} // namespace
} // namespace tarvex::text

TARVEX_TARGET_END

#endif
