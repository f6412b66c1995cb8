#pragma once

// A single-line edit control (class EDIT).

#include "platform/Window.h"

namespace ui {

class Edit : public Window {
public:
    void SetReadOnly(bool readOnly = true);
    bool IsReadOnly() const;
    // Selection as character positions; end -1 means the end of the text.
    void SetSel(int start, int end);
    void GetSel(int& start, int& end) const;
    void ReplaceSel(std::u16string_view text);

protected:
    bool CanAttachTo(const res::ControlTemplate& control) const override {
        return control.cls == res::ControlClass::Edit;
    }
};

}  // namespace ui
