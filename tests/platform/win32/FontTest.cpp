#include "platform/win32/Win32.h"
// After the Windows headers: see platform/win32/Win32.h.
#include "platform/Font.h"

#include <gtest/gtest.h>

namespace {

TEST(FontTest, AWeightMakesANewFontAndTextsMeasureInIt) {
    const ui::Font normal;
    ui::Font bold = normal;
    bold.SetWeight(FW_BOLD);
    EXPECT_EQ(normal.GetWeight(), FW_NORMAL);
    EXPECT_FALSE(normal.IsBold());
    EXPECT_TRUE(bold.IsBold());
    EXPECT_FALSE(normal == bold) << "the copy changed alone";
    EXPECT_TRUE(normal == ui::Font());

    const ui::SIZE one = normal.GetTextExtent(u"W");
    const ui::SIZE three = normal.GetTextExtent(u"WWW");
    EXPECT_GT(one.cx, 0);
    EXPECT_GT(three.cx, 2 * one.cx);
    EXPECT_GE(bold.GetTextExtent(u"WWW").cx, three.cx);
    EXPECT_EQ(normal.GetTextExtent(u"").cy, one.cy) << "an empty text is one line high";
    EXPECT_GT(normal.GetTextExtent(u"통신 포트").cx, 0);
}

}  // namespace
