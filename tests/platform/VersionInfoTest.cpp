#include "platform/VersionInfo.h"

#include <gtest/gtest.h>

namespace {

TEST(VersionInfo, FixedPartCarriesTheProjectVersion) {
    const ui::FixedFileInfo* root = ui::VerQueryRoot();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->dwProductVersionMS, 0x00010001u);
    EXPECT_EQ(root->dwProductVersionLS, 0x00000000u);
    EXPECT_EQ(root->dwFileVersionMS, root->dwProductVersionMS);
}

TEST(VersionInfo, TranslationListAndStringTables) {
    const auto translations = ui::VerQueryTranslations();
    ASSERT_EQ(translations.size(), 1u);
    EXPECT_EQ(translations[0].language, 0x0412);
    EXPECT_EQ(translations[0].codePage, 0x04B0);
    for (std::uint16_t language : {std::uint16_t{0x0400}, std::uint16_t{0x0412}}) {
        EXPECT_EQ(ui::VerQueryString(language, 0x04B0, u"ProductName"), u"Tarnel Manager");
        EXPECT_TRUE(ui::VerQueryString(language, 0x04B0, u"LegalCopyright").has_value());
        EXPECT_EQ(ui::VerQueryString(language, 0x04B0, u"ProductVersion"), u"1.1.0.0");
    }
    EXPECT_FALSE(ui::VerQueryString(0x0409, 0x04B0, u"ProductName").has_value()) << "no such table";
    EXPECT_FALSE(ui::VerQueryString(0x0412, 0x04E4, u"ProductName").has_value()) << "no such code page";
    EXPECT_FALSE(ui::VerQueryString(0x0412, 0x04B0, u"productname").has_value()) << "keys are exact";
}

}  // namespace
