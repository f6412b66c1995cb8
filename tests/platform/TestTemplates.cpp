#include "tests/platform/TestTemplates.h"

#include "res/WinDefs.h"

namespace platform_test {
namespace {

using namespace ui;
using enum res::ControlClass;

constexpr std::uint32_t kChild = WS_CHILD | WS_VISIBLE;

constexpr res::ControlTemplate kModalControls[] = {
    {IDOK, Button, {u"OK", u"확인"}, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, {10, 100, 40, 14}},
    {IDCANCEL, Button, {u"Cancel", u"취소"}, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0, {60, 100, 40, 14}},
    {10, Button, {u"Check", u"체크"}, kChild | WS_TABSTOP | BS_AUTOCHECKBOX, 0, {10, 10, 60, 10}},
    {11, Edit, {}, kChild | WS_TABSTOP | ES_AUTOHSCROLL, 0, {10, 24, 80, 12}},
    {20, Button, {u"Zero", u"영"}, kChild | WS_GROUP | WS_TABSTOP | BS_AUTORADIOBUTTON, 0, {100, 10, 50, 10}},
    {21,
     Button,
     {u"One", u"일"},
     kChild | BS_AUTORADIOBUTTON,
     0,
     {100, 22, 50, 10},
     res::Rect{100, 22, 70, 10}},
    {22, Button, {u"Two", u"이"}, kChild | BS_AUTORADIOBUTTON, 0, {100, 34, 50, 10}},
    {23, Button, {u"Other", u"다른"}, kChild | WS_GROUP | BS_AUTORADIOBUTTON, 0, {100, 46, 50, 10}},
    {30, ComboBox, {}, kChild | WS_TABSTOP | WS_GROUP | CBS_DROPDOWNLIST | CBS_SORT, 0, {10, 40, 60, 60}},
    {31, ComboBox, {}, kChild | WS_TABSTOP | CBS_DROPDOWN, 0, {10, 56, 60, 60}},
    {40, ListView, {}, kChild | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS, 0, {160, 10, 100, 60}},
    {50, Static, {u"Label", u"라벨"}, kChild | SS_LEFT, 0, {10, 72, 60, 8}},
    {60, RichEdit, {}, kChild | WS_TABSTOP | ES_MULTILINE | ES_AUTOHSCROLL, 0, {160, 72, 100, 40}},
    {70, Button, {u"Group", u"그룹"}, kChild | BS_GROUPBOX, 0, {150, 0, 120, 120}},
    {80, Button, {u"Push", u"누름"}, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0, {110, 100, 40, 14}},
};

constexpr res::ControlTemplate kPageControls[] = {
    {80, Button, {u"Push", u"누름"}, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0, {4, 4, 40, 14}},
    {11, Edit, {}, kChild | WS_TABSTOP | ES_AUTOHSCROLL, 0, {4, 24, 80, 12}},
    {60, RichEdit, {}, kChild | WS_TABSTOP | ES_MULTILINE | ES_AUTOHSCROLL, 0, {4, 40, 100, 40}},
};

}  // namespace

const res::DialogTemplate kModal{9001,
                                 {u"Test dialog", u"시험 대화상자"},
                                 u"MS Shell Dlg",
                                 8,
                                 280,
                                 130,
                                 WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                                 0,
                                 0,
                                 kModalControls};

const res::DialogTemplate kPage{9002, {},       u"MS Shell Dlg",     8, 120,
                                90,   WS_CHILD, WS_EX_CONTROLPARENT, 0, kPageControls};

}  // namespace platform_test
