#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "res/ResourceCatalog.h"
#include "res/ResourceTypes.h"
#include "res/WinDefs.h"

namespace res {
namespace {

int CountOf(std::u16string_view text, std::u16string_view what) {
    int n = 0;
    for (auto pos = text.find(what); pos != text.npos; pos = text.find(what, pos + what.size()))
        ++n;
    return n;
}

bool IsRadio(const ControlTemplate& c) {
    return c.cls == ControlClass::Button && (c.style & ui::BS_TYPEMASK) == ui::BS_AUTORADIOBUTTON;
}

// A combo box's height in a template is the height of its dropped-down list,
// which may reach past the dialog; only its closed field has to fit.
constexpr int kComboFieldHeight = 12;

bool FitsIn(const Rect& r, const DialogTemplate& d, ControlClass cls) {
    int height = cls == ControlClass::ComboBox ? std::min(r.cy, kComboFieldHeight) : r.cy;
    return r.x >= 0 && r.y >= 0 && r.cx > 0 && r.cy > 0 && r.x + r.cx <= d.cx && r.y + height <= d.cy;
}

TEST(ResourceLookup, FindsEveryResourceTheProgramLoadsAndNothingElse) {
    for (int id : {100, 102, 107, 108, 131}) {
        const DialogTemplate* d = FindDialog(id);
        ASSERT_NE(d, nullptr) << id;
        EXPECT_EQ(d->id, id);
    }
    EXPECT_EQ(FindDialog(101), nullptr);
    EXPECT_EQ(FindDialog(0), nullptr);

    ASSERT_NE(FindMenu(131), nullptr);
    EXPECT_EQ(FindMenu(102), nullptr);

    for (int id = 101; id <= 131; ++id)
        EXPECT_NE(FindString(id), nullptr) << id;
    EXPECT_EQ(FindString(100), nullptr);
    EXPECT_EQ(FindString(132), nullptr);
    EXPECT_EQ(FindString(-1), nullptr);

    EXPECT_TRUE(FindBinary("PNG", 128).empty());
    EXPECT_TRUE(FindBinary("ICON", 131).empty());
    EXPECT_TRUE(FindBinary("png", 131).empty());
}

std::uint32_t BigEndian32(std::span<const std::uint8_t> b, std::size_t at) {
    return std::uint32_t{b[at]} << 24 | std::uint32_t{b[at + 1]} << 16 | std::uint32_t{b[at + 2]} << 8 |
           b[at + 3];
}

TEST(ResourceLookup, ImagesArePngsOfTheirSizeAndKind) {
    struct Case {
        std::string_view type;
        int id;
        std::uint32_t width, height;
        std::uint8_t colorType;  // 3: palette, 6: RGBA
    };
    for (const Case& c : {Case{"PNG", 131, 256, 38, 3}, Case{"ICON", 128, 32, 32, 6}}) {
        auto png = FindBinary(c.type, c.id);
        ASSERT_GT(png.size(), 33u) << c.type;
        const std::uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
        EXPECT_TRUE(std::equal(std::begin(signature), std::end(signature), png.begin())) << c.type;
        EXPECT_EQ(BigEndian32(png, 16), c.width) << c.type;
        EXPECT_EQ(BigEndian32(png, 20), c.height) << c.type;
        EXPECT_EQ(png[24], 8) << c.type;  // bits per sample or palette index
        EXPECT_EQ(png[25], c.colorType) << c.type;
    }
}

TEST(StringTable, EveryStringExistsInBothLanguagesWithTheSameFormatAndLineBreaks) {
    auto strings = AllStrings();
    ASSERT_EQ(strings.size(), 31u);
    for (std::size_t i = 0; i < strings.size(); ++i) {
        const StringEntry& s = strings[i];
        EXPECT_EQ(s.id, 101 + static_cast<int>(i));
        EXPECT_FALSE(s.text.en.empty()) << s.id;
        EXPECT_FALSE(s.text.ko.empty()) << s.id;
        EXPECT_EQ(CountOf(s.text.en, u"%"), CountOf(s.text.ko, u"%")) << s.id;
        EXPECT_EQ(CountOf(s.text.en, u"%s"), CountOf(s.text.ko, u"%s")) << s.id;
        EXPECT_EQ(CountOf(s.text.en, u"\r\n"), CountOf(s.text.ko, u"\r\n")) << s.id;
        EXPECT_EQ(&s.text, FindString(s.id));
    }
}

TEST(DialogTemplates, ControlsHaveUniqueIdsTextsInBothLanguagesAndFitTheDialog) {
    ASSERT_EQ(AllDialogs().size(), 5u);
    for (const DialogTemplate* d : AllDialogs()) {
        SCOPED_TRACE(d->id);
        EXPECT_EQ(d->font, u"MS Shell Dlg");
        EXPECT_GT(d->pointSize, 0);
        EXPECT_EQ(d->caption.en.empty(), d->caption.ko.empty());
        std::set<int> ids;
        for (const ControlTemplate& c : d->controls) {
            SCOPED_TRACE(c.id);
            if (c.id != ui::IDC_STATIC) {
                EXPECT_TRUE(ids.insert(c.id).second) << "duplicate id";
            }
            EXPECT_EQ(c.text.en.empty(), c.text.ko.empty());
            EXPECT_TRUE(c.style & ui::WS_CHILD);
            EXPECT_TRUE(FitsIn(c.rect, *d, c.cls));
            if (c.koRect) {
                EXPECT_TRUE(FitsIn(*c.koRect, *d, c.cls));
            }
        }
    }
}

TEST(DialogTemplates, RadioGroupsStartWithGroupStyleAndEndBeforeTheNextGroup) {
    struct Case {
        int dialog;
        int first;
        int count;
    };
    for (const Case& c : {Case{107, 1029, 4}, Case{131, 1081, 2}}) {
        auto controls = FindDialog(c.dialog)->controls;
        auto first = std::ranges::find(controls, c.first, &ControlTemplate::id);
        ASSERT_NE(first, controls.end());
        ASSERT_LE(first - controls.begin() + c.count, static_cast<long>(controls.size()));
        EXPECT_TRUE(first->style & ui::WS_GROUP);
        for (int i = 0; i < c.count; ++i) {
            EXPECT_TRUE(IsRadio(first[i])) << c.first + i;
            EXPECT_EQ(first[i].id, c.first + i);
            if (i > 0) {
                EXPECT_FALSE(first[i].style & ui::WS_GROUP) << c.first + i;
            }
        }
        auto after = first + c.count;
        if (after != controls.end()) {
            EXPECT_TRUE(!IsRadio(*after) || (after->style & ui::WS_GROUP));
        }
    }
}

TEST(DialogTemplates, TerminalPageHasItsFixedStylesAndRectangles) {
    const DialogTemplate* d = FindDialog(108);
    EXPECT_EQ(d->style, 0x40000048u);
    EXPECT_EQ(d->exStyle, 0x10000u);
    struct Expected {
        int id;
        ControlClass cls;
        std::uint32_t style;
        Rect rect;
    };
    const Expected expected[] = {
        {1075, ControlClass::RichEdit, 0x50810084, {2, 6, 338, 179}},
        {1076, ControlClass::Button, 0x50010000, {296, 190, 44, 16}},
        {1086, ControlClass::ComboBox, 0x50210002, {3, 191, 287, 84}},
        {1083, ControlClass::Button, 0x50030003, {25, 218, 24, 10}},
        {1084, ControlClass::Button, 0x50010003, {66, 218, 23, 10}},
        {-1, ControlClass::Button, 0x50000007, {5, 207, 98, 27}},
        {1085, ControlClass::Button, 0x50010003, {125, 218, 112, 10}},
        {-1, ControlClass::Button, 0x50000007, {117, 207, 139, 27}},
    };
    ASSERT_EQ(d->controls.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const ControlTemplate& c = d->controls[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(c.id, expected[i].id);
        EXPECT_EQ(c.cls, expected[i].cls);
        EXPECT_EQ(c.style, expected[i].style);
        EXPECT_EQ(c.rect.x, expected[i].rect.x);
        EXPECT_EQ(c.rect.y, expected[i].rect.y);
        EXPECT_EQ(c.rect.cx, expected[i].rect.cx);
        EXPECT_EQ(c.rect.cy, expected[i].rect.cy);
    }
}

TEST(MainMenu, OnePopupWithTheTwoCommandsInBothLanguages) {
    const MenuTemplate* m = FindMenu(131);
    ASSERT_EQ(m->items.size(), 1u);
    const MenuItem& popup = m->items[0];
    EXPECT_EQ(popup.id, 0);
    EXPECT_EQ(popup.text.en, u"Menu");
    EXPECT_EQ(popup.text.ko, u"메뉴");
    ASSERT_EQ(popup.items.size(), 2u);
    EXPECT_EQ(popup.items[0].id, 32772);
    EXPECT_EQ(popup.items[1].id, 57664);
    for (const MenuItem& item : popup.items) {
        EXPECT_FALSE(item.text.en.empty());
        EXPECT_FALSE(item.text.ko.empty());
        EXPECT_TRUE(item.items.empty());
    }
}

}  // namespace
}  // namespace res
