#include "tests/support/PersonInput.h"

#include <QString>
#include <QWidget>
#include <utility>

#include "platform/qt/QtText.h"
#include "platform/qt/WindowAccess.h"
#include "tests/support/UserInput.h"

namespace tarnel::test {
namespace {

constexpr std::pair<ui::UINT, Qt::Key> kKeys[] = {
    {ui::VK_BACK, Qt::Key_Backspace},
    {ui::VK_TAB, Qt::Key_Tab},
    {ui::VK_RETURN, Qt::Key_Return},
    {ui::VK_ESCAPE, Qt::Key_Escape},
    {' ', Qt::Key_Space},
    {ui::VK_PRIOR, Qt::Key_PageUp},
    {ui::VK_NEXT, Qt::Key_PageDown},
    {ui::VK_END, Qt::Key_End},
    {ui::VK_HOME, Qt::Key_Home},
    {ui::VK_LEFT, Qt::Key_Left},
    {ui::VK_UP, Qt::Key_Up},
    {ui::VK_RIGHT, Qt::Key_Right},
    {ui::VK_DOWN, Qt::Key_Down},
    {ui::VK_INSERT, Qt::Key_Insert},
    {ui::VK_DELETE, Qt::Key_Delete},
};

// Letters, digits and the function keys share their codes with Qt's keys.
Qt::Key QtKeyOf(ui::UINT vk) {
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) return Qt::Key(vk);
    if (vk >= 0x70 && vk <= 0x87) return Qt::Key(Qt::Key_F1 + (vk - 0x70));
    for (const auto& [code, key] : kKeys) {
        if (code == vk) return key;
    }
    return Qt::Key_unknown;
}

Qt::KeyboardModifiers QtModifiersOf(unsigned modifiers) {
    Qt::KeyboardModifiers qt = Qt::NoModifier;
    if (modifiers & kShift) qt |= Qt::ShiftModifier;
    if (modifiers & kControl) qt |= Qt::ControlModifier;
    if (modifiers & kAlt) qt |= Qt::AltModifier;
    return qt;
}

}  // namespace

// A point on the top-level window itself, outside its children, reaches it.
ui::Window* ClickOn(const ui::Window& control, Offset offset) {
    QWidget& widget = *ui::QWidgetOf(control);
    const QPoint aim(offset.x, offset.y);
    const QPoint local = aim == QPoint(-1, -1) ? widget.rect().center() : aim;
    QWidget* top = widget.window();
    const bool inside = top->rect().contains(widget.mapTo(top, local));
    const QWidget* hit = ClickOn(widget, aim);
    if (!inside) return nullptr;
    return ui::WindowAccess::FindWindowFor(hit != nullptr ? hit : top);
}

void PressKey(ui::UINT virtualKey, unsigned modifiers) {
    PressKey(QtKeyOf(virtualKey), QtModifiersOf(modifiers));
}

void TypeText(std::u16string_view text) {
    TypeText(ui::ToQString(text));
}

}  // namespace tarnel::test
