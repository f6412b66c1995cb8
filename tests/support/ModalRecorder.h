#pragma once

#include <functional>
#include <vector>

#include "platform/TestHooks.h"

namespace ui::test {

// Installs a modal hook for its lifetime that records each dialog's
// template id and then calls `action` with it (empty: the dialog is ended
// with IDCANCEL).
class ModalRecorder {
public:
    explicit ModalRecorder(std::function<void(Dialog&)> action = {});
    ~ModalRecorder();
    ModalRecorder(const ModalRecorder&) = delete;
    ModalRecorder& operator=(const ModalRecorder&) = delete;

    std::vector<int> TemplateIds() const { return m_ids; }

private:
    std::function<void(Dialog&)> m_action;
    std::vector<int> m_ids;
};

}  // namespace ui::test
