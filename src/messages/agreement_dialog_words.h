// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "i18n/marks.h"

#include <string_view>

// Every word of the window's Agree On A Key dialog, in one place to translate,
// in English: the dialog shows each in the session's language, looked up in
// the context kContext. The verdicts on a pasted line or on typed digits are
// not here: they are the `box` wording of messageFor(), which tarvex-cli shares.
// '&' marks an access key; {digits} stands for digits the dialog fills in.
namespace tarvex::messages::agreement_words {

inline constexpr const char* kContext = "agreement dialog";

inline constexpr std::string_view kTitle = NC_("agreement dialog", "Text Tarvex - Agree On A Key");
inline constexpr std::string_view kIntro =
    NC_("agreement dialog",
        "Make the same key file as the other side from two lines that you send each other by chat or mail; nothing "
        "secret goes on the way. Only one of you invites; the other answers.");

inline constexpr std::string_view kInvitationCaption =
    NC_("agreement dialog", "Your invitation: send it to the other side");
inline constexpr std::string_view kInvitationName = NC_("agreement dialog", "Your invitation");
inline constexpr std::string_view kCopyInvitation = NC_("agreement dialog", "&Copy Invitation");

inline constexpr std::string_view kReceivedCaption =
    NC_("agreement dialog",
        "&What the other side sent: paste their answer here, or their invitation if they invited you");
inline constexpr std::string_view kReceivedName = NC_("agreement dialog", "What the other side sent");
inline constexpr std::string_view kPaste = NC_("agreement dialog", "&Paste");

inline constexpr std::string_view kAnswerCaption = NC_("agreement dialog", "Your answer: send it back to the other side");
inline constexpr std::string_view kAnswerName = NC_("agreement dialog", "Your answer");
inline constexpr std::string_view kCopyAnswer = NC_("agreement dialog", "C&opy Answer");

inline constexpr std::string_view kFingerprintCaption = NC_("agreement dialog", "Fingerprint of the agreed key");
/* TRANSLATORS: what a screen reader says before the fingerprint's digits,
   which follow as {digits}. */
inline constexpr std::string_view kFingerprintName = NC_("agreement dialog", "Fingerprint: {digits}");
/* TRANSLATORS: {digits} are eight digits of the fingerprint, such as 77DE 0B45. */
inline constexpr std::string_view kReadFirstEight =
    NC_("agreement dialog", "Read the first eight digits aloud to the other side, by phone or in person: {digits}");
/* TRANSLATORS: {digits} are eight digits of the fingerprint, such as 77DE 0B45. */
inline constexpr std::string_view kReadLastEight =
    NC_("agreement dialog", "Read the last eight digits aloud to the other side, by phone or in person: {digits}");
inline constexpr std::string_view kHeardCaption =
    NC_("agreement dialog", "&Type the eight digits that the other side reads aloud:");
inline constexpr std::string_view kHeardName =
    NC_("agreement dialog", "The eight digits that the other side reads aloud");
inline constexpr std::string_view kSaveKey = NC_("agreement dialog", "&Save Key...");
inline constexpr std::string_view kDigitsMatch =
    NC_("agreement dialog",
        "The digits match: you both hold the same key, and nobody changed the lines on the way. Save the key.");

inline constexpr std::string_view kSaveUncompared = NC_("agreement dialog", "Save &Without Comparing...");
inline constexpr std::string_view kSaveUncomparedQuestion =
    NC_("agreement dialog",
        "Do you want to save the key without comparing the digits?\n\nOnly the comparison shows whether someone "
        "changed the lines on the way. Whoever did would hold a key with each of you: they could read every message "
        "sealed with this key, and write messages that seem to come from the other side.\n\nCompare the fingerprints "
        "by phone or in person before you send anything with this key.");

inline constexpr std::string_view kStartAgain = NC_("agreement dialog", "Start &Again");
inline constexpr std::string_view kClose = NC_("agreement dialog", "Close");

// The place of the digits in kFingerprintName, kReadFirstEight and kReadLastEight.
inline constexpr std::string_view kDigitsPlaceholder = "{digits}";

} // namespace tarvex::messages::agreement_words
