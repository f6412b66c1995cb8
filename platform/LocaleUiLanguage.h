#pragma once

// What the backend offers the layer's shared part: the first UI language of
// the user's locale, Korean or else English.

#include "platform/Language.h"

namespace ui {

Language LocaleUiLanguage();

}  // namespace ui
