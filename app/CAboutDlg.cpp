#include "app/CAboutDlg.h"

#include <string>

#include "platform/DataExchange.h"
#include "platform/Language.h"
#include "platform/VersionInfo.h"
#include "res/FixedTexts.h"

CAboutDlg::CAboutDlg(ui::Window* parent) : ui::Dialog(IDD, parent) {}

void CAboutDlg::DoDataExchange(ui::DataExchange& dx) {
    ui::Dialog::DoDataExchange(dx);
    ui::DDX_Control(dx, IDC_PRODUCT_NAME, m_productName);
    ui::DDX_Control(dx, IDC_LEGAL_NOTICE, m_legalNotice);
    ui::DDX_Control(dx, IDC_LOGO, m_logo);
}

bool CAboutDlg::OnInitDialog() {
    ui::Dialog::OnInitDialog();

    m_boldFont = GetFont();
    m_boldFont.SetWeight(ui::FW_BOLD);
    m_productName.SetFont(m_boldFont, true);

    std::u16string productName;
    if (GetVersionString(u"ProductName", productName)) {
        std::u16string version;
        if (GetProductVersionText(version)) {
            m_productName.SetWindowText(productName + std::u16string(res::kNameVersionSeparator) + version);
        } else {
            m_productName.SetWindowText(productName);
        }
    }

    std::u16string legalNotice;
    if (GetVersionString(u"LegalCopyright", legalNotice)) {
        m_legalNotice.SetWindowText(legalNotice);
    }

    m_logo.LoadPngResource();
    return true;
}

bool CAboutDlg::GetVersionString(std::u16string_view key, std::u16string& out) {
    if (ui::VerQueryRoot() == nullptr) return false;
    const auto translations = ui::VerQueryTranslations();
    const std::uint16_t language = ui::GetUserDefaultUILanguage();
    for (const ui::Translation& t : translations) {
        if (t.language != language) continue;
        if (auto value = ui::VerQueryString(t.language, t.codePage, key)) {
            out = std::move(*value);
            return true;
        }
    }
    if (translations.empty()) return false;
    auto value = ui::VerQueryString(translations.front().language, translations.front().codePage, key);
    if (!value) return false;
    out = std::move(*value);
    return true;
}

bool CAboutDlg::GetProductVersionText(std::u16string& out) {
    const ui::FixedFileInfo* info = ui::VerQueryRoot();
    if (info == nullptr) return false;
    const auto number = [](std::uint32_t value) {
        const std::string digits = std::to_string(value);
        return std::u16string(digits.begin(), digits.end());
    };
    out = number(info->dwProductVersionMS >> 16) + u"." + number(info->dwProductVersionMS & 0xFFFFu) + u"." +
          number(info->dwProductVersionLS >> 16);
    return true;
}
