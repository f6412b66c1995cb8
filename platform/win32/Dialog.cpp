#include "platform/win32/Win32.h"
// After the Windows headers: see Win32.h.
#include "platform/Dialog.h"

#include <algorithm>

#include "platform/Button.h"
#include "platform/ComboBox.h"
#include "platform/DataExchange.h"
#include "platform/Edit.h"
#include "platform/HookState.h"
#include "platform/Language.h"
#include "platform/ListCtrl.h"
#include "platform/RichEditCtrl.h"
#include "platform/Static.h"
#include "platform/win32/ModalLoop.h"
#include "platform/win32/TemplateDialog.h"
#include "platform/win32/Win32Menu.h"
#include "platform/win32/WindowAccess.h"

namespace ui {
namespace {

std::unique_ptr<Window> MakeWrapper(res::ControlClass cls) {
    switch (cls) {
        case res::ControlClass::Button:
            return std::make_unique<Button>();
        case res::ControlClass::Static:
            return std::make_unique<Static>();
        case res::ControlClass::Edit:
            return std::make_unique<Edit>();
        case res::ControlClass::ComboBox:
            return std::make_unique<ComboBox>();
        case res::ControlClass::ListView:
            return std::make_unique<ListCtrl>();
        case res::ControlClass::RichEdit:
            return std::make_unique<RichEditCtrl>();
    }
    return std::make_unique<Window>();
}

bool IsRadio(const res::ControlTemplate& control) {
    const std::uint32_t kind = control.style & BS_TYPEMASK;
    return control.cls == res::ControlClass::Button && (kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON);
}

}  // namespace

struct Dialog::ModalRun {
    int result = -1;
    bool ended = false;
    win32::ModalLoop loop;
};

struct Dialog::Built {
    struct Entry {
        const res::ControlTemplate* control;
        HWND hwnd;
    };

    explicit Built(Dialog& owner) : dialog(owner) {}
    void AddControls(const res::DialogTemplate& dialogTemplate, HWND hwnd);
    // The template's radio buttons from `firstId` to the end of its group.
    std::vector<HWND> RadioGroup(int firstId) const;

