#include "config/FoundDevices.h"

#include <cstdio>
#include <iterator>

#include "config/FieldText.h"
#include "platform/FromUtf8.h"
#include "protocol/BdAddr.h"
#include "res/FixedTexts.h"

void FoundDevices::InitColumns() {
    constexpr int kColumnWidths[] = {100, 120, 40, 60};
    static_assert(std::size(kColumnWidths) == std::size(res::kSearchColumns));
    m_list.SetExtendedStyle(ui::LVS_EX_FULLROWSELECT | ui::LVS_EX_GRIDLINES);
    for (int column = 0; column < static_cast<int>(std::size(kColumnWidths)); ++column)
        m_list.InsertColumn(column, res::kSearchColumns[column], ui::LVCFMT_LEFT, kColumnWidths[column]);
}

void FoundDevices::Clear() {
    m_list.DeleteAllItems();
    m_devices.clear();
}

void FoundDevices::Add(const InquiryResult& report) {
    std::u16string key;
    FormatBdAddrW(report.addr, key);
    if (!m_devices.insert(key).second) return;
    const int row = m_list.GetItemCount();
    m_list.InsertItem(row, key);
    m_list.SetItemText(row, 1, ui::FromUtf8(FieldText(report.name)));
    char number[16];
    std::snprintf(number, sizeof number, "%d", report.rssi);
    m_list.SetItemText(row, 2, ui::FromUtf8(number));
    const uint32_t classOfDevice = report.classOfDevice;
    std::snprintf(number, sizeof number, "%X", classOfDevice);
    m_list.SetItemText(row, 3, ui::FromUtf8(number));
}
