#pragma once

// Push buttons, check boxes, radio buttons and group boxes (class BUTTON).
// A click reaches the parent as WM_COMMAND (id, BN_CLICKED); an automatic
// check box toggles and an automatic radio button checks itself and unchecks
// the others of its group before that.

#include "platform/Window.h"

namespace ui {

class Button : public Window {
public:
    int GetCheck() const;  // BST_CHECKED or BST_UNCHECKED
    void SetCheck(int check);
    // As a click by the user: the same toggling and BN_CLICKED.
    void Click();

protected:
    bool CanAttachTo(const res::ControlTemplate& control) const override {
        return control.cls == res::ControlClass::Button;
    }
};

}  // namespace ui
