#pragma once

// The Qt widget of a dialog: a menu bar (when the template has a menu) above
// a client area that holds the controls. Accept and reject (Enter on the
// default button's behalf, Escape, the close button) become commands IDOK and
// IDCANCEL for the dialog's window instead of closing it.

#include <QDialog>
#include <QPointer>

class QMenu;
class QMenuBar;

namespace ui {

class DialogWidget : public QDialog {
public:
    DialogWidget(QWidget* parent, bool child);

    QWidget* Client() const { return m_client; }
    // Adds the menu bar (top-level dialogs only).
    void SetMenuBar(QMenuBar* bar);
    int MenuHeight() const;
    void SetClientSize(int cx, int cy);
    // A bar that stays along the bottom edge of the client area.
    void SetBottomBar(QWidget* bar);
    // The menu shown as the context menu of the client area, or nullptr.
    void SetContextMenu(QMenu* menu) { m_contextMenu = menu; }

    void accept() override;
    void reject() override;

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Places the menu bar and the client area in the current size.
    void LayOut();
    void SendCommand(int id);

    QWidget* m_client;
    QMenuBar* m_menuBar = nullptr;
    QPointer<QWidget> m_bottomBar;
    QMenu* m_contextMenu = nullptr;
};

}  // namespace ui
