#pragma once

// The offered line settings as combo box items: each item's text and the
// value it stands for as its item data (the baud rate, the parity letter,
// the stop bit count).

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

using ComboItems = std::vector<std::pair<std::u16string, std::uintptr_t>>;

ComboItems BaudRateItems();
ComboItems ParityItems();
ComboItems StopBitItems();
