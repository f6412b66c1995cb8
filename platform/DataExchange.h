#pragma once

// The data exchange of Dialog::UpdateData: binding control members by id and
// radio groups to an int.

#include "platform/Window.h"

namespace ui {

class Dialog;

class DataExchange {
public:
    DataExchange(Dialog& dialog, bool saveAndValidate) : m_dialog(dialog), m_save(saveAndValidate) {}
    Dialog& GetDialog() const { return m_dialog; }
    // true: controls to members; false: members to controls.
    bool IsSaving() const { return m_save; }

private:
    Dialog& m_dialog;
    bool m_save;
};

// Binds `control` to the template control `id` on the first exchange (later
// exchanges do nothing): from then on GetDlgItem(id) is `control`, its
// message map and reflected notifications apply, and PreSubclassWindow runs.
// Throws std::logic_error when there is no such control or its kind does
// not suit the member's class (a ui::ComboBox on an edit, for example).
void DDX_Control(DataExchange& dx, int id, Window& control);

// The radio group that starts with the radio button `firstId` and runs
// through the following radio buttons of the template up to the next control
// with WS_GROUP: `value` is the index of the checked one, -1 for none.
// Putting -1 unchecks them all.
void DDX_Radio(DataExchange& dx, int firstId, int& value);

}  // namespace ui
