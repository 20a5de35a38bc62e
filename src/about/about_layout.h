// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "i18n/marks.h"
#include "platform/twips.h"

#include <array>
#include <cstdint>
#include <string_view>

// What the About box is made of, as data: every element with its geometry in
// twips as it was designed, and the two lines of its etched rule. The texts
// that stay in view are marked for the catalogue, in the context "about box";
// the rest gives way to the program's name and version as the box loads.
namespace tarvex::about::layout {

using platform::kTwipsPerPixel;
using platform::twipsToPixels;
using platform::TwipsPoint;
using platform::TwipsRect;

inline constexpr int kClientWidth = 5730;
inline constexpr int kClientHeight = 4110;

inline constexpr std::string_view kDesignCaption = "About MyApp";

enum class Kind { Picture, Label, Button };

struct Element {
    std::string_view name;
    Kind kind;
    std::string_view designText; // what shows until the box has loaded
    TwipsRect rect;
    double pointSize = 8.25;
    bool bold = false;
};

inline constexpr std::array kElements = {
    Element{"picIcon", Kind::Picture, "", {3360, 120, 2265, 2265}},
    Element{"lblTitle", Kind::Label, "Application Title", {120, 240, 1935, 300}, 12.0, true},
    Element{"lblVersion", Kind::Label, "Version", {120, 720, 525, 195}},
    Element{"lblDescription", Kind::Label, NC_("about box", "Text Encryption"), {120, 960, 1110, 195}},
    // Free software says so where its users look first.
    Element{"lblLicence", Kind::Label, NC_("about box", "Licence: GPL-3.0-or-later"), {120, 1320, 3150, 195}},
    Element{"cmdOK", Kind::Button, NC_("about box", "OK"), {4245, 2625, 1260, 345}},
    Element{"cmdSysInfo", Kind::Button, NC_("about box", "&System Info..."), {4260, 3075, 1245, 345}},
};

// The picture inside picIcon, in pixels; the box's sunken border takes the rest.
inline constexpr int kPictureSide = 147;

struct RuleLine {
    TwipsPoint from;
    TwipsPoint to;
    std::uint32_t rgb;
};

// Line1: a grey line with a white one just below and right of it.
inline constexpr std::array kLine1 = {
    RuleLine{{90, 2445}, {5654, 2445}, 0x808080},
    RuleLine{{105, 2460}, {5654, 2460}, 0xFFFFFF},
};

} // namespace tarvex::about::layout
