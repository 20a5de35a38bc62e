#include "charset.h"

#include <algorithm>
#include <array>
#include <cstdio>

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

// Length of the sequence a lead byte starts, or 0 for a byte that cannot lead.
std::size_t sequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

// Decodes one complete sequence of `length` bytes; nullopt when it is overlong,
// a surrogate, beyond U+10FFFF or has a bad continuation byte.
std::optional<char32_t> decodeSequence(const unsigned char* s, std::size_t length) {
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

} // namespace

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

// Every code's UTF-8 bytes, so a conversion is a copy per code.
struct Utf8Table {
    std::array<std::array<char, 3>, 256> bytes{};
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

} // namespace

void appendAsUtf8(std::string& out, std::string_view codes) {
    const Utf8Table& table = utf8Table();
    const std::size_t start = out.size();
    out.resize(start + codes.size() * 3); // no code takes more than three bytes
    char* to = out.data() + start;
    for (char c : codes) {
        const auto code = static_cast<std::uint8_t>(c);
        const auto& encoded = table.bytes[code];
        to[0] = encoded[0];
        to[1] = encoded[1];
        to[2] = encoded[2];
        to += table.length[code];
    }
    out.resize(static_cast<std::size_t>(to - out.data()));
}

std::string toUtf8(std::string_view codes) {
    std::string out;
    appendAsUtf8(out, codes);
    return out;
}

Result<std::string> fromUtf8(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    Utf8ToCodes decoder;
    if (Status fed = decoder.feed(utf8, out); !fed) return fed.error();
    if (Status finished = decoder.finish(); !finished) return finished.error();
    return out;
}

Status Utf8ToCodes::decodeOne(char32_t ch, std::string& out) {
    ++characters_;
    std::optional<std::uint8_t> code = fromUnicode(ch);
    if (!code) {
        return Error{.kind = Error::Kind::CharacterNotInSet, .position = characters_, .code = ch};
    }
    out.push_back(static_cast<char>(*code));
    return Done{};
}

Status Utf8ToCodes::feed(std::string_view piece, std::string& out) {
    const auto* s = reinterpret_cast<const unsigned char*>(piece.data());
    std::size_t n = piece.size();
    std::size_t i = 0;

    // Complete a character split off the previous piece.
    while (pendingSize_ > 0 && i < n) {
        pending_[pendingSize_++] = static_cast<char>(s[i++]);
        const auto* p = reinterpret_cast<const unsigned char*>(pending_);
        std::size_t need = sequenceLength(p[0]);
        if ((p[pendingSize_ - 1] & 0xC0u) != 0x80u) return invalidUtf8(bytes_ + 1);
        if (pendingSize_ < need) continue;
        std::optional<char32_t> ch = decodeSequence(p, need);
        if (!ch) return invalidUtf8(bytes_ + 1);
        bytes_ += need;
        pendingSize_ = 0;
        if (Status st = decodeOne(*ch, out); !st) return st;
    }

    while (i < n) {
        // ASCII runs are most text: copy them without decoding.
        std::size_t start = i;
        while (i < n && s[i] < 0x80) ++i;
        if (i > start) {
            out.append(piece.data() + start, i - start);
            characters_ += i - start;
            bytes_ += i - start;
            if (i == n) break;
        }
        std::size_t need = sequenceLength(s[i]);
        if (need == 0) return invalidUtf8(bytes_ + 1);
        if (i + need > n) {
            // Fail now on what is already wrong rather than after the next piece.
            for (std::size_t j = i + 1; j < n; ++j) {
                if ((s[j] & 0xC0u) != 0x80u) return invalidUtf8(bytes_ + 1);
            }
            pendingSize_ = n - i;
            for (std::size_t j = 0; j < pendingSize_; ++j) pending_[j] = static_cast<char>(s[i + j]);
            break;
        }
        std::optional<char32_t> ch = decodeSequence(s + i, need);
        if (!ch) return invalidUtf8(bytes_ + 1);
        i += need;
        bytes_ += need;
        if (Status st = decodeOne(*ch, out); !st) return st;
    }
    return Done{};
}

Status Utf8ToCodes::finish() const {
    if (pendingSize_ > 0) return invalidUtf8(bytes_ + 1);
    return Done{};
}

std::string describeCharacter(char32_t ch) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "U+%04X", static_cast<unsigned>(ch));
    std::string text;
    // Controls would garble a one-line message; name them by number only.
    bool printable = ch >= 0x20 && ch != 0x7F && !(ch >= 0x80 && ch <= 0x9F);
    if (printable) {
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
