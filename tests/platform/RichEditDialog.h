#pragma once

#include <functional>

#include "platform/DataExchange.h"
#include "platform/Dialog.h"
#include "tests/platform/CountingEdit.h"
#include "tests/platform/TestTemplates.h"
#include "tests/support/ModalRecorder.h"

namespace platform_test {

// The test template's rich edit, with the EN_MAXTEXT its parent gets counted.
class RichEditDialog : public ui::Dialog {
public:
    RichEditDialog() : ui::Dialog(kModal) {
        MapCommand(60, &RichEditDialog::OnParentMaxText, ui::EN_MAXTEXT);
    }
    CountingEdit view;
    int parentMaxText = 0;

protected:
    void DoDataExchange(ui::DataExchange& dx) override { ui::DDX_Control(dx, 60, view); }

private:
    void OnParentMaxText() { ++parentMaxText; }
};

// Runs `body` on the control while the dialog runs modally.
inline void RunWith(RichEditDialog& dialog, const std::function<void(CountingEdit&)>& body) {
    ui::test::ModalRecorder modal([&](ui::Dialog& d) {
        body(dialog.view);
        d.EndDialog(0);
    });
    dialog.DoModal();
}

}  // namespace platform_test
