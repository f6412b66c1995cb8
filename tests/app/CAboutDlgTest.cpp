#include "app/CAboutDlg.h"

#include <gtest/gtest.h>

#include <functional>

#include "controls/GdiplusImgCtrl.h"
#include "platform/Language.h"
#include "platform/TestHooks.h"
#include "platform/VersionInfo.h"
#include "tests/support/ModalRecorder.h"

namespace {

class CAboutDlgTest : public testing::Test {
protected:
    void TearDown() override { ui::SetUiLanguage(ui::Language::English); }

    void Show(const std::function<void(CAboutDlg&)>& check) {
        ui::test::ModalRecorder recorder([&](ui::Dialog& dlg) {
            check(dynamic_cast<CAboutDlg&>(dlg));
            dlg.EndDialog(ui::IDOK);
        });
        CAboutDlg about;
        EXPECT_EQ(about.DoModal(), ui::IDOK);
    }
};

TEST_F(CAboutDlgTest, ShowsTheProductLineInBoldTheLegalNoticeAndTheLogo) {
    for (ui::Language language : {ui::Language::English, ui::Language::Korean}) {
        ui::SetUiLanguage(language);
        // The only translation is Korean: matched in Korean, taken as the
        // first entry in any other language.
        const auto legal = ui::VerQueryString(0x0412, 0x04B0, u"LegalCopyright");
        ASSERT_TRUE(legal.has_value());
        Show([&](CAboutDlg& dlg) {
            EXPECT_EQ(dlg.GetWindowText(), language == ui::Language::Korean ? u"Tarnel Manager 정보"
                                                                            : u"Tarnel Manager Information");
            EXPECT_EQ(dlg.GetDlgItemText(CAboutDlg::IDC_PRODUCT_NAME), u"Tarnel Manager Ver 1.1.0");
            EXPECT_TRUE(dlg.GetDlgItem(CAboutDlg::IDC_PRODUCT_NAME)->GetFont().IsBold());
            EXPECT_FALSE(dlg.GetFont().IsBold());
            EXPECT_EQ(dlg.GetDlgItemText(CAboutDlg::IDC_LEGAL_NOTICE), *legal);
            auto* logo = dynamic_cast<GdiplusImgCtrl*>(dlg.GetDlgItem(CAboutDlg::IDC_LOGO));
            ASSERT_NE(logo, nullptr);
            EXPECT_TRUE(logo->HasUsableImage());
        });
    }
}

TEST_F(CAboutDlgTest, VersionLookupsReadTheCompiledInData) {
    std::u16string text = u"untouched";
    EXPECT_FALSE(CAboutDlg::GetVersionString(u"NoSuchKey", text));
    EXPECT_EQ(text, u"untouched");
    ASSERT_TRUE(CAboutDlg::GetVersionString(u"ProductName", text));
    EXPECT_EQ(text, u"Tarnel Manager");
    ASSERT_TRUE(CAboutDlg::GetProductVersionText(text));
    EXPECT_EQ(text, u"1.1.0");
}

}  // namespace
