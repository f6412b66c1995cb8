#pragma once

// Message boxes with the caption "Tarnel Manager", the icon and buttons of
// the style bits (MB_OK or MB_OKCANCEL, with MB_ICONERROR, MB_ICONQUESTION or
// MB_ICONINFORMATION) and button texts in the UI language.
//
// From the window thread the box is modal. From any other thread the request
// goes to the window thread and the caller blocks until it is answered; the
// window thread answers it in its event loop or while it waits in
// LockServing/WaitServing (platform/ServingWait.h). A test hook
// (platform/TestHooks.h) answers boxes without showing them.

#include <string_view>

#include "res/WinDefs.h"

namespace ui {

// The string `stringId` of the string table in the UI language. Returns the
// button pressed: IDOK or IDCANCEL (IDOK for an MB_OK box however it closed,
// IDCANCEL for an MB_OKCANCEL box closed without a choice).
int AfxMessageBox(UINT stringId, UINT style = MB_OK);
int AfxMessageBox(std::u16string_view text, UINT style = MB_OK);

// Window thread: closes every box that is up or waits to be shown, as if it
// had been dismissed (IDCANCEL for MB_OKCANCEL, IDOK otherwise). A box asked
// for by another thread returns at once; a box of the window thread returns
// once the handler running now has returned, since its loop lies below.
void CloseMessageBoxes();

}  // namespace ui
