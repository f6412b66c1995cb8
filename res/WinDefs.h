#pragma once

// The Windows values that the program's windows, templates and messages use.
// They are kept with their Windows numbers so that every number of the design
// holds unchanged on this windowing layer.

#include <cstdint>

namespace ui {

using UINT = unsigned int;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using COLORREF = std::uint32_t;

// Messages.
inline constexpr UINT WM_CREATE = 0x0001;
inline constexpr UINT WM_DESTROY = 0x0002;
inline constexpr UINT WM_SETREDRAW = 0x000B;
inline constexpr UINT WM_PAINT = 0x000F;
inline constexpr UINT WM_ERASEBKGND = 0x0014;
inline constexpr UINT WM_SETCURSOR = 0x0020;
inline constexpr UINT WM_QUERYDRAGICON = 0x0037;
inline constexpr UINT WM_HELP = 0x0053;
inline constexpr UINT WM_KEYDOWN = 0x0100;
inline constexpr UINT WM_CHAR = 0x0102;
inline constexpr UINT WM_IME_CHAR = 0x0286;
inline constexpr UINT WM_COMMAND = 0x0111;
inline constexpr UINT WM_SYSCOMMAND = 0x0112;
inline constexpr UINT WM_TIMER = 0x0113;
inline constexpr UINT WM_VSCROLL = 0x0115;
inline constexpr UINT WM_PASTE = 0x0302;
inline constexpr UINT WM_APP = 0x8000;

// Notification codes carried in the high word of WM_COMMAND's wParam.
inline constexpr UINT BN_CLICKED = 0;
inline constexpr UINT CBN_SELCHANGE = 1;
inline constexpr UINT CBN_EDITCHANGE = 5;
inline constexpr UINT CBN_EDITUPDATE = 6;
inline constexpr UINT CBN_DROPDOWN = 7;
inline constexpr UINT EN_CHANGE = 0x0300;
inline constexpr UINT EN_ERRSPACE = 0x0500;
inline constexpr UINT EN_MAXTEXT = 0x0501;

// Window styles.
inline constexpr std::uint32_t WS_OVERLAPPED = 0x00000000;
inline constexpr std::uint32_t WS_POPUP = 0x80000000;
inline constexpr std::uint32_t WS_CHILD = 0x40000000;
inline constexpr std::uint32_t WS_MINIMIZE = 0x20000000;
inline constexpr std::uint32_t WS_VISIBLE = 0x10000000;
inline constexpr std::uint32_t WS_DISABLED = 0x08000000;
inline constexpr std::uint32_t WS_CAPTION = 0x00C00000;
inline constexpr std::uint32_t WS_BORDER = 0x00800000;
inline constexpr std::uint32_t WS_DLGFRAME = 0x00400000;
inline constexpr std::uint32_t WS_VSCROLL = 0x00200000;
inline constexpr std::uint32_t WS_HSCROLL = 0x00100000;
inline constexpr std::uint32_t WS_SYSMENU = 0x00080000;
inline constexpr std::uint32_t WS_GROUP = 0x00020000;
inline constexpr std::uint32_t WS_TABSTOP = 0x00010000;
inline constexpr std::uint32_t WS_MINIMIZEBOX = 0x00020000;
inline constexpr std::uint32_t DS_MODALFRAME = 0x00000080;
inline constexpr std::uint32_t DS_SETFONT = 0x00000040;
inline constexpr std::uint32_t DS_CONTROL = 0x00000400;

inline constexpr std::uint32_t WS_EX_TRANSPARENT = 0x00000020;
inline constexpr std::uint32_t WS_EX_APPWINDOW = 0x00040000;
inline constexpr std::uint32_t WS_EX_CONTROLPARENT = 0x00010000;
inline constexpr std::uint32_t WS_EX_STATICEDGE = 0x00020000;
inline constexpr std::uint32_t WS_EX_CLIENTEDGE = 0x00000200;

// Button styles (the low four bits are the button's kind).
inline constexpr std::uint32_t BS_PUSHBUTTON = 0x0;
inline constexpr std::uint32_t BS_DEFPUSHBUTTON = 0x1;
inline constexpr std::uint32_t BS_CHECKBOX = 0x2;
inline constexpr std::uint32_t BS_AUTOCHECKBOX = 0x3;
inline constexpr std::uint32_t BS_RADIOBUTTON = 0x4;
inline constexpr std::uint32_t BS_GROUPBOX = 0x7;
inline constexpr std::uint32_t BS_AUTORADIOBUTTON = 0x9;
inline constexpr std::uint32_t BS_TYPEMASK = 0xF;
inline constexpr std::uint32_t BS_CENTER = 0x300;

// Static styles.
inline constexpr std::uint32_t SS_LEFT = 0x0;
inline constexpr std::uint32_t SS_CENTER = 0x1;
inline constexpr std::uint32_t SS_RIGHT = 0x2;
inline constexpr std::uint32_t SS_BLACKRECT = 0x4;
inline constexpr std::uint32_t SS_BLACKFRAME = 0x7;
inline constexpr std::uint32_t SS_NOPREFIX = 0x80;
inline constexpr std::uint32_t SS_CENTERIMAGE = 0x200;
inline constexpr std::uint32_t SS_SUNKEN = 0x1000;

// Edit styles.
inline constexpr std::uint32_t ES_LEFT = 0x0;
inline constexpr std::uint32_t ES_MULTILINE = 0x4;
inline constexpr std::uint32_t ES_UPPERCASE = 0x8;
inline constexpr std::uint32_t ES_AUTOVSCROLL = 0x40;
inline constexpr std::uint32_t ES_AUTOHSCROLL = 0x80;
inline constexpr std::uint32_t ES_READONLY = 0x800;

// Combo box styles (the low two bits are the kind).
inline constexpr std::uint32_t CBS_SIMPLE = 0x1;
inline constexpr std::uint32_t CBS_DROPDOWN = 0x2;
inline constexpr std::uint32_t CBS_DROPDOWNLIST = 0x3;
inline constexpr std::uint32_t CBS_AUTOHSCROLL = 0x40;
inline constexpr std::uint32_t CBS_SORT = 0x100;

// List view styles.
inline constexpr std::uint32_t LVS_REPORT = 0x1;
inline constexpr std::uint32_t LVS_SINGLESEL = 0x4;
inline constexpr std::uint32_t LVS_SHOWSELALWAYS = 0x8;

// List view extended styles, column formats, item states and search flags.
inline constexpr std::uint32_t LVS_EX_GRIDLINES = 0x1;
inline constexpr std::uint32_t LVS_EX_FULLROWSELECT = 0x20;
inline constexpr int LVCFMT_LEFT = 0;
inline constexpr UINT LVIS_SELECTED = 0x2;
inline constexpr UINT LVNI_SELECTED = 0x2;

// Combo box and list errors.
inline constexpr int CB_ERR = -1;

// Scroll bars.
inline constexpr int SB_VERT = 1;
inline constexpr int SB_BOTTOM = 7;

// ShowWindow commands.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOW = 5;

// Button check states.
inline constexpr int BST_UNCHECKED = 0;
inline constexpr int BST_CHECKED = 1;

// Status bar pane styles and the status bar's control identifier.
inline constexpr UINT SBPS_NORMAL = 0x0;
inline constexpr UINT SBPS_STRETCH = 0x04000000;
inline constexpr int AFX_IDW_STATUS_BAR = 0xE801;

// Menu item flags.
inline constexpr UINT MF_STRING = 0x0;
inline constexpr UINT MF_SEPARATOR = 0x800;

// Message box styles and answers.
inline constexpr UINT MB_OK = 0x0;
inline constexpr UINT MB_OKCANCEL = 0x1;
inline constexpr UINT MB_ICONERROR = 0x10;
inline constexpr UINT MB_ICONQUESTION = 0x20;
inline constexpr UINT MB_ICONINFORMATION = 0x40;
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDC_STATIC = -1;

// Virtual keys.
inline constexpr UINT VK_BACK = 0x08;
inline constexpr UINT VK_TAB = 0x09;
inline constexpr UINT VK_RETURN = 0x0D;
inline constexpr UINT VK_ESCAPE = 0x1B;
inline constexpr UINT VK_PRIOR = 0x21;
inline constexpr UINT VK_NEXT = 0x22;
inline constexpr UINT VK_END = 0x23;
inline constexpr UINT VK_HOME = 0x24;
inline constexpr UINT VK_LEFT = 0x25;
inline constexpr UINT VK_UP = 0x26;
inline constexpr UINT VK_RIGHT = 0x27;
inline constexpr UINT VK_DOWN = 0x28;
inline constexpr UINT VK_INSERT = 0x2D;
inline constexpr UINT VK_DELETE = 0x2E;

// Language identifiers.
inline constexpr std::uint16_t LANG_NEUTRAL_ID = 0x0000;
inline constexpr std::uint16_t LANG_KOREAN_ID = 0x0412;
inline constexpr std::uint16_t LANG_ENGLISH_US_ID = 0x0409;

}  // namespace ui
