#include "platform/Dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

#include "platform/Button.h"
#include "platform/ComboBox.h"
#include "platform/DataExchange.h"
#include "platform/Edit.h"
#include "platform/HookState.h"
#include "platform/ListCtrl.h"
#include "platform/Localized.h"
#include "platform/Menu.h"
#include "platform/RichEditCtrl.h"
#include "platform/Static.h"
#include "platform/qt/ComboWidget.h"
#include "platform/qt/DialogWidget.h"
#include "platform/qt/QtMenu.h"
#include "platform/qt/QtText.h"
#include "platform/qt/TemplateBuilder.h"
#include "platform/qt/WindowAccess.h"

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

void NotifyWidget(QWidget* widget, UINT code) {
    if (Window* window = WindowAccess::FromWidget(widget)) WindowAccess::Notify(*window, code);
}

}  // namespace

struct Dialog::ModalRun {
    int result = -1;
    bool ended = false;
    QEventLoop* loop = nullptr;
};

struct Dialog::Built {
    struct Entry {
        const res::ControlTemplate* control;
        QWidget* widget;
    };

    explicit Built(Dialog& owner) : dialog(owner) {}
    void AddControl(const res::ControlTemplate& control, QWidget* widget);
    void OnClicked(QWidget* widget);
    // The template's radio buttons from `firstId` to the end of its group.
    std::vector<QWidget*> RadioGroup(int firstId) const;

    Dialog& dialog;
    std::vector<Entry> entries;
    std::unique_ptr<Menu> menu;
    std::unique_ptr<Menu> systemMenu;
};

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
    QWidget* parentWidget = nullptr;
    if (child) {
        if (parent == nullptr || !parent->IsWindow()) return false;
        parentWidget = WindowAccess::ClientWidget(*parent);
    } else if (Window* owner = parent != nullptr ? parent : AfxGetMainWnd();
               owner != nullptr && owner != this) {
        if (owner->IsWindow()) parentWidget = QWidgetOf(*owner)->window();
    }

    const TemplateBuilder builder(*dialog);
    auto* widget = new DialogWidget(parentWidget, child);
    widget->setFont(builder.Font());
    widget->setWindowTitle(ToQString(Localized(dialog->caption)));
    m_built = std::make_unique<Built>(*this);
    WindowAccess::Attach(*this, widget, 0, child ? parent : nullptr, true);
    if (!child && dialog->menuId != 0) {
        if (const res::MenuTemplate* menu = res::FindMenu(dialog->menuId)) BuildMenu(*menu);
    }
    const QSize size = builder.DialogSize();
    widget->SetClientSize(size.width(), size.height());
    for (const res::ControlTemplate& control : dialog->controls)
        m_built->AddControl(control, builder.CreateControl(control, widget->Client()));
    return true;
}

void Dialog::BuildMenu(const res::MenuTemplate& menu) {
    auto* widget = static_cast<DialogWidget*>(QWidgetOf(*this));
    auto* root = new QMenu(widget);
    m_built->menu = MakeMenu(root, [this](UINT id) { SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0); });
    std::function<void(Menu&, std::span<const res::MenuItem>)> add =
        [&](Menu& into, std::span<const res::MenuItem> items) {
            for (const res::MenuItem& item : items) {
                const std::u16string text(Localized(item.text));
                if (!item.items.empty()) {
                    QMenuOf(into)->addMenu(ToQString(text));
                    add(*into.GetSubMenu(into.GetMenuItemCount() - 1), item.items);
                } else if (item.id == 0 && text.empty()) {
                    into.AppendMenu(MF_SEPARATOR);
                } else {
                    into.AppendMenu(MF_STRING, static_cast<UINT>(item.id), text);
                }
            }
        };
    add(*m_built->menu, menu.items);
    auto* bar = new QMenuBar(widget);
    bar->addActions(root->actions());
    widget->SetMenuBar(bar);
}

void Dialog::Built::AddControl(const res::ControlTemplate& control, QWidget* widget) {
    entries.push_back({&control, widget});
    auto& state = WindowAccess::StateOf(dialog);
    auto wrapper = MakeWrapper(control.cls);
    WindowAccess::Attach(*wrapper, widget, control.id, &dialog, false);
    if (control.id != IDC_STATIC) state.controls.emplace(control.id, wrapper.get());
    state.ownControls.push_back(std::move(wrapper));

    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        QObject::connect(button, &QAbstractButton::clicked, widget, [this, widget] { OnClicked(widget); });
    } else if (auto* combo = dynamic_cast<ComboWidget*>(widget)) {
        QObject::connect(combo, &QComboBox::activated, widget,
                         [widget] { NotifyWidget(widget, CBN_SELCHANGE); });
        if (QLineEdit* edit = combo->lineEdit())
            QObject::connect(edit, &QLineEdit::textEdited, widget,
                             [widget] { NotifyWidget(widget, CBN_EDITUPDATE); });
    }
}

