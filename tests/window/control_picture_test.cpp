// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/message_area.h"

#include "../support/test_support.h"

#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

namespace tarvex::window::test {
namespace {

// The message area showing only `codes`, as drawn on screen.
QImage picture(const std::string& codes) {
    MessageArea area;
    area.resize(200, 60);
    area.setText(codes);
    return area.grab().toImage();
}

// Pixels that differ from the most common colour, the background.
int inkOf(const QImage& image) {
    std::map<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            ++counts[image.pixel(x, y)];
        }
    }
    int background = 0;
    for (const auto& [colour, count] : counts) background = std::max(background, count);
    return image.width() * image.height() - background;
}

TEST(ControlPictures, EachControlIsDrawnAsItsOwnVisibleName) {
    const int frameOnly = inkOf(picture(""));
    const QImage nul = picture(std::string(1, '\0'));
    const QImage cr = picture("\r");
    const QImage lf = picture("\n");
    const QImage del = picture("\x7f");
    // A framed name of three letters, not an empty box of the font.
    EXPECT_GT(inkOf(nul), frameOnly + 20) << "NUL";
    EXPECT_GT(inkOf(cr), frameOnly + 20) << "CR";
    EXPECT_NE(nul, cr);
    EXPECT_NE(cr, lf);
    EXPECT_NE(nul, del);
    EXPECT_NE(picture(std::string("\x01", 1)), picture("\x02")) << "SOH and STX";

    // A control is kept as the one character it is.
    MessageArea area;
    area.setText(std::string("a\0b", 3));
    EXPECT_EQ(area.text(), std::string("a\0b", 3));
}

} // namespace
} // namespace tarvex::window::test
