#include "platform/win32/Win32.h"
// After the Windows headers: see Win32.h.
#include "platform/Dialog.h"

#include <vector>

#include "platform/AddControlWrapper.h"
#include "platform/BuiltControl.h"
#include "platform/DataExchange.h"
#include "platform/Language.h"
#include "platform/win32/ModalLoop.h"
#include "platform/win32/TemplateDialog.h"
#include "platform/win32/Win32Menu.h"
#include "platform/win32/WindowAccess.h"

namespace ui {

struct Dialog::ModalRun::Loop {
    win32::ModalLoop modal;
};

struct Dialog::Built {
    explicit Built(Dialog& owner) : dialog(owner) {}
    void AddControls(const res::DialogTemplate& dialogTemplate, HWND hwnd);

    Dialog& dialog;
    std::vector<BuiltControl<HWND>> entries;
    std::unique_ptr<Menu> menu;
    std::unique_ptr<Menu> systemMenu;
};

// The dialog manager makes the controls in the template's order.
void Dialog::Built::AddControls(const res::DialogTemplate& dialogTemplate, HWND hwnd) {
    HWND child = GetWindow(hwnd, GW_CHILD);
    for (const res::ControlTemplate& control : dialogTemplate.controls) {
        if (child == nullptr) break;
        entries.push_back({&control, child});
        WindowAccess::AttachRouted(AddControlWrapper(dialog, control), child, control.id, &dialog, false);
        child = GetWindow(child, GW_HWNDNEXT);
    }
}

Dialog::Dialog(int templateId, Window* parent) : m_templateId(templateId), m_owner(parent) {}

Dialog::Dialog(const res::DialogTemplate& dialogTemplate, Window* parent)
    : m_templateId(dialogTemplate.id), m_template(&dialogTemplate), m_owner(parent) {}

Dialog::~Dialog() = default;

bool Dialog::BuildWindow(const res::DialogTemplate& dialog, Window* parent, bool child) {
    HWND parentHwnd = nullptr;
    if (parent != nullptr) parentHwnd = child ? HwndOf(*parent) : GetAncestor(HwndOf(*parent), GA_ROOT);
    m_built = std::make_unique<Built>(*this);
    Window* logicalParent = child ? parent : nullptr;
    win32::MessageTarget& target = WindowAccess::MakeTarget(*this, [this, logicalParent, &dialog](HWND hwnd) {
        WindowAccess::Attach(*this, hwnd, 0, logicalParent, true);
        m_built->AddControls(dialog, hwnd);
    });
    HWND hwnd = win32::CreateTemplateDialog(dialog, GetUiLanguage(), parentHwnd, target);
    if (hwnd == nullptr) return false;
    if (HMENU menu = ::GetMenu(hwnd)) m_built->menu = MakeMenu(menu);
    return true;
}

void Dialog::ShowModal() {
    ::ShowWindow(HwndOf(*this), SW_SHOW);
}

void Dialog::RunModalLoop(ModalRun& run) {
    ModalRun::Loop loop;
    run.loop = &loop;
    HWND hwnd = HwndOf(*this);
    loop.modal.Run(hwnd, GetWindow(hwnd, GW_OWNER));
    run.loop = nullptr;
}

void Dialog::EndModalLoop(ModalRun& run) {
    if (run.loop != nullptr) run.loop->modal.End(run.result);
}

Menu* Dialog::GetMenu() const {
    return IsWindow() && m_built ? m_built->menu.get() : nullptr;
}

// The system's own menu: Windows adds the program's items below its items.
Menu* Dialog::GetSystemMenu() {
    if (!IsWindow() || GetParent() != nullptr) return nullptr;
    if (!m_built->systemMenu) m_built->systemMenu = MakeMenu(::GetSystemMenu(HwndOf(*this), FALSE));
    return m_built->systemMenu.get();
}

}  // namespace ui
