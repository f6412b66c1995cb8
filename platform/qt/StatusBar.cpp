#include "platform/StatusBar.h"

#include <QStatusBar>

#include "platform/LoadString.h"
#include "platform/qt/DialogWidget.h"
#include "platform/qt/QtText.h"
#include "platform/qt/StatusPane.h"
#include "platform/qt/WindowAccess.h"

namespace ui {
namespace {

QStatusBar* BarOf(const Window& window) {
    return qobject_cast<QStatusBar*>(QWidgetOf(window));
}

QList<StatusPane*> PanesOf(const Window& window) {
    QStatusBar* bar = BarOf(window);
    return bar != nullptr ? bar->findChildren<StatusPane*>(QString(), Qt::FindDirectChildrenOnly)
                          : QList<StatusPane*>();
}

StatusPane* PaneOf(const Window& window, int index) {
    const auto panes = PanesOf(window);
    return index >= 0 && index < panes.size() ? panes.at(index) : nullptr;
}

}  // namespace

bool StatusBar::Create(Window* parent) {
    if (parent == nullptr || !parent->IsWindow() || IsWindow()) return false;
    QWidget* client = WindowAccess::ClientWidget(*parent);
    auto* bar = new QStatusBar(client);
    bar->setSizeGripEnabled(false);
    WindowAccess::Attach(*this, bar, AFX_IDW_STATUS_BAR, parent, true);
    if (auto* dialog = dynamic_cast<DialogWidget*>(QWidgetOf(*parent)))
        dialog->SetBottomBar(bar);
    else
        bar->setGeometry(0, client->height() - bar->sizeHint().height(), client->width(),
                         bar->sizeHint().height());
    bar->show();
    return true;
}

bool StatusBar::SetIndicators(const std::vector<UINT>& ids) {
    QStatusBar* bar = BarOf(*this);
    if (bar == nullptr) return false;
    qDeleteAll(PanesOf(*this));
    for (UINT id : ids) {
        auto* pane = new StatusPane(bar);
        pane->SetFullText(ToQString(LoadString(static_cast<int>(id))));
        bar->addWidget(pane);
    }
    return true;
}

void StatusBar::SetPaneInfo(int index, UINT, UINT style, int width) {
    StatusPane* pane = PaneOf(*this, index);
    if (pane == nullptr) return;
    QStatusBar* bar = BarOf(*this);
    bar->removeWidget(pane);
    if (style & SBPS_STRETCH) {
        // The room decides the width, not the text, which fits itself in.
        pane->setMinimumWidth(0);
        pane->setMaximumWidth(QWIDGETSIZE_MAX);
        pane->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        bar->insertWidget(index, pane, 1);
    } else {
        pane->setFixedWidth(std::max(0, width));
        bar->insertWidget(index, pane, 0);
    }
    pane->show();
}

bool StatusBar::SetPaneText(int index, std::u16string_view text, bool update) {
    return SetPaneText(index, text, 0, 0, update);
}

bool StatusBar::SetPaneText(int index, std::u16string_view text, std::size_t first, std::size_t count,
                            bool update) {
    StatusPane* pane = PaneOf(*this, index);
    if (pane == nullptr) return false;
    pane->SetFullText(ToQString(text), static_cast<qsizetype>(first), static_cast<qsizetype>(count));
    if (update) pane->repaint();
    return true;
}

std::u16string StatusBar::GetPaneText(int index) const {
    const StatusPane* pane = PaneOf(*this, index);
    return pane != nullptr ? FromQString(pane->FullText()) : std::u16string();
}

int StatusBar::GetPaneWidthFor(int index, std::u16string_view text) const {
    const StatusPane* pane = PaneOf(*this, index);
    return pane != nullptr ? pane->WidthFor(ToQString(text)) : 0;
}

int StatusBar::GetPaneCount() const {
    return static_cast<int>(PanesOf(*this).size());
}

int StatusBar::GetBarHeight() const {
    const QStatusBar* bar = BarOf(*this);
    return bar != nullptr ? bar->sizeHint().height() : 0;
}

}  // namespace ui
