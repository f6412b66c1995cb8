#pragma once

// A child dialog from a template that a parent creates once and then shows,
// hides and moves (the pages of the main dialog). Enter and Escape inside it
// arrive as commands IDOK and IDCANCEL, which the base ignores.

#include "platform/Dialog.h"

namespace ui {

class PropertyPage : public Dialog {
public:
    explicit PropertyPage(int templateId) : Dialog(templateId) {}
    explicit PropertyPage(const res::DialogTemplate& dialogTemplate) : Dialog(dialogTemplate) {}

    // Creates the page's window as a child of `parent` (see Dialog::CreateChild).
    bool Create(Window* parent) { return CreateChild(parent); }

protected:
    void OnOK() override {}
    void OnCancel() override {}
};

}  // namespace ui
