// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string_view>

// Every word of the window's Agree On A Key dialog, in one place to translate.
// The verdicts on a pasted line or on typed digits are not here: they are the
// `box` wording of messageFor(), which tarvex-cli shares.
// '&' marks an access key; {digits} stands for digits the dialog fills in.
namespace tarvex::agreement_words {

inline constexpr std::string_view kTitle = "Text Tarvex - Agree On A Key";
inline constexpr std::string_view kIntro =
    "Make the same key file as the other side from two lines that you send each other by chat or mail; nothing "
    "secret goes on the way. Only one of you invites; the other answers.";

inline constexpr std::string_view kInvitationCaption = "Your invitation: send it to the other side";
inline constexpr std::string_view kInvitationName = "Your invitation";
inline constexpr std::string_view kCopyInvitation = "&Copy Invitation";

inline constexpr std::string_view kReceivedCaption =
    "&What the other side sent: paste their answer here, or their invitation if they invited you";
inline constexpr std::string_view kReceivedName = "What the other side sent";
inline constexpr std::string_view kPaste = "&Paste";

inline constexpr std::string_view kAnswerCaption = "Your answer: send it back to the other side";
inline constexpr std::string_view kAnswerName = "Your answer";
inline constexpr std::string_view kCopyAnswer = "C&opy Answer";

inline constexpr std::string_view kFingerprintCaption = "Fingerprint of the agreed key";
inline constexpr std::string_view kFingerprintName = "Fingerprint";
inline constexpr std::string_view kReadFirstEight =
    "Read the first eight digits aloud to the other side, by phone or in person: {digits}";
inline constexpr std::string_view kReadLastEight =
    "Read the last eight digits aloud to the other side, by phone or in person: {digits}";
inline constexpr std::string_view kHeardCaption = "&Type the eight digits that the other side reads aloud:";
inline constexpr std::string_view kHeardName = "The eight digits that the other side reads aloud";
inline constexpr std::string_view kSaveKey = "&Save Key...";
inline constexpr std::string_view kDigitsMatch =
    "The digits match: you both hold the same key, and nobody changed the lines on the way. Save the key.";

inline constexpr std::string_view kSaveUncompared = "Save &Without Comparing...";
inline constexpr std::string_view kSaveUncomparedQuestion =
    "Do you want to save the key without comparing the digits?\n\nOnly the comparison shows whether someone "
    "changed the lines on the way. Whoever did would hold a key with each of you: they could read every message "
    "sealed with this key, and write messages that seem to come from the other side.\n\nCompare the fingerprints "
    "by phone or in person before you send anything with this key.";

inline constexpr std::string_view kStartAgain = "Start &Again";
inline constexpr std::string_view kClose = "Close";

// The placeholder in kReadFirstEight and kReadLastEight.
inline constexpr std::string_view kDigitsPlaceholder = "{digits}";

} // namespace tarvex::agreement_words
