#include "platform/LoadString.h"

#include <gtest/gtest.h>

#include "platform/Language.h"
#include "res/ResourceTypes.h"

namespace {

class LoadStringTest : public testing::Test {
protected:
    void TearDown() override { ui::SetUiLanguage(ui::Language::English); }
};

TEST_F(LoadStringTest, StringsComeInTheForcedLanguage) {
    ui::SetUiLanguage(ui::Language::English);
    EXPECT_EQ(ui::LoadString(107), u"COM port closed");
    EXPECT_EQ(ui::GetUserDefaultUILanguage(), 0x0409);
    ui::SetUiLanguage(ui::Language::Korean);
    EXPECT_NE(ui::LoadString(107), u"COM port closed");
    EXPECT_FALSE(ui::LoadString(107).empty());
    EXPECT_EQ(ui::GetUserDefaultUILanguage(), 0x0412);
}

TEST_F(LoadStringTest, EveryStringOfTheTableInBothLanguages) {
    int found = 0;
    for (int id = 101; id <= 130; ++id) {
        const res::Text* text = res::FindString(id);
        if (text == nullptr) continue;
        ++found;
        ui::SetUiLanguage(ui::Language::English);
        EXPECT_EQ(ui::LoadString(id), text->en) << id;
        ui::SetUiLanguage(ui::Language::Korean);
        EXPECT_EQ(ui::LoadString(id), text->ko.empty() ? text->en : text->ko) << id;
    }
    EXPECT_EQ(found, 30);
}

TEST_F(LoadStringTest, AnUnknownIdGivesTheEmptyString) {
    EXPECT_EQ(ui::LoadString(99999), u"");
    EXPECT_EQ(ui::LoadString(0), u"");
}

}  // namespace
