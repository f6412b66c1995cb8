#include "platform/Window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QThread>
#include <QTimer>
#include <unordered_map>
#include <utility>

#include "platform/WindowCore.h"
#include "platform/qt/DialogWidget.h"
#include "platform/qt/KeyRouter.h"
#include "platform/qt/QtFont.h"
#include "platform/qt/QtImage.h"
#include "platform/qt/QtPainter.h"
#include "platform/qt/QtText.h"
#include "platform/qt/WindowAccess.h"
#include "platform/qt/WindowLink.h"

namespace ui {
namespace {

std::unordered_map<const QWidget*, Window*>& Registry() {
    static std::unordered_map<const QWidget*, Window*> registry;
    return registry;
}

QString TextOf(const QWidget* widget) {
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) return button->text();
    if (const auto* label = qobject_cast<const QLabel*>(widget)) return label->text();
    if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) return edit->text();
    if (const auto* combo = qobject_cast<const QComboBox*>(widget)) return combo->currentText();
    if (const auto* plain = qobject_cast<const QPlainTextEdit*>(widget))
        return plain->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    if (widget->isWindow()) return widget->windowTitle();
    return widget->property("tarnelText").toString();
}

void SetTextOf(QWidget* widget, const QString& text) {
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(text);
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(text);
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        if (combo->isEditable()) combo->lineEdit()->setText(text);
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(widget)) {
        QString normal = text;
        normal.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
            .replace(QLatin1Char('\r'), QLatin1Char('\n'));
        plain->setPlainText(normal);
    } else if (widget->isWindow()) {
        widget->setWindowTitle(text);
    } else {
        widget->setProperty("tarnelText", text);
        widget->update();
    }
}

RECT RectOf(QPoint topLeft, QSize size) {
    return RECT{topLeft.x(), topLeft.y(), topLeft.x() + size.width(), topLeft.y() + size.height()};
}

}  // namespace

bool IsWindowThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app != nullptr && QThread::currentThread() == app->thread();
}

// --- WindowAccess -----------------------------------------------------------

void WindowAccess::Attach(Window& window, QWidget* widget, int id, Window* parent, bool ownsWidget) {
    KeyRouter::Install();
    Window::State& state = StateOf(window);
    state.widget = widget;
    state.ownsWidget = ownsWidget;
    JoinParent(window, id, parent);
    Registry()[widget] = &window;
    auto* link = new WindowLink(&window);
    std::lock_guard lock(state.linkMutex);
    state.link = link;
}

Window* WindowAccess::FromWidget(const QWidget* widget) {
    auto it = Registry().find(widget);
    return it == Registry().end() ? nullptr : it->second;
}

Window* WindowAccess::FindWindowFor(const QWidget* widget) {
    for (; widget != nullptr; widget = widget->parentWidget()) {
        if (Window* window = FromWidget(widget)) return window;
    }
    return nullptr;
}

QWidget* WindowAccess::ClientWidget(const Window& window) {
    QWidget* widget = StateOf(window).widget;
    if (auto* dialog = dynamic_cast<DialogWidget*>(widget)) return dialog->Client();
    return widget;
}

void WindowAccess::Notify(Window& control, UINT code) {
    Window::State& state = StateOf(control);
    if (state.map.Reflect(code)) return;
    if (state.parent != nullptr)
        state.parent->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<unsigned>(state.id), code),
                                  reinterpret_cast<LPARAM>(&control));
}

bool WindowAccess::Paint(Window& window, QPainter& painter) {
    auto& paint = StateOf(window).paint;
    if (!paint) return false;
    QtPainter facade(painter);
    paint(facade.Get());
    return true;
}

// --- The shared part's hooks ------------------------------------------------

WindowCore& CoreOf(const Window& window) {
    return WindowAccess::StateOf(window);
}

void DetachToolkitWindow(Window& window) {
    auto& state = WindowAccess::StateOf(window);
    WindowLink* link = nullptr;
    {
        std::lock_guard lock(state.linkMutex);
        std::swap(link, state.link);
    }
    if (link == nullptr) return;
    for (auto& [id, timer] : state.timers)
        timer->stop();
    state.timers.clear();  // the link owns them
    link->Release();
    auto it = Registry().find(state.widget.data());
    if (it != Registry().end() && it->second == &window) Registry().erase(it);
    LeaveParent(window);
    state.widget = nullptr;
    state.ownsWidget = false;
}

// A dialog's controls go with the dialog's widget, which owns them.
void DestroyToolkitWindow(Window& window, bool) {
    const auto& state = WindowAccess::StateOf(window);
    QPointer<QWidget> widget = state.widget;
    const bool owns = state.ownsWidget;
    DetachToolkitWindow(window);
    if (owns) delete widget.data();
}

void HandOverToolkitWindow(Window& from, Window& to, int id, Window& dialog) {
    QWidget* widget = QWidgetOf(from);
    DetachToolkitWindow(from);
    WindowAccess::Attach(to, widget, id, &dialog, false);
}

// --- Window -----------------------------------------------------------------

Window::Window() : m_state(std::make_unique<State>()) {}

Window::~Window() {
    AbandonWindow(*this);
}

bool Window::CreateBlank(Window* parent) {
    if (IsWindow() || (parent != nullptr && !parent->IsWindow())) return false;
    QWidget* parentWidget = parent != nullptr ? WindowAccess::ClientWidget(*parent) : nullptr;
    auto* widget = new QWidget(parentWidget);
    WindowAccess::Attach(*this, widget, 0, parent, true);
    if (parentWidget != nullptr) widget->show();
    return true;
}

bool Window::IsWindow() const {
    std::lock_guard lock(m_state->linkMutex);
    return m_state->link != nullptr;
}

