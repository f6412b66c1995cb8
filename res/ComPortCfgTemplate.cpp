#include "res/ResourceTables.h"
#include "res/TemplateStyles.h"

namespace res {
namespace {

using namespace styles;
using enum ControlClass;

// The port field spans the dialog: port names here are device paths such as
// /dev/ttyUSB0 or a link in the virtual port directory, far longer than COMn.
constexpr ControlTemplate kControls[] = {
    {IDC_STATIC, Static, {u"COM port", u"통신 포트"}, kLabel, 0, {8, 12, 44, 8}},
    {1079, ComboBox, {}, kSortedDropList, 0, {54, 10, 198, 95}},
    {IDC_STATIC, Static, {u"Baudrate", u"통신 속도"}, kLabel, 0, {8, 29, 44, 8}},
    {1077, ComboBox, {}, kDropList, 0, {54, 27, 41, 63}},
    {IDC_STATIC, Static, {u"Parity", u"패리티 비트"}, kLabel, 0, {8, 46, 44, 8}},
    {1023, ComboBox, {}, kSortedDropList, 0, {54, 44, 41, 41}},
    {IDC_STATIC, Static, {u"Stopbits", u"스탑 비트"}, kLabel, 0, {8, 63, 44, 8}},
    {1024, ComboBox, {}, kSortedDropList, 0, {54, 61, 41, 34}},
    {IDC_STATIC, Static, {u"Flow ctrl.", u"흐름 제어 "}, WS_CHILD | SS_LEFT, 0, {6, 89, 8, 8}},
    {1087,
     ComboBox,
     {},
     WS_CHILD | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST | CBS_SORT,
     0,
     {16, 85, 16, 30}},
    {IDC_STATIC, Button, {u"Operation modes", u"동작 방식"}, kGroupBox | BS_CENTER, 0, {103, 27, 149, 61}},
    {1081, Button, {u"Configurator", u"모듈 설정"}, kFirstRadio, 0, {117, 46, 70, 10}},
    {1082, Button, {u"Serial terminal", u"시리얼 터미널"}, kRadio, 0, {117, 65, 70, 10}},
    {IDOK, Button, {u"OK", u"확인"}, kDefPushButton | WS_GROUP, 0, {77, 100, 38, 14}},
    {IDCANCEL, Button, {u"Cancel", u"취소"}, kPushButton, 0, {152, 100, 38, 14}},
};

}  // namespace

const DialogTemplate kComPortCfgTemplate{
    131,
    {u"COM port settings for communication", u"Tarnel 모듈과의 통신 설정"},
    kDialogFont,
    kDialogPointSize,
    260,
    121,
    kModalDialog,
    WS_EX_APPWINDOW,
    0,
    kControls};

}  // namespace res
