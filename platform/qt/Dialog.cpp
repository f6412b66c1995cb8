#include "platform/Dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

#include "platform/AddControlWrapper.h"
#include "platform/BuiltControl.h"
#include "platform/DataExchange.h"
#include "platform/Localized.h"
#include "platform/Menu.h"
#include "platform/qt/ComboWidget.h"
#include "platform/qt/DialogWidget.h"
#include "platform/qt/QtMenu.h"
#include "platform/qt/QtText.h"
#include "platform/qt/TemplateBuilder.h"
#include "platform/qt/WindowAccess.h"

namespace ui {
namespace {

void NotifyWidget(QWidget* widget, UINT code) {
    if (Window* window = WindowAccess::FromWidget(widget)) WindowAccess::Notify(*window, code);
}

}  // namespace

struct Dialog::ModalRun::Loop {
    QEventLoop events;
};

struct Dialog::Built {
    explicit Built(Dialog& owner) : dialog(owner) {}
    void AddControl(const res::ControlTemplate& control, QWidget* widget);
    void OnClicked(QWidget* widget);

    Dialog& dialog;
    std::vector<BuiltControl<QWidget*>> entries;
    std::unique_ptr<Menu> menu;
    std::unique_ptr<Menu> systemMenu;
};

Dialog::Dialog(int templateId, Window* parent) : m_templateId(templateId), m_owner(parent) {}

Dialog::Dialog(const res::DialogTemplate& dialogTemplate, Window* parent)
    : m_templateId(dialogTemplate.id), m_template(&dialogTemplate), m_owner(parent) {}

Dialog::~Dialog() = default;

bool Dialog::BuildWindow(const res::DialogTemplate& dialog, Window* parent, bool child) {
    QWidget* parentWidget = nullptr;
    if (parent != nullptr)
        parentWidget = child ? WindowAccess::ClientWidget(*parent) : QWidgetOf(*parent)->window();
    const TemplateBuilder builder(dialog);
    auto* widget = new DialogWidget(parentWidget, child);
    widget->setFont(builder.Font());
    widget->setWindowTitle(ToQString(Localized(dialog.caption)));
    m_built = std::make_unique<Built>(*this);
    WindowAccess::Attach(*this, widget, 0, child ? parent : nullptr, true);
    if (!child && dialog.menuId != 0) {
        if (const res::MenuTemplate* menu = res::FindMenu(dialog.menuId)) BuildMenu(*menu);
    }
    const QSize size = builder.DialogSize();
    widget->SetClientSize(size.width(), size.height());
    for (const res::ControlTemplate& control : dialog.controls)
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
    WindowAccess::Attach(AddControlWrapper(dialog, control), widget, control.id, &dialog, false);

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
        std::find_if(entries.begin(), entries.end(), [widget](const auto& e) { return e.handle == widget; });
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
            if (IsRadioButton(*e->control)) static_cast<QAbstractButton*>(e->handle)->setChecked(e == it);
        }
    } else if (kind == BS_CHECKBOX || kind == BS_RADIOBUTTON) {
        button->setChecked(!button->isChecked());  // only the automatic kinds change by themselves
    }
    NotifyWidget(widget, BN_CLICKED);
}

void Dialog::ShowModal() {
    QWidget* widget = QWidgetOf(*this);
    widget->setWindowModality(Qt::ApplicationModal);
    widget->show();
    widget->activateWindow();
    if (auto* focus = QApplication::focusWidget(); focus == nullptr || !widget->isAncestorOf(focus)) {
        for (const auto& entry : m_built->entries) {
            if ((entry.control->style & WS_TABSTOP) && entry.handle->isEnabled() &&
                entry.handle->isVisible()) {
                entry.handle->setFocus(Qt::TabFocusReason);
                break;
            }
        }
    }
}

void Dialog::RunModalLoop(ModalRun& run) {
    ModalRun::Loop loop;
    run.loop = &loop;
    QObject::connect(QWidgetOf(*this), &QObject::destroyed, &loop.events, &QEventLoop::quit);
    loop.events.exec(QEventLoop::DialogExec);
    run.loop = nullptr;
}

void Dialog::EndModalLoop(ModalRun& run) {
    if (QWidget* widget = QWidgetOf(*this)) widget->hide();
    if (run.loop != nullptr) run.loop->events.exit();
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

}  // namespace ui
