#pragma once

// Style combinations that recur in the dialog templates of this folder.

#include <cstdint>

#include "res/WinDefs.h"

namespace res::styles {

using namespace ui;

inline constexpr std::uint32_t kChild = WS_CHILD | WS_VISIBLE;
inline constexpr std::uint32_t kLabel = kChild | SS_LEFT;
inline constexpr std::uint32_t kGroupBox = kChild | BS_GROUPBOX;
inline constexpr std::uint32_t kPushButton = kChild | WS_TABSTOP | BS_PUSHBUTTON;
inline constexpr std::uint32_t kDefPushButton = kChild | WS_TABSTOP | BS_DEFPUSHBUTTON;
inline constexpr std::uint32_t kEdit = kChild | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
inline constexpr std::uint32_t kDropList = kChild | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST;
inline constexpr std::uint32_t kSortedDropList = kDropList | CBS_SORT;
inline constexpr std::uint32_t kRadio = kChild | BS_AUTORADIOBUTTON;
inline constexpr std::uint32_t kFirstRadio = kRadio | WS_GROUP | WS_TABSTOP;
inline constexpr std::uint32_t kCheckBox = kChild | WS_TABSTOP | BS_AUTOCHECKBOX;

inline constexpr std::uint32_t kDsFixedSys = 0x8;
inline constexpr std::uint32_t kChildDialog = WS_CHILD | DS_SETFONT | kDsFixedSys;
inline constexpr std::uint32_t kModalDialog =
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | kDsFixedSys;

inline constexpr char16_t kDialogFont[] = u"MS Shell Dlg";
inline constexpr int kDialogPointSize = 8;

}  // namespace res::styles
