#pragma once

// Test helper: runs a dialog modally on the offscreen platform and calls a
// body while it is shown, then ends it.

#include <functional>

#include "platform/Dialog.h"
#include "platform/PropertyPage.h"

namespace tarnel::test {

// Runs `dialog` modally; `body` runs once its window is built and shown.
void WhileShown(ui::Dialog& dialog, const std::function<void()>& body);

// Runs the main dialog (template 102) with `page` created and shown inside it.
void WhileShownInMainDialog(ui::PropertyPage& page, const std::function<void()>& body);

}  // namespace tarnel::test
