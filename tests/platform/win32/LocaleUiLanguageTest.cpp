#include "platform/LocaleUiLanguage.h"

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

TEST(LocaleUiLanguageTest, FollowsTheUsersUiLanguage) {
    EXPECT_EQ(ui::LocaleUiLanguage(), ExpectedFromLocale());
}

}  // namespace
