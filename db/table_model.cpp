#include "db/table_model.h"

#include "db/table_cursor.h"

namespace db {

TableModel::TableModel(const TableCursor& cursor, QObject* parent)
    : QAbstractTableModel(parent), cursor_(cursor) {
    reload();
}

void TableModel::reload() {
    beginResetModel();
    columns_ = cursor_.columns();
    rows_ = cursor_.readAll();
    endResetModel();
}

int TableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant TableModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    return QString::fromStdString(
        rows_[static_cast<std::size_t>(index.row())][static_cast<std::size_t>(index.column())]);
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    return QString::fromStdString(columns_[static_cast<std::size_t>(section)]);
}

}  // namespace db
