#pragma once

// The search list's rows: each device found once, keyed by its address text,
// with the values of its first report. Window thread.

#include <string>
#include <unordered_set>

#include "platform/ListCtrl.h"
#include "protocol/PayloadRecords.h"

class FoundDevices {
public:
    explicit FoundDevices(ui::ListCtrl& list) : m_list(list) {}

    // Gives the list its styles and columns.
    void InitColumns();
    void Clear();
    // Adds a row for `report` unless its address is listed already.
    void Add(const InquiryResult& report);

private:
    ui::ListCtrl& m_list;
    std::unordered_set<std::u16string> m_devices;
};
