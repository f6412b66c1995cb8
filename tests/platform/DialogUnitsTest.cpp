#include "platform/DialogUnits.h"

#include <gtest/gtest.h>

namespace {

TEST(DialogUnits, AverageWidthIsRoundedAndRectanglesScaleByAQuarterAndAnEighth) {
    // 52 letters 312 pixels wide: 6 per letter; 321 rounds 6.17 to 6, 338 rounds 6.5 up to 7.
    EXPECT_EQ(ui::DialogUnits::FromFont(312, 13).cx, 6);
    EXPECT_EQ(ui::DialogUnits::FromFont(321, 13).cx, 6);
    EXPECT_EQ(ui::DialogUnits::FromFont(338, 13).cx, 7);
    EXPECT_EQ(ui::DialogUnits::FromFont(0, 0).cx, 1);
    EXPECT_EQ(ui::DialogUnits::FromFont(0, 0).cy, 1);

    const ui::DialogUnits units = ui::DialogUnits::FromFont(312, 16);
    const ui::RECT rect = units.ToPixels(res::Rect{11, 16, 95, 14});
    EXPECT_EQ(rect.left, 11 * 6 / 4);
    EXPECT_EQ(rect.top, 16 * 16 / 8);
    EXPECT_EQ(rect.Width(), 95 * 6 / 4);
    EXPECT_EQ(rect.Height(), 14 * 16 / 8);
}

}  // namespace
