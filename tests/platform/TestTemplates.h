#pragma once

// Dialog templates of the tests' own, independent of the program's.

#include "res/ResourceTypes.h"

namespace platform_test {

// A modal dialog: OK (1, default), Cancel (2), a check box 10, an edit 11,
// radio buttons 20..22 (a group), then radio 23 starting a second group,
// a drop-down list 30 (sorted), a drop-down with edit 31, a list view 40,
// a static 50, a rich edit 60, a group box 70, a push button 80.
extern const res::DialogTemplate kModal;
// A child page with a push button 80, an edit 11 and a rich edit 60.
extern const res::DialogTemplate kPage;

}  // namespace platform_test
