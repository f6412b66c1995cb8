#pragma once

// The tables behind the look-ups of ResourceTypes.h, one definition per
// resource file of this folder. Only the look-ups and the tests use them.

#include <cstdint>
#include <span>

#include "res/ResourceTypes.h"

namespace res {

extern const DialogTemplate kAboutBoxTemplate;    // 100
extern const DialogTemplate kMainDialogTemplate;  // 102
extern const DialogTemplate kConfPageTemplate;    // 107
extern const DialogTemplate kTermPageTemplate;    // 108
extern const DialogTemplate kComPortCfgTemplate;  // 131
extern const MenuTemplate kMainMenu;              // 131
extern const std::span<const StringEntry> kStringTable;

// PNG files embedded at build time from res/images/.
extern const std::span<const std::uint8_t> kLogoPng;  // "PNG" 131
extern const std::span<const std::uint8_t> kIconPng;  // "ICON" 128

}  // namespace res
