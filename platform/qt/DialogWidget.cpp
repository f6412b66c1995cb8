#include "platform/qt/DialogWidget.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMenuBar>
#include <QResizeEvent>

#include "platform/qt/WindowAccess.h"

namespace ui {

DialogWidget::DialogWidget(QWidget* parent, bool child) : QDialog(parent), m_client(new QWidget(this)) {
    // QDialog always makes itself a window; a page lives inside its parent.
    if (child) setWindowFlags(Qt::Widget);
    m_client->move(0, 0);
}

void DialogWidget::SetMenuBar(QMenuBar* bar) {
    m_menuBar = bar;
    SetClientSize(m_client->width(), m_client->height());
}

int DialogWidget::MenuHeight() const {
    return m_menuBar ? m_menuBar->sizeHint().height() : 0;
}

void DialogWidget::SetClientSize(int cx, int cy) {
    const int top = MenuHeight();
    if (isWindow())
        setFixedSize(cx, cy + top);
    else
        resize(cx, cy + top);
    // A hidden window gets its resize event only when it is shown; the
    // client area must have its size before that (OnInitDialog measures it).
    LayOut();
}

void DialogWidget::resizeEvent(QResizeEvent* event) {
    LayOut();
    QDialog::resizeEvent(event);
}

void DialogWidget::LayOut() {
    const int top = MenuHeight();
    if (m_menuBar) m_menuBar->setGeometry(0, 0, width(), top);
    m_client->setGeometry(0, top, width(), height() - top);
    if (m_bottomBar) {
        const int barHeight = m_bottomBar->sizeHint().height();
        m_bottomBar->setGeometry(0, m_client->height() - barHeight, m_client->width(), barHeight);
    }
}

void DialogWidget::SetBottomBar(QWidget* bar) {
    m_bottomBar = bar;
    LayOut();
}

void DialogWidget::SendCommand(int id) {
    if (Window* window = WindowAccess::FromWidget(this))
        window->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<unsigned>(id), BN_CLICKED), 0);
}

void DialogWidget::accept() {
    SendCommand(IDOK);
}

void DialogWidget::reject() {
    SendCommand(IDCANCEL);
}

void DialogWidget::contextMenuEvent(QContextMenuEvent* event) {
    if (m_contextMenu && !m_contextMenu->isEmpty())
        m_contextMenu->exec(event->globalPos());
    else
        QDialog::contextMenuEvent(event);
}

}  // namespace ui
