#include "platform/OpenBox.h"

#include <algorithm>
#include <vector>

namespace ui {
namespace {

std::vector<OpenBox*>& Boxes() {
    static std::vector<OpenBox*> boxes;
    return boxes;
}

}  // namespace

OpenBox::OpenBox() {
    Boxes().push_back(this);
}

OpenBox::~OpenBox() {
    std::erase(Boxes(), this);
}

void OpenBox::CloseAll() {
    // Closers only ask their box to end; none runs events, so the list holds.
    for (OpenBox* box : Boxes()) {
        if (box->m_closed) continue;
        box->m_closed = true;
        if (box->m_close) box->m_close();
    }
}

int OpenBox::Count() {
    return static_cast<int>(
        std::ranges::count_if(Boxes(), [](const OpenBox* box) { return !box->m_closed; }));
}

}  // namespace ui