    Dialog& dialog;
    std::vector<Entry> entries;
    std::unique_ptr<Menu> menu;
    std::unique_ptr<Menu> systemMenu;
};

// The dialog manager makes the controls in the template's order.
void Dialog::Built::AddControls(const res::DialogTemplate& dialogTemplate, HWND hwnd) {
    auto& state = WindowAccess::StateOf(dialog);
    HWND child = GetWindow(hwnd, GW_CHILD);
    for (const res::ControlTemplate& control : dialogTemplate.controls) {
        if (child == nullptr) break;
        entries.push_back({&control, child});
        auto wrapper = MakeWrapper(control.cls);
        WindowAccess::AttachRouted(*wrapper, child, control.id, &dialog, false);
        if (control.id != IDC_STATIC) state.controls.emplace(control.id, wrapper.get());
        state.ownControls.push_back(std::move(wrapper));
        child = GetWindow(child, GW_HWNDNEXT);
    }
}

std::vector<HWND> Dialog::Built::RadioGroup(int firstId) const {
    std::vector<HWND> group;
    auto it = std::find_if(entries.begin(), entries.end(),
                           [firstId](const auto& e) { return e.control->id == firstId; });
    for (auto e = it; e != entries.end() && IsRadio(*e->control); ++e) {
        if (e != it && (e->control->style & WS_GROUP)) break;
        group.push_back(e->hwnd);
    }
    return group;
}

Dialog::Dialog(int templateId, Window* parent) : m_templateId(templateId), m_owner(parent) {}

Dialog::Dialog(const res::DialogTemplate& dialogTemplate, Window* parent)
    : m_templateId(dialogTemplate.id), m_template(&dialogTemplate), m_owner(parent) {}

Dialog::~Dialog() = default;

const res::DialogTemplate* Dialog::Template() const {
    return m_template != nullptr ? m_template : res::FindDialog(m_templateId);
}

bool Dialog::Build(Window* parent, bool child) {
    const res::DialogTemplate* dialog = Template();
    if (dialog == nullptr || IsWindow()) return false;
    HWND parentHwnd = nullptr;
    if (child) {
        if (parent == nullptr || !parent->IsWindow()) return false;
        parentHwnd = HwndOf(*parent);
    } else if (Window* owner = parent != nullptr ? parent : AfxGetMainWnd();
               owner != nullptr && owner != this && owner->IsWindow()) {
        parentHwnd = GetAncestor(HwndOf(*owner), GA_ROOT);
    }
    m_built = std::make_unique<Built>(*this);
    Window* logicalParent = child ? parent : nullptr;
    win32::MessageTarget& target = WindowAccess::MakeTarget(*this, [this, logicalParent, dialog](HWND hwnd) {
        WindowAccess::Attach(*this, hwnd, 0, logicalParent, true);
        m_built->AddControls(*dialog, hwnd);
    });
    HWND hwnd = win32::CreateTemplateDialog(*dialog, GetUiLanguage(), parentHwnd, target);
    if (hwnd == nullptr) return false;
    if (HMENU menu = ::GetMenu(hwnd)) m_built->menu = MakeMenu(menu);
    return true;
}

int Dialog::DoModal() {
    if (!Build(m_owner, false)) return -1;
    ModalRun run;
    ModalRun* outer = m_run;
    m_run = &run;
    OnInitDialog();
    if (!run.ended && IsWindow()) {
        ::ShowWindow(HwndOf(*this), SW_SHOW);
        if (auto hook = detail::ModalHook()) hook(*this);
    }
    if (!run.ended && IsWindow()) {
        HWND hwnd = HwndOf(*this);
        run.loop.Run(hwnd, GetWindow(hwnd, GW_OWNER));
    }
    m_run = outer;
    DestroyWindow();
    return run.result;
}

void Dialog::EndDialog(int result) {
    if (m_run == nullptr) return;
    m_run->result = result;
    m_run->ended = true;
    m_run->loop.End(result);
}

bool Dialog::UpdateData(bool saveAndValidate) {
    DataExchange dx(*this, saveAndValidate);
    DoDataExchange(dx);
    return true;
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

void Dialog::DoDataExchange(DataExchange&) {}

bool Dialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void Dialog::OnOK() {
    UpdateData(true);
    EndDialog(IDOK);
}

void Dialog::OnCancel() {
    EndDialog(IDCANCEL);
}

bool Dialog::CreateChild(Window* parent) {
    if (!Build(parent, true)) return false;
    OnInitDialog();
    if (IsWindow()) ShowWindow((Template()->style & WS_VISIBLE) ? SW_SHOW : SW_HIDE);
    return true;
}

LRESULT Dialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (WindowAccess::StateOf(*this).map.Dispatch(message, wParam, lParam, result)) return result;
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        if (LOWORD(wParam) == IDOK)
            OnOK();
        else if (LOWORD(wParam) == IDCANCEL)
            OnCancel();
    }
    return 0;
}

// Beside the dialog: it reads the controls the dialog built.
void DDX_Radio(DataExchange& dx, int firstId, int& value) {
    const Dialog& dialog = dx.GetDialog();
    const std::vector<HWND> group =
        dialog.m_built && dialog.IsWindow() ? dialog.m_built->RadioGroup(firstId) : std::vector<HWND>();
    if (dx.IsSaving()) {
        const auto checked = std::find_if(group.begin(), group.end(), [](HWND button) {
            return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
        });
        value = checked == group.end() ? -1 : static_cast<int>(checked - group.begin());
        return;
    }
    for (size_t i = 0; i < group.size(); ++i)
        SendMessageW(group[i], BM_SETCHECK, static_cast<int>(i) == value ? BST_CHECKED : BST_UNCHECKED, 0);
}

}  // namespace ui
