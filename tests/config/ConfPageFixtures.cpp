#include "tests/config/ConfPageFixtures.h"

#include "platform/ListCtrl.h"

namespace tarnel::test {

using namespace std::chrono_literals;
using P = TarnelConfPage;

void TarnelConfPageApply::OpenIdle(sim::SimConfig config) {
    m_h.reset();
    m_h = std::make_unique<ConfPageHarness>(std::move(config));
    ASSERT_FALSE(m_h->Open());
    ASSERT_TRUE(m_h->WaitIdle());
    m_before = m_h->Commands().size();
}

std::vector<std::string> TarnelConfPageApply::SentSinceRead() const {
    const std::vector<std::string> all = m_h->Commands();
    return {all.begin() + static_cast<std::ptrdiff_t>(m_before), all.end()};
}

bool TarnelConfPageSearch::WaitSearching() {
    return H().WaitFor(
        [&] { return H().Text(P::IDC_SEARCH) == u"Stop search" && H().Enabled(P::IDC_SEARCH); });
}

bool TarnelConfPageSearch::WaitRows(int rows) {
    return H().WaitFor([&] { return H().Get<ui::ListCtrl>(P::IDC_RESULT_LIST).GetItemCount() == rows; });
}

// The reports come well after the 1.2 s that the inquiry command waits, so
// that none is taken by the command itself.
sim::SimConfig SearchConfig(std::chrono::milliseconds inquiryTime) {
    sim::SimConfig config;
    const sim::BdAddress speaker{0x00, 0x1B, 0xDC, 0x0F, 0x3A, 0x21};
    config.devices = {
        {speaker, "거실 스피커", -52, 0x240414, 2200ms},
        {{0x74, 0xE5, 0x43, 0xB0, 0x19, 0xC7}, "Field Phone", -67, 0x5A020C, 2400ms},
        {speaker, "Renamed", -90, 0x000001, 2600ms},
    };
    config.inquiryTime = inquiryTime;
    return config;
}

}  // namespace tarnel::test
