#pragma once

// Finds the texts of a window that a user cannot read whole: a label that
// wraps out of its box or is cut, a button, check box, radio button or group
// box title wider than its control, a list whose columns do not fit beside
// its vertical scroll bar.

#include <QString>
#include <QStringList>

class QWidget;

namespace tarnel::test {

// One line per text that does not fit, naming it and by how many pixels;
// empty when everything fits. Hidden controls are left out.
QStringList CutTexts(const QWidget& root);

}  // namespace tarnel::test
