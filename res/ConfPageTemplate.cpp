#include "res/ResourceTables.h"
#include "res/TemplateStyles.h"

namespace res {
namespace {

using namespace styles;
using enum ControlClass;

// The four titled boxes come first so that the controls inside them lie above
// them, from the bottom one up so that each box lies above the one below it.
// Each box reaches 1 unit into the next: the sides of a box that is open at
// the bottom come as close to the top line of the box below as they can
// without covering that box's title, which is painted opaquely.
// The page is wide enough for the device list's four columns beside its
// scroll bar and for the status bar's port path below it, also in a Korean
// font, whose narrower Latin letters make dialog units smaller.
constexpr ControlTemplate kControls[] = {
    {1022, Button, {u"[ Operation mode ]", u"[ 동작 모드 ]"}, kGroupBox, 0, {3, 218, 334, 44}},
    {1037,
     Button,
     {u"[ Device search/registration ]", u"[ 장치 검색/등록 ]"},
     kGroupBox,
     0,
     {3, 118, 334, 101}},
    {1007, Button, {u"[ UART options ]", u"[ 통신 설정 ]"}, kGroupBox, 0, {3, 60, 334, 59}},
    {1006, Button, {u"[ Device information ]", u"[ 장치 정보 ]"}, kGroupBox, 0, {3, 2, 334, 59}},

    {IDC_STATIC, Static, {u"Bluetooth address", u"블루투스 주소"}, kLabel, 0, {10, 16, 66, 8}},
    {1036, Edit, {}, kEdit | ES_READONLY, 0, {80, 14, 90, 12}},
    {IDC_STATIC, Static, {u"Firmware version", u"펌웨어 버전"}, kLabel, 0, {10, 32, 66, 8}},
    {1001, Static, {}, kLabel, 0, {80, 32, 130, 8}},
    {IDC_STATIC, Static, {u"Device name", u"장치 이름"}, kLabel, 0, {10, 47, 66, 8}},
    {1002, Edit, {}, kEdit, 0, {80, 45, 130, 12}},
    {1008, Button, {u"Refresh", u"정보 갱신"}, kPushButton, 0, {256, 13, 72, 14}},
    {1009, Button, {u"Factory reset", u"공장 초기화"}, kPushButton, 0, {256, 30, 72, 14}},

    {IDC_STATIC, Static, {u"Baudrate", u"통신 속도"}, kLabel, 0, {10, 76, 40, 8}},
    {1010, ComboBox, {}, kDropList, 0, {52, 74, 60, 100}},
    {IDC_STATIC, Static, {u"Parity", u"패리티"}, kLabel, 0, {124, 76, 36, 8}},
    {1011, ComboBox, {}, kDropList, 0, {162, 74, 50, 60}},
    {IDC_STATIC, Static, {u"Stopbits", u"스탑 비트"}, kLabel, 0, {10, 92, 40, 8}},
    {1012, ComboBox, {}, kDropList, 0, {52, 90, 60, 50}},
    {IDC_STATIC, Static, {u"Flow ctrl.", u"흐름제어"}, kLabel, 0, {124, 92, 36, 8}},
    {1013, ComboBox, {}, kDropList, 0, {162, 90, 50, 50}},
    {IDC_STATIC,
     Static,
     {u"AT Command Response (OK, ERROR, CONNECT, DISCONNECT, etc)",
      u"명령 응답 (OK, ERROR, CONNECT, DISCONNECT 응답)"},
     kLabel,
     0,
     {10, 108, 260, 8}},
    {1035, ComboBox, {}, kDropList, 0, {274, 106, 54, 50}},

    {1015,
     ListView,
     {},
     kChild | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS,
     0,
     {10, 132, 244, 84}},
    {1038, Button, {u"Search", u"장치 검색"}, kPushButton, 0, {260, 132, 74, 14}},
    {IDC_STATIC, Button, {u"Connection target", u"연결할 장치 설정"}, kGroupBox, 0, {260, 152, 74, 64}},
    {1016, Button, {u"=>", u"=>"}, kPushButton, 0, {268, 168, 24, 14}},
    {1017, Edit, {}, kEdit, 0, {268, 188, 58, 12}},
    {1020, Button, {u"X", u"X"}, kPushButton, 0, {302, 168, 24, 14}},

    {1029,
     Button,
     {u"Op. mode 0 (AT Command mode)", u"동작 모드 0 (AT명령어 모드)"},
     kFirstRadio,
     0,
     {10, 230, 168, 10}},
    {1030,
     Button,
     {u"Op. mode 1 (Connectable)", u"동작 모드 1 (연결대기 O/ 검색대기 X)"},
     kRadio,
     0,
     {182, 230, 150, 10}},
    {1031,
     Button,
     {u"Op. mode 2 (Discoverable, Connectable)", u"동작 모드 2 (연결대기 O/검색대기 O)"},
     kRadio,
     0,
     {10, 246, 168, 10}},
    {1032,
     Button,
     {u"Op. mode 3 (Connect to target)", u"동작 모드 3 (지정된 장치로 연결 시도)"},
     kRadio,
     0,
     {182, 246, 150, 10}},

    {1003, Button, {u"Apply", u"적용"}, kPushButton | WS_GROUP, 0, {140, 266, 60, 14}},
};

}  // namespace

const DialogTemplate kConfPageTemplate{
    107, {}, kDialogFont, kDialogPointSize, 340, 284, kChildDialog, WS_EX_CONTROLPARENT, 0, kControls};

}  // namespace res
