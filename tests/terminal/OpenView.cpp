#include "tests/terminal/OpenView.h"

#include <gtest/gtest.h>

#include "platform/DataExchange.h"
#include "tests/terminal/TerminalTestHost.h"

namespace terminal_test {
namespace {

constexpr int kViewId = 1075;

const res::ControlTemplate kControls[] = {
    {kViewId, res::ControlClass::RichEdit, {u"", u""}, 0x50810084, 0, {2, 6, 304, 179}, {}},
};
const res::DialogTemplate kTemplate{
    0, {u"", u""}, u"MS Shell Dlg", 8, 310, 190, ui::WS_CHILD | ui::WS_VISIBLE, 0, 0, kControls};

}  // namespace

ViewPage::ViewPage() : ui::PropertyPage(kTemplate) {}

void ViewPage::DoDataExchange(ui::DataExchange& dx) {
    ui::DDX_Control(dx, kViewId, view);
}

bool ViewPage::OnInitDialog() {
    ui::PropertyPage::OnInitDialog();
    view.SetupView();
    return true;
}

void ViewFixture::Open() {
    ASSERT_FALSE(view.m_channel->Open(pty.SlavePath(), 115200, 8, 0, 0, 0));
    view.m_executor.Start(1);
}

void ViewFixture::Close() {
    view.m_channel->Close();
    view.m_executor.Stop();
}

void WithView(bool open, const std::function<void(ViewFixture&)>& body) {
    ViewFixture f;
    f.pty.HoldSlave();
    f.view.m_onError = [&f](const TermRichedit* source, std::error_code& error) {
        if (source == &f.view && error) ++f.errors;
    };
    WithHostWindow([&](HostDialog& host) {
        ASSERT_TRUE(f.page.Create(&host));
        host.Hold(f.page);
        f.page.ShowWindow(ui::SW_SHOW);
        if (open) f.Open();
        body(f);
        if (open) f.Close();
    });
}

std::u16string Shown(const TermRichedit& view) {
    const std::u16string text = view.GetWindowText();
    std::u16string shown;
    shown.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') continue;
        shown.push_back(text[i]);
    }
    return shown;
}

std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (int v : values)
        bytes.push_back(static_cast<char>(v));
    return bytes;
}

}  // namespace terminal_test
