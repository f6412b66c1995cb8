#pragma once

// The widget of a combo box: tells its window that the list is about to drop
// down (CBN_DROPDOWN) before it opens, so that the window can refill it.

#include <QComboBox>

namespace ui {

class ComboWidget : public QComboBox {
public:
    ComboWidget(bool editable, bool sorted, QWidget* parent);
    bool IsSorted() const { return m_sorted; }
    void showPopup() override;

private:
    bool m_sorted;
};

}  // namespace ui
