// SPDX-License-Identifier: GPL-3.0-or-later
#include "agreement_line.h"

#include "small_order.h"

#include "seal/base58_blocks.h"
#include "seal/crc32.h"
#include "seal/sealed_format.h"
#include "seal/token_characters.h"
#include "text/charset.h"

#include <algorithm>
#include <string>
#include <vector>

namespace tarvex::agree {
namespace {

constexpr std::size_t kCheckBytes = 4;
constexpr std::size_t kInvitationBytes = kPublicHalfBytes + kCheckBytes;            // 36
constexpr std::size_t kAnswerBytes = kPublicHalfBytes + kTagBytes + kCheckBytes;    // 40
constexpr char32_t kNotUtf8 = 0xFFFD;

// Step 1: what is left of the text once white space, format characters and
// quote markers are dropped, each character with its place in the text as
// given (code points from 1). A byte that starts no UTF-8 character counts
// as one place of its own.
struct KeptText {
    std::u32string characters;
    std::vector<std::uint64_t> positions;
};

KeptText keptCharacters(std::string_view text) {
    KeptText kept;
    std::uint64_t position = 0;
    while (!text.empty()) {
        const text::charset::Utf8Character next = text::charset::firstUtf8Character(text);
        const char32_t ch = next.size == 0 ? kNotUtf8 : next.ch;
        text.remove_prefix(next.size == 0 ? 1 : next.size);
        ++position;
        if (seal::isDroppedFromToken(ch)) continue;
        kept.characters += ch;
        kept.positions.push_back(position);
    }
    return kept;
}

std::size_t find(const std::u32string& in, std::string_view ascii) {
    const std::u32string wanted(ascii.begin(), ascii.end());
    return in.find(wanted);
}

// The groups of a line's binary form: 8-byte blocks, and a 4-byte last one
// for the invitation.
struct Group {
    std::size_t digits;
    std::size_t bytes;
};

std::vector<Group> groupsOf(std::size_t binaryBytes) {
    std::vector<Group> groups(binaryBytes / seal::base58::kBlockBytes,
                              Group{seal::base58::kBlockDigits, seal::base58::kBlockBytes});
    if (const std::size_t rest = binaryBytes % seal::base58::kBlockBytes; rest != 0)
        groups.push_back({seal::base58::digitsForBytes(rest), rest});
    return groups;
}

// Whether the group whose first digits are `values` can still stay below
// 2^(8 * bytes) whatever digits follow: the smallest it can become is its
// value so far followed by zero digits.
bool groupCanFit(const std::uint8_t* values, std::size_t count, const Group& group) {
    __extension__ using Wide = unsigned __int128;
    Wide least = 0;
    for (std::size_t i = 0; i < count; ++i) least = least * 58 + values[i];
    for (std::size_t i = count; i < group.digits; ++i) least *= 58;
    return least >> (8 * group.bytes) == 0;
}

std::uint32_t bigEndian32(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) << 24 | static_cast<std::uint32_t>(bytes[1]) << 16 |
           static_cast<std::uint32_t>(bytes[2]) << 8 | bytes[3];
}

void putBigEndian32(std::uint32_t value, std::uint8_t* out) {
    for (int i = 3; i >= 0; --i) {
        out[i] = static_cast<std::uint8_t>(value);
        value >>= 8;
    }
}

std::string textForm(std::string_view prefix, const std::uint8_t* binary, std::size_t size) {
    std::string line(prefix);
    line += '1';
    const std::size_t blocks = size / seal::base58::kBlockBytes;
    const std::size_t rest = size % seal::base58::kBlockBytes;
    const std::size_t at = line.size();
    line.resize(at + blocks * seal::base58::kBlockDigits + seal::base58::digitsForBytes(rest));
    seal::base58::encodeBlocks(binary, blocks, line.data() + at);
    seal::base58::encodeLastBlock(binary + blocks * seal::base58::kBlockBytes, rest,
                                  line.data() + at + blocks * seal::base58::kBlockDigits);
    return line;
}

AgreementLine other(AgreementLine line) {
    return line == AgreementLine::Invitation ? AgreementLine::Answer : AgreementLine::Invitation;
}

// Steps 1 to 5 of reading: finds the line of the kind expected among other
// words and gives its binary form, check value tested.
Result<std::vector<std::uint8_t>> readBinary(std::string_view text, AgreementLine expected) {
    const KeptText kept = keptCharacters(text);
    const auto verdict = [&](Error::Kind kind, AgreementLine found) {
        return Error{.kind = kind, .expectedLine = expected, .foundLine = found};
    };

    // Step 2: the first line of the kind expected, else the first of the other kind.
    const auto prefixOf = [](AgreementLine line) {
        return line == AgreementLine::Invitation ? kInvitationPrefix : kAnswerPrefix;
    };
    AgreementLine found = expected;
    std::size_t start = find(kept.characters, prefixOf(found));
    if (start == std::u32string::npos) {
        found = other(expected);
        start = find(kept.characters, prefixOf(found));
    }
    if (start == std::u32string::npos) {
        if (kept.characters.empty()) return verdict(Error::Kind::AgreeNothingGiven, AgreementLine::None);
        if (find(kept.characters, seal::kTokenPrefix) != std::u32string::npos)
            return verdict(Error::Kind::AgreeSealedGiven, AgreementLine::None);
        return verdict(Error::Kind::AgreeNoLine, AgreementLine::None);
    }

    // Step 3: the version, then the kind.
    std::size_t at = start + prefixOf(found).size();
    if (at == kept.characters.size()) return verdict(Error::Kind::AgreeLineCut, found);
    const char32_t version = kept.characters[at];
    if (version >= '0' && version <= '9' && version != '1') {
        Error newer = verdict(Error::Kind::AgreeNewerVersion, found);
        newer.code = version;
        return newer;
    }
    if (version != '1') {
        Error damaged = verdict(Error::Kind::AgreeLineDamaged, found);
        damaged.position = kept.positions[at];
        damaged.code = version;
        return damaged;
    }
    if (found != expected) return verdict(Error::Kind::AgreeWrongKind, found);
    ++at;

    // Step 4: the digits, group by group; the first character that cannot
    // belong to a whole line is named.
    const std::size_t size = expected == AgreementLine::Invitation ? kInvitationBytes : kAnswerBytes;
    std::vector<std::uint8_t> binary(size);
    std::size_t written = 0;
    for (const Group& group : groupsOf(size)) {
        std::uint8_t values[seal::base58::kBlockDigits] = {};
        for (std::size_t d = 0; d < group.digits; ++d, ++at) {
            if (at == kept.characters.size()) return verdict(Error::Kind::AgreeLineCut, found);
            const char32_t ch = kept.characters[at];
            const int value = ch < 0x80 ? seal::base58::digitValue(static_cast<unsigned char>(ch)) : -1;
            if (value >= 0) values[d] = static_cast<std::uint8_t>(value);
            if (value < 0 || !groupCanFit(values, d + 1, group)) {
                Error damaged = verdict(Error::Kind::AgreeLineDamaged, found);
                damaged.position = kept.positions[at];
                damaged.code = ch;
                return damaged;
            }
        }
        // Always fits: every digit passed groupCanFit.
        (void)seal::base58::decodeGroup(values, group.digits, binary.data() + written);
        written += group.bytes;
    }

    // Step 5: the check value.
    const std::size_t checked = size - kCheckBytes;
    if (seal::crc32Update(0, binary.data(), checked) != bigEndian32(binary.data() + checked))
        return verdict(Error::Kind::AgreeLineDamaged, found);
    return binary;
}

Error madeOnPurpose(AgreementLine line) {
    return Error{.kind = Error::Kind::AgreeMadeOnPurpose, .expectedLine = line, .foundLine = line};
}

} // namespace