bool Window::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    std::lock_guard lock(m_state->linkMutex);
    if (m_state->link == nullptr) return false;
    WindowLink::Post(m_state->link, message, wParam, lParam);
    return true;
}

void Window::EnableWindow(bool enable) {
    if (QWidget* widget = QWidgetOf(*this)) widget->setEnabled(enable);
}

bool Window::IsWindowEnabled() const {
    // Windows reports the window's own state, not its parents'.
    const QWidget* widget = QWidgetOf(*this);
    return widget != nullptr && !widget->testAttribute(Qt::WA_ForceDisabled);
}

void Window::ShowWindow(int cmdShow) {
    if (QWidget* widget = QWidgetOf(*this)) widget->setVisible(cmdShow != SW_HIDE);
}

bool Window::IsWindowVisible() const {
    const QWidget* widget = QWidgetOf(*this);
    return widget != nullptr && widget->isVisible();
}

void Window::SetWindowText(std::u16string_view text) {
    if (QWidget* widget = QWidgetOf(*this)) SetTextOf(widget, ToQString(text));
}

std::u16string Window::GetWindowText() const {
    const QWidget* widget = QWidgetOf(*this);
    return widget != nullptr ? FromQString(TextOf(widget)) : std::u16string();
}

void Window::SetFocus() {
    if (QWidget* widget = QWidgetOf(*this)) widget->setFocus(Qt::OtherFocusReason);
}

void Window::SetIcon(const Image& image) {
    QWidget* widget = QWidgetOf(*this);
    if (widget == nullptr) return;
    const Image::Impl* impl = image.GetImpl();
    widget->setWindowIcon(impl != nullptr ? QIcon(QPixmap::fromImage(impl->image)) : QIcon());
}

Window* Window::GetFocus() {
    return WindowAccess::FindWindowFor(QApplication::focusWidget());
}

void Window::GetWindowRect(RECT& rect) const {
    const QWidget* widget = QWidgetOf(*this);
    if (widget == nullptr) return;
    rect = RectOf(widget->mapToGlobal(QPoint(0, 0)), widget->size());
}

void Window::GetClientRect(RECT& rect) const {
    const QWidget* client = WindowAccess::ClientWidget(*this);
    if (client == nullptr) return;
    rect = RECT{0, 0, client->width(), client->height()};
}

void Window::ScreenToClient(RECT& rect) const {
    const QWidget* client = WindowAccess::ClientWidget(*this);
    if (client == nullptr) return;
    const QPoint origin = client->mapToGlobal(QPoint(0, 0));
    rect = RECT{rect.left - origin.x(), rect.top - origin.y(), rect.right - origin.x(),
                rect.bottom - origin.y()};
}

void Window::MoveWindow(int x, int y, int cx, int cy, bool repaint) {
    QWidget* widget = QWidgetOf(*this);
    if (widget == nullptr) return;
    if (auto* dialog = dynamic_cast<DialogWidget*>(widget); dialog != nullptr && dialog->isWindow()) {
        dialog->move(x, y);
        dialog->SetClientSize(cx, cy - dialog->MenuHeight());
    } else {
        widget->setGeometry(x, y, cx, cy);
    }
    if (repaint) widget->update();
}

void Window::SetClientSize(int cx, int cy) {
    if (auto* dialog = dynamic_cast<DialogWidget*>(QWidgetOf(*this)))
        dialog->SetClientSize(cx, cy);
    else if (QWidget* widget = QWidgetOf(*this))
        widget->resize(cx, cy);
}

void Window::SetRedraw(bool redraw) {
    if (QWidget* widget = QWidgetOf(*this)) widget->setUpdatesEnabled(redraw);
}

void Window::Invalidate(bool) {
    if (QWidget* widget = QWidgetOf(*this)) widget->update();
}

void Window::UpdateWindow() {
    if (QWidget* widget = QWidgetOf(*this)) widget->repaint();
}

Font Window::GetFont() const {
    const QWidget* widget = QWidgetOf(*this);
    return FromQFont(widget != nullptr ? widget->font() : QApplication::font());
}

void Window::SetFont(const Font& font, bool redraw) {
    QWidget* widget = QWidgetOf(*this);
    if (widget == nullptr) return;
    widget->setFont(ToQFont(font));
    if (redraw) widget->update();
}

int Window::IsDlgButtonChecked(int id) const {
    const Window* item = GetDlgItem(id);
    const auto* button = item != nullptr ? qobject_cast<const QAbstractButton*>(QWidgetOf(*item)) : nullptr;
    return button != nullptr && button->isChecked() ? BST_CHECKED : BST_UNCHECKED;
}

void Window::CheckDlgButton(int id, UINT check) {
    Window* item = GetDlgItem(id);
    if (auto* button = item != nullptr ? qobject_cast<QAbstractButton*>(QWidgetOf(*item)) : nullptr)
        button->setChecked(check == BST_CHECKED);
}

bool Window::SetTimer(UINT id, UINT elapseMs) {
    WindowLink* link = nullptr;
    {
        std::lock_guard lock(m_state->linkMutex);
        link = m_state->link;
    }
    if (link == nullptr) return false;
    QTimer*& timer = m_state->timers[id];
    if (timer == nullptr) {
        timer = new QTimer(link);
        QObject::connect(timer, &QTimer::timeout, link, [link, id] { link->Deliver(WM_TIMER, id, 0); });
    }
    timer->start(static_cast<int>(elapseMs));
    return true;
}

bool Window::KillTimer(UINT id) {
    auto it = m_state->timers.find(id);
    if (it == m_state->timers.end() || !it->second->isActive()) return false;
    // Stopped, not deleted: this may run inside the timer's own expiry.
    it->second->stop();
    return true;
}

}  // namespace ui
