#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/ComboBox.h"
#include "platform/DataExchange.h"
#include "platform/Dialog.h"
#include "tests/platform/TestTemplates.h"
#include "tests/support/ModalRecorder.h"

namespace platform_test {

// A combo class of the test's own that reflects its edit updates.
class NotifyingCombo : public ui::ComboBox {
public:
    NotifyingCombo() { MapReflect(ui::CBN_EDITUPDATE, &NotifyingCombo::OnEditUpdate); }
    std::vector<std::u16string> updates;

private:
    void OnEditUpdate() { updates.push_back(GetWindowText()); }
};

// The test template's two combo boxes, with the notifications their parent
// gets counted.
class ComboDialog : public ui::Dialog {
public:
    ComboDialog() : ui::Dialog(kModal) {
        MapCommand(30, &ComboDialog::OnDropDown, ui::CBN_DROPDOWN);
        for (int id : {30, 31}) {
            MapCommandRange(id, id, &ComboDialog::OnSelChange, ui::CBN_SELCHANGE);
            MapCommandRange(id, id, &ComboDialog::OnParentEditUpdate, ui::CBN_EDITUPDATE);
            MapCommandRange(id, id, &ComboDialog::OnEditChange, ui::CBN_EDITCHANGE);
        }
    }
    ui::ComboBox list;    // sorted drop-down list
    NotifyingCombo edit;  // drop-down with an edit field
    int dropDowns = 0;
    int selChanges = 0;
    int parentEditUpdates = 0;
    int editChanges = 0;
    std::function<void()> onDropDown;

    // Selection changes, edit updates and edit changes.
    int Notifications() const { return selChanges + parentEditUpdates + editChanges; }

protected:
    void DoDataExchange(ui::DataExchange& dx) override {
        ui::DDX_Control(dx, 30, list);
        ui::DDX_Control(dx, 31, edit);
    }

private:
    void OnDropDown() {
        ++dropDowns;
        if (onDropDown) onDropDown();
    }
    void OnSelChange(ui::UINT) { ++selChanges; }
    void OnParentEditUpdate(ui::UINT) { ++parentEditUpdates; }
    void OnEditChange(ui::UINT) { ++editChanges; }
};

// Runs `body` while the dialog is up; it ran when DoModal gave 0.
inline int RunWith(ComboDialog& dialog, const std::function<void()>& body) {
    ui::test::ModalRecorder modal([&](ui::Dialog& d) {
        body();
        d.EndDialog(0);
    });
    return dialog.DoModal();
}

}  // namespace platform_test
