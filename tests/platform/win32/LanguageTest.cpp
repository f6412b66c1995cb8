#include "platform/Language.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string_view>

namespace {

// The run says which language its locale should give (English without it).
ui::Language ExpectedFromLocale() {
    const char* expected = std::getenv("TARNEL_EXPECTED_UI_LANGUAGE");
    return expected != nullptr && std::string_view(expected) == "ko" ? ui::Language::Korean
                                                                     : ui::Language::English;
}

TEST(LanguageTest, FollowsTheUsersUiLanguageUnlessATestForcesOne) {
    ui::ResetUiLanguage();
    EXPECT_EQ(ui::GetUiLanguage(), ExpectedFromLocale());
    ui::SetUiLanguage(ui::Language::Korean);
    EXPECT_EQ(ui::GetUserDefaultUILanguage(), 0x0412);
    ui::SetUiLanguage(ui::Language::English);
    EXPECT_EQ(ui::GetUserDefaultUILanguage(), 0x0409);
    ui::ResetUiLanguage();
    EXPECT_EQ(ui::GetUiLanguage(), ExpectedFromLocale());
}

}  // namespace
