#include "res/ResourceTables.h"
#include "res/TemplateStyles.h"

namespace res {
namespace {

using namespace styles;
using enum ControlClass;

constexpr ControlTemplate kControls[] = {
    {1090, Static, {}, kChild | SS_BLACKRECT, 0, {11, 16, 95, 14}},
    {1088, Static, {u"Tarnel Manager", u"Tarnel Manager"}, kLabel | SS_NOPREFIX, 0, {119, 8, 114, 8}},
    {IDC_STATIC,
     Static,
     {u"This program is a PC program for configuring Tarnel.",
      u"본 프로그램은 Tarnel 설정 및 테스트 용 PC 프로그램입니다"},
     kLabel,
     0,
     {119, 20, 140, 17}},
    {1089,
     Static,
     {u"Copyright (C) 2026 Quillmore. All rights reserved.",
      u"Copyright (C) 2026 Quillmore. 모든 권리 보유."},
     kChild | SS_CENTER,
     0,
     {11, 45, 254, 8}},
    {IDOK, Button, {u"OK", u"확인"}, kDefPushButton, 0, {113, 60, 50, 14}},
};

}  // namespace

const DialogTemplate kAboutBoxTemplate{100,
                                       {u"Tarnel Manager Information", u"Tarnel Manager 정보"},
                                       kDialogFont,
                                       kDialogPointSize,
                                       276,
                                       81,
                                       kModalDialog,
                                       0,
                                       0,
                                       kControls};

}  // namespace res
