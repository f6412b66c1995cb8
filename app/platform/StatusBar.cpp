#include "app/platform/StatusBar.h"

#include <QLabel>
#include <QStatusBar>

#include "app/platform/DialogWidget.h"
#include "app/platform/LoadString.h"
#include "app/platform/QtText.h"
#include "app/platform/WindowAccess.h"

namespace ui {
namespace {

QStatusBar* BarOf(const Window& window) {
    return qobject_cast<QStatusBar*>(window.GetQWidget());
}

QLabel* PaneOf(const Window& window, int index) {
    QStatusBar* bar = BarOf(window);
    if (bar == nullptr || index < 0) return nullptr;
    const auto panes = bar->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
    return index < panes.size() ? panes.at(index) : nullptr;
}

}  // namespace

bool StatusBar::Create(Window* parent) {
    if (parent == nullptr || !parent->IsWindow() || IsWindow()) return false;
    QWidget* client = WindowAccess::ClientWidget(*parent);
    auto* bar = new QStatusBar(client);
    bar->setSizeGripEnabled(false);
    WindowAccess::Attach(*this, bar, AFX_IDW_STATUS_BAR, parent, true);
    if (auto* dialog = dynamic_cast<DialogWidget*>(parent->GetQWidget()))
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
    for (QLabel* pane : bar->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly))
        delete pane;
    for (UINT id : ids) {
        auto* pane = new QLabel(ToQString(LoadString(static_cast<int>(id))), bar);
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        bar->addWidget(pane);
    }
    return true;
}

void StatusBar::SetPaneInfo(int index, UINT, UINT style, int width) {
    QLabel* pane = PaneOf(*this, index);
    if (pane == nullptr) return;
    QStatusBar* bar = BarOf(*this);
    bar->removeWidget(pane);
    if (style & SBPS_STRETCH) {
        pane->setMinimumWidth(0);
        pane->setMaximumWidth(QWIDGETSIZE_MAX);
        bar->insertWidget(index, pane, 1);
    } else {
        pane->setFixedWidth(std::max(0, width));
        bar->insertWidget(index, pane, 0);
    }
    pane->show();
}

bool StatusBar::SetPaneText(int index, std::u16string_view text, bool update) {
    QLabel* pane = PaneOf(*this, index);
    if (pane == nullptr) return false;
    pane->setText(ToQString(text));
    if (update) pane->repaint();
    return true;
}

std::u16string StatusBar::GetPaneText(int index) const {
    const QLabel* pane = PaneOf(*this, index);
    return pane != nullptr ? FromQString(pane->text()) : std::u16string();
}

int StatusBar::GetPaneCount() const {
    const QStatusBar* bar = BarOf(*this);
    return bar != nullptr
               ? static_cast<int>(bar->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly).size())
               : 0;
}

int StatusBar::GetBarHeight() const {
    const QStatusBar* bar = BarOf(*this);
    return bar != nullptr ? bar->sizeHint().height() : 0;
}

}  // namespace ui
