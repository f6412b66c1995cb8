#include "res/ResourceTables.h"
#include "res/TemplateStyles.h"

namespace res {
namespace {

using namespace styles;
using enum ControlClass;

// As wide as the configurator page and a little wider than the main window's
// page area, which it keeps: the status bar below needs the room for a port
// path.
constexpr ControlTemplate kControls[] = {
    {1075, RichEdit, {}, kEdit | ES_MULTILINE, 0, {2, 6, 338, 179}},
    {1076, Button, {u"Send", u"보내기"}, kPushButton, 0, {296, 190, 44, 16}},
    {1086, ComboBox, {}, kChild | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWN, 0, {3, 191, 287, 84}},
    {1083, Button, {u"CR", u"CR"}, kCheckBox | WS_GROUP, 0, {25, 218, 24, 10}},
    {1084, Button, {u"LF", u"LF"}, kCheckBox, 0, {66, 218, 23, 10}},
    {IDC_STATIC, Button, {u"Line end character", u"전송 끝 문자"}, kGroupBox, 0, {5, 207, 98, 27}},
    // Wide enough for the English text in a Korean font as well.
    {1085,
     Button,
     {u"Treat as hexadecimal string", u"16진수 문자열로 취급"},
     kCheckBox,
     0,
     {125, 218, 112, 10}},
    {IDC_STATIC, Button, {u"Convert strings", u"전송 문자열 변환"}, kGroupBox, 0, {117, 207, 139, 27}},
};

}  // namespace

const DialogTemplate kTermPageTemplate{
    108, {}, kDialogFont, kDialogPointSize, 346, 241, kChildDialog, WS_EX_CONTROLPARENT, 0, kControls};

}  // namespace res
