#pragma once

// Builds the Qt widgets of a dialog template: dialog units become pixels with
// the template font's average character width cx and height cy
// (x * cx / 4, y * cy / 8).

#include <QFont>
#include <QRect>

#include "platform/DialogUnits.h"
#include "res/ResourceTypes.h"

class QWidget;

namespace ui {

class TemplateBuilder {
public:
    explicit TemplateBuilder(const res::DialogTemplate& dialog);

    const QFont& Font() const { return m_font; }
    QRect ToPixels(const res::Rect& rect) const;
    QSize DialogSize() const;
    // The control's widget on `client`, placed, with its text, state and
    // visibility from the template.
    QWidget* CreateControl(const res::ControlTemplate& control, QWidget* client) const;

private:
    QWidget* CreateWidget(const res::ControlTemplate& control, QWidget* client) const;

    const res::DialogTemplate& m_dialog;
    QFont m_font;
    DialogUnits m_units;
};

}  // namespace ui
