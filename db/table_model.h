// A read-only grid model over a cursor's table: every row in the cursor's current order
// with the column names as headers, read when reload() is called (and on construction).
// For a QTableView; reading never moves the cursor.
#pragma once

#include <QAbstractTableModel>
#include <string>
#include <vector>

namespace db {

class TableCursor;

class TableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit TableModel(const TableCursor& cursor, QObject* parent = nullptr);

    void reload();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    const TableCursor& cursor_;
    std::vector<std::string> columns_;
    std::vector<std::vector<std::string>> rows_;
};

}  // namespace db
