// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "text_paths.h"

#include "secret/string.h"

#include <cstddef>
#include <string>
#include <string_view>

// Line breaks. In a message, as the window holds it and the classic format
// carries it, a line break is CR LF; a lone CR or LF is a code like any other.
// Outside, lines break with LF (tarvex-cli's UTF-8, a sealed message's
// payload), and text from other programs may break them with CR LF or a lone
// CR too. So:
// - Out of a message (sealing, tarvex-cli's decrypted UTF-8): CR LF becomes LF;
//   a lone CR or LF stays.
// - Into the window from another program (pasted, dropped or typed text, an
//   opened sealed message): LF, CR LF and a lone CR are each a line break, and
//   become CR LF.
// - Into tarvex-cli's encryption from UTF-8: a lone LF becomes CR LF; a lone CR
//   stays a code, so that decrypting gives the file's bytes back.
namespace tarvex::text {

// The line breaks of text from another program made CR LF.
secret::String crLfFromLineBreaks(std::string_view text);
// The same for UTF-16, into storage of the caller's (the window's own string
// type): `out` has room for crLfSizeFromLineBreaks(text) units.
std::size_t crLfSizeFromLineBreaks(std::u16string_view text);
void writeCrLfFromLineBreaks(std::u16string_view text, char16_t* out);

// A message's CR LFs made LF, all at once.
secret::String lineFeedsFromCrLf(std::string_view text);

// Lone LFs become the window's CR LF on the way in. Fed in pieces: whether an
// LF at the start of a piece is lone depends on the end of the one before.
class CrLfFromLineFeeds {
public:
    explicit CrLfFromLineFeeds(simd::Path path = simd::fastestPath()) : path_(path) {}

    // Copies `codes` to `out`, which has room for 2 * codes.size(), with a CR
    // before every LF that lacks one. Returns how many codes it wrote.
    std::size_t run(std::string_view codes, char* out);
    // How many of the codes the last run wrote before `at` were added CRs;
    // `codes` is what that run was given. Counted again, as only a fault needs it.
    std::size_t addedBefore(std::string_view codes, std::size_t at) const;

private:
    [[maybe_unused]] simd::Path path_; // read on x86-64 only
    bool lastWasCarriageReturn_ = false;
    bool lastRunStartedAfterCarriageReturn_ = false;
};

// CR LF becomes LF on the way out; a lone CR stays. Fed in pieces: a CR at the
// end of a piece waits for the next piece to show whether an LF follows.
class LineFeedsFromCrLf {
public:
    explicit LineFeedsFromCrLf(simd::Path path = simd::fastestPath()) : path_(path) {}

    // Copies `codes` to `out`, which has room for codes.size() + 1, dropping the
    // CR of every CR LF. Returns how many codes it wrote.
    std::size_t run(std::string_view codes, char* out);
    // Whether a CR is still held back; taking it ends the wait.
    bool takeHeldCarriageReturn();

private:
    [[maybe_unused]] simd::Path path_; // read on x86-64 only
    bool heldCarriageReturn_ = false;
};

} // namespace tarvex::text
