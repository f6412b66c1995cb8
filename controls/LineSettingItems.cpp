#include "controls/LineSettingItems.h"

#include <string>

#include "platform/FromUtf8.h"
#include "serial/SerialLine.h"

ComboItems BaudRateItems() {
    ComboItems items;
    for (const uint32_t baud : OFFERED_BAUD_RATES)
        items.emplace_back(ui::FromUtf8(std::to_string(baud)), baud);
    return items;
}

ComboItems ParityItems() {
    ComboItems items;
    for (const char letter : OFFERED_PARITIES)
        items.emplace_back(ui::FromUtf8(ParityName(letter)), static_cast<std::uintptr_t>(letter));
    return items;
}

ComboItems StopBitItems() {
    ComboItems items;
    for (const uint8_t count : OFFERED_STOP_BITS)
        items.emplace_back(ui::FromUtf8(std::to_string(count)), count);
    return items;
}
