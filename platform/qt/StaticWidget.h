#pragma once

// The widget of a static control or a group box: text, a black rectangle or
// frame, or a group box frame with its title, unless the window bound to it
// paints it itself (Window::MapPaint). A group box never takes mouse input.

#include <QLabel>
#include <cstdint>

namespace ui {

class StaticWidget : public QLabel {
public:
    enum class Look { Text, BlackRect, BlackFrame, GroupBox };

    StaticWidget(Look look, QWidget* parent);
    Look GetLook() const { return m_look; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void PaintGroupBox(QPainter& painter);

    Look m_look;
};

}  // namespace ui
