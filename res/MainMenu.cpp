#include "res/ResourceTables.h"

namespace res {
namespace {

constexpr MenuItem kPopupItems[] = {
    {32772, {u"Setup COM port", u"COM 포트 설정"}, {}},
    {57664, {u"Tarnel Manager Info.", u"프로그램 정보"}, {}},
};

constexpr MenuItem kBar[] = {
    {0, {u"Menu", u"메뉴"}, kPopupItems},
};

}  // namespace

const MenuTemplate kMainMenu{131, kBar};

}  // namespace res