Tag tagOf(const PublicHalf& inviterHalf) {
    Tag tag{};
    std::copy_n(inviterHalf.begin(), kTagBytes, tag.begin());
    return tag;
}

std::string formatInvitation(const PublicHalf& inviterHalf) {
    std::uint8_t binary[kInvitationBytes] = {};
    std::copy(inviterHalf.begin(), inviterHalf.end(), binary);
    putBigEndian32(seal::crc32Update(0, binary, kPublicHalfBytes), binary + kPublicHalfBytes);
    return textForm(kInvitationPrefix, binary, sizeof binary);
}

std::string formatAnswer(const PublicHalf& answererHalf, const Tag& tag) {
    std::uint8_t binary[kAnswerBytes] = {};
    std::copy(answererHalf.begin(), answererHalf.end(), binary);
    std::copy(tag.begin(), tag.end(), binary + kPublicHalfBytes);
    putBigEndian32(seal::crc32Update(0, binary, kPublicHalfBytes + kTagBytes), binary + kPublicHalfBytes + kTagBytes);
    return textForm(kAnswerPrefix, binary, sizeof binary);
}

Result<InvitationLine> readInvitation(std::string_view text) {
    Result<std::vector<std::uint8_t>> binary = readBinary(text, AgreementLine::Invitation);
    if (!binary) return binary.error();
    InvitationLine line;
    std::copy_n(binary->begin(), kPublicHalfBytes, line.publicHalf.begin());
    // Step 7.
    if (hasSmallOrder(line.publicHalf)) return madeOnPurpose(AgreementLine::Invitation);
    return line;
}

Result<AnswerLine> readAnswer(std::string_view text, const PublicHalf& inviterHalf) {
    Result<std::vector<std::uint8_t>> binary = readBinary(text, AgreementLine::Answer);
    if (!binary) return binary.error();
    AnswerLine line;
    std::copy_n(binary->begin(), kPublicHalfBytes, line.publicHalf.begin());
    std::copy_n(binary->begin() + kPublicHalfBytes, kTagBytes, line.tag.begin());
    // Step 6, then step 7.
    if (line.tag != tagOf(inviterHalf))
        return Error{.kind = Error::Kind::AgreeOtherInvitation, .expectedLine = AgreementLine::Answer,
                     .foundLine = AgreementLine::Answer};
    if (hasSmallOrder(line.publicHalf)) return madeOnPurpose(AgreementLine::Answer);
    return line;
}

bool mayTryAgain(const Error& verdict) {
    return verdict.kind != Error::Kind::AgreeMadeOnPurpose;
}

bool mayChangeWithMoreText(const Error& verdict) {
    return verdict.foundLine != verdict.expectedLine || verdict.kind == Error::Kind::AgreeLineCut;
}

} // namespace tarvex::agree
