#include "tests/support/ModalRecorder.h"

#include <utility>

#include "platform/Dialog.h"

namespace ui::test {

ModalRecorder::ModalRecorder(std::function<void(Dialog&)> action) : m_action(std::move(action)) {
    SetModalHook([this](Dialog& dialog) {
        m_ids.push_back(dialog.GetTemplateId());
        if (m_action)
            m_action(dialog);
        else
            dialog.EndDialog(IDCANCEL);
    });
}

ModalRecorder::~ModalRecorder() {
    SetModalHook({});
}

}  // namespace ui::test
