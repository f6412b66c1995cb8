#include "platform/ListCtrl.h"

#include <QHeaderView>
#include <QTableWidget>

#include "platform/qt/QtText.h"
#include "platform/qt/WindowAccess.h"

namespace ui {
namespace {

QTableWidget* TableOf(const Window& window) {
    return qobject_cast<QTableWidget*>(QWidgetOf(window));
}

QTableWidgetItem* NewItem(std::u16string_view text) {
    auto* item = new QTableWidgetItem(ToQString(text));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

}  // namespace

void ListCtrl::SetExtendedStyle(std::uint32_t exStyle) {
    QTableWidget* table = TableOf(*this);
    if (table == nullptr) return;
    table->setShowGrid(exStyle & LVS_EX_GRIDLINES);
    table->setSelectionBehavior((exStyle & LVS_EX_FULLROWSELECT) ? QAbstractItemView::SelectRows
                                                                 : QAbstractItemView::SelectItems);
}

int ListCtrl::InsertColumn(int column, std::u16string_view heading, int format, int width) {
    QTableWidget* table = TableOf(*this);
    if (table == nullptr || column < 0) return -1;
    column = std::min(column, table->columnCount());
    table->insertColumn(column);
    auto* header = new QTableWidgetItem(ToQString(heading));
    header->setTextAlignment(format == LVCFMT_LEFT ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
    table->setHorizontalHeaderItem(column, header);
    if (width >= 0) table->setColumnWidth(column, width);
    return column;
}

int ListCtrl::GetItemCount() const {
    const QTableWidget* table = TableOf(*this);
    return table != nullptr ? table->rowCount() : 0;
}

int ListCtrl::InsertItem(int index, std::u16string_view text) {
    QTableWidget* table = TableOf(*this);
    if (table == nullptr || index < 0 || table->columnCount() == 0) return -1;
    index = std::min(index, table->rowCount());
    table->insertRow(index);
    table->setItem(index, 0, NewItem(text));
    return index;
}

bool ListCtrl::SetItemText(int item, int subItem, std::u16string_view text) {
    QTableWidget* table = TableOf(*this);
    if (table == nullptr || item < 0 || item >= table->rowCount() || subItem < 0 ||
        subItem >= table->columnCount())
        return false;
    table->setItem(item, subItem, NewItem(text));
    return true;
}

std::u16string ListCtrl::GetItemText(int item, int subItem) const {
    const QTableWidget* table = TableOf(*this);
    const QTableWidgetItem* cell = table != nullptr ? table->item(item, subItem) : nullptr;
    return cell != nullptr ? FromQString(cell->text()) : std::u16string();
}

bool ListCtrl::DeleteAllItems() {
    QTableWidget* table = TableOf(*this);
    if (table == nullptr) return false;
    table->setRowCount(0);
    return true;
}

int ListCtrl::GetNextItem(int start, UINT flags) const {
    const QTableWidget* table = TableOf(*this);
    if (table == nullptr) return -1;
    for (int row = std::max(start + 1, 0); row < table->rowCount(); ++row) {
        if (!(flags & LVNI_SELECTED) || table->selectionModel()->isRowSelected(row, QModelIndex()) ||
            table->selectionModel()->rowIntersectsSelection(row, QModelIndex()))
            return row;
    }
    return -1;
}

bool ListCtrl::SetItemState(int item, UINT state, UINT mask) {
    QTableWidget* table = TableOf(*this);
    if (table == nullptr || item < 0 || item >= table->rowCount()) return false;
    if (mask & LVIS_SELECTED) {
        const auto command =
            (state & LVIS_SELECTED) ? QItemSelectionModel::Select : QItemSelectionModel::Deselect;
        table->selectionModel()->select(table->model()->index(item, 0), command | QItemSelectionModel::Rows);
    }
    return true;
}

}  // namespace ui
