#include "tests/controls/ShownDialog.h"

#include "platform/TestHooks.h"
#include "tests/support/ModalRecorder.h"

namespace tarnel::test {

void WhileShown(ui::Dialog& dialog, const std::function<void()>& body) {
    ui::test::ModalRecorder modal([&](ui::Dialog& shown) {
        body();
        shown.EndDialog(ui::IDCANCEL);
    });
    dialog.DoModal();
}

void WhileShownInMainDialog(ui::PropertyPage& page, const std::function<void()>& body) {
    ui::Dialog host(102);
    WhileShown(host, [&] {
        page.Create(&host);
        page.ShowWindow(ui::SW_SHOW);
        body();
    });
}

}  // namespace tarnel::test