void Dialog::Built::OnClicked(QWidget* widget) {
    const auto it =
        std::find_if(entries.begin(), entries.end(), [widget](const auto& e) { return e.widget == widget; });
    if (it == entries.end()) return;
    auto* button = static_cast<QAbstractButton*>(widget);
    const std::uint32_t kind = it->control->style & BS_TYPEMASK;
    if (kind == BS_AUTORADIOBUTTON) {
        // Windows keeps a clicked automatic radio button checked and clears
        // the others of its group (from one WS_GROUP control to the next).
        auto first = it;
        while (first != entries.begin() && !(first->control->style & WS_GROUP))
            --first;
        auto last = it + 1;
        while (last != entries.end() && !(last->control->style & WS_GROUP))
            ++last;
        for (auto e = first; e != last; ++e) {
            if (IsRadio(*e->control)) static_cast<QAbstractButton*>(e->widget)->setChecked(e == it);
        }
    } else if (kind == BS_CHECKBOX || kind == BS_RADIOBUTTON) {
        button->setChecked(!button->isChecked());  // only the automatic kinds change by themselves
    }
    NotifyWidget(widget, BN_CLICKED);
}

std::vector<QWidget*> Dialog::Built::RadioGroup(int firstId) const {
    std::vector<QWidget*> group;
    auto it = std::find_if(entries.begin(), entries.end(),
                           [firstId](const auto& e) { return e.control->id == firstId; });
    for (auto e = it; e != entries.end() && IsRadio(*e->control); ++e) {
        if (e != it && (e->control->style & WS_GROUP)) break;
        group.push_back(e->widget);
    }
    return group;
}

int Dialog::DoModal() {
    if (!Build(m_owner, false)) return -1;
    ModalRun run;
    ModalRun* outer = m_run;
    m_run = &run;
    OnInitDialog();
    if (!run.ended && IsWindow()) {
        QWidget* widget = QWidgetOf(*this);
        widget->setWindowModality(Qt::ApplicationModal);
        widget->show();
        widget->activateWindow();
        if (auto* focus = QApplication::focusWidget(); focus == nullptr || !widget->isAncestorOf(focus)) {
            for (const auto& entry : m_built->entries) {
                if ((entry.control->style & WS_TABSTOP) && entry.widget->isEnabled() &&
                    entry.widget->isVisible()) {
                    entry.widget->setFocus(Qt::TabFocusReason);
                    break;
                }
            }
        }
        if (auto hook = detail::ModalHook()) hook(*this);
    }
    if (!run.ended && IsWindow()) {
        QEventLoop loop;
        run.loop = &loop;
        QObject::connect(QWidgetOf(*this), &QObject::destroyed, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::DialogExec);
        run.loop = nullptr;
    }
    m_run = outer;
    DestroyWindow();
    return run.result;
}

void Dialog::EndDialog(int result) {
    if (m_run == nullptr) return;
    m_run->result = result;
    m_run->ended = true;
    if (QWidget* widget = QWidgetOf(*this)) widget->hide();
    if (m_run->loop != nullptr) m_run->loop->exit();
}

bool Dialog::UpdateData(bool saveAndValidate) {
    DataExchange dx(*this, saveAndValidate);
    DoDataExchange(dx);
    return true;
}

Menu* Dialog::GetMenu() const {
    return IsWindow() && m_built ? m_built->menu.get() : nullptr;
}

Menu* Dialog::GetSystemMenu() {
    if (!IsWindow() || GetParent() != nullptr) return nullptr;
    if (!m_built->systemMenu) {
        auto* widget = static_cast<DialogWidget*>(QWidgetOf(*this));
        auto* menu = new QMenu(widget);
        m_built->systemMenu = MakeMenu(menu, [this](UINT id) { SendMessage(WM_SYSCOMMAND, id, 0); });
        widget->SetContextMenu(menu);
    }
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
    if (WindowAccess::Dispatch(*this, message, wParam, lParam, result)) return result;
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        if (LOWORD(wParam) == IDOK)
            OnOK();
        else if (LOWORD(wParam) == IDCANCEL)
            OnCancel();
    }
    return 0;
}

// Beside the dialog: it reads the widgets the dialog built.
void DDX_Radio(DataExchange& dx, int firstId, int& value) {
    const Dialog& dialog = dx.GetDialog();
    const std::vector<QWidget*> group =
        dialog.m_built && dialog.IsWindow() ? dialog.m_built->RadioGroup(firstId) : std::vector<QWidget*>();
    if (dx.IsSaving()) {
        value = -1;
        for (size_t i = 0; i < group.size(); ++i) {
            if (static_cast<QAbstractButton*>(group[i])->isChecked()) {
                value = static_cast<int>(i);
                break;
            }
        }
        return;
    }
    for (size_t i = 0; i < group.size(); ++i)
        static_cast<QAbstractButton*>(group[i])->setChecked(static_cast<int>(i) == value);
}

}  // namespace ui
