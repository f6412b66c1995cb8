#pragma once

// The layer's painter at the Qt edge: a ui::Painter drawing with a QPainter.

#include <QPainter>

#include "platform/Painter.h"

namespace ui {

struct Painter::Impl {
    QPainter& painter;
};

// A ui::Painter over `painter` for as long as this object lives.
class QtPainter {
public:
    explicit QtPainter(QPainter& painter) : m_impl{painter}, m_painter(m_impl) {}
    Painter& Get() { return m_painter; }

private:
    Painter::Impl m_impl;
    Painter m_painter;
};

}  // namespace ui
