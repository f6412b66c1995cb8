#pragma once

// The About box (template 100): the logo, the product name with its version
// in bold, a fixed description and the legal notice line of the program's
// version data in the user's interface language. A new one is made for
// each showing.

#include <string>
#include <string_view>

#include "controls/GdiplusImgCtrl.h"
#include "platform/Dialog.h"
#include "platform/Font.h"
#include "platform/Static.h"

class CAboutDlg : public ui::Dialog {
public:
    static constexpr int IDD = 100;
    static constexpr int IDC_PRODUCT_NAME = 1088;
    static constexpr int IDC_LEGAL_NOTICE = 1089;
    static constexpr int IDC_LOGO = 1090;

    explicit CAboutDlg(ui::Window* parent = nullptr);

    // One string of the version data: the string table of the interface
    // language when the translation list has it, else the list's first
    // table. False when there is no version data, the list is empty or the
    // table has no such key; `out` is then unchanged.
    static bool GetVersionString(std::u16string_view key, std::u16string& out);
    // The product version as "major.minor.patch" (the fourth part is never
    // shown). False, with `out` unchanged, when there is no version data.
    static bool GetProductVersionText(std::u16string& out);

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    bool OnInitDialog() override;

private:
    ui::Font m_boldFont;
    ui::Static m_productName;
    ui::Static m_legalNotice;
    GdiplusImgCtrl m_logo;
};
