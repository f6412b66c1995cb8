#include "res/ResourceTables.h"
#include "res/TemplateStyles.h"

namespace res {
namespace {

using namespace styles;
using enum ControlClass;

// The placeholder is never shown: it only marks where the pages go.
constexpr ControlTemplate kControls[] = {
    {1004, Static, {}, WS_CHILD | SS_BLACKFRAME, WS_EX_TRANSPARENT, {2, 0, 343, 288}},
};

}  // namespace

const DialogTemplate kMainDialogTemplate{102,
                                         {u"Tarnel Manager", u"Tarnel Manager"},
                                         kDialogFont,
                                         kDialogPointSize,
                                         351,
                                         293,
                                         kModalDialog | WS_VISIBLE | WS_MINIMIZEBOX,
                                         WS_EX_APPWINDOW | WS_EX_CONTROLPARENT,
                                         131,
                                         kControls};

}  // namespace res
