#include "db/mdb_import.h"

#include <glib.h>  // before mdbtools.h, which includes it inside extern "C"
#include <mdbtools.h>

#include <algorithm>

namespace db {

std::optional<ColumnKind> columnKindOf(int accessType) {
    switch (accessType) {
        case MDB_BOOL:
        case MDB_BYTE:
        case MDB_INT:
        case MDB_LONGINT:
            return ColumnKind::kInteger;
        case MDB_MONEY:
        case MDB_FLOAT:
        case MDB_DOUBLE:
        case MDB_NUMERIC:
            return ColumnKind::kNumber;
        case MDB_TEXT:
        case MDB_MEMO:
        case MDB_DATETIME:
        case MDB_REPID:
        case kAccessExtendedDateTime:
            return ColumnKind::kText;
        case MDB_BINARY:
        case MDB_OLE:
            return ColumnKind::kBlob;
        default:
            return std::nullopt;
    }
}

NewTable importLayout(const ImportedTable& table, std::vector<int>& positions) {
    const TableSchema* schema = findTableSchema(table.name);
    NewTable t;
    t.name = table.name;
    positions.clear();
    const auto has = [&](std::string_view column) {
        return std::any_of(t.columns.begin(), t.columns.end(),
                           [&](const auto& c) { return c.first == column; });
    };
    for (const ImportedColumn& c : table.columns) {
        std::optional<ColumnKind> kind = columnKindOf(c.accessType);
        if (schema)
            for (const ColumnSchema& s : schema->columns)
                if (kind && s.name == c.name) kind = s.kind;
        positions.push_back(kind && !has(c.name) ? static_cast<int>(t.columns.size()) : -1);
        if (positions.back() >= 0) t.columns.emplace_back(c.name, *kind);
    }
    if (!schema) return t;
    for (const IndexSchema& i : schema->indexes)
        if (has(i.column)) t.indexes.emplace_back(i.name, i.column);
    for (const ColumnSchema& c : schema->searchColumns)
        if (has(c.name)) t.searchColumns.emplace_back(c.name);
    const NewTable seeded = NewTable::fromSchema(*schema);
    if (!seeded.rowidColumn.empty() && has(seeded.rowidColumn)) t.rowidColumn = seeded.rowidColumn;
    return t;
}

bool keepsAColumn(const ImportedTable& table) {
    std::vector<int> positions;
    return !importLayout(table, positions).columns.empty();
}

std::vector<std::string> importNotes(const ImportedTable& table) {
    std::vector<int> positions;
    if (importLayout(table, positions).columns.empty())
        return {"表 “" + table.name + "” 未导入：没有可以导入的列"};
    std::vector<std::string> notes;
    for (std::size_t c = 0; c < positions.size(); ++c) {
        if (positions[c] >= 0) continue;
        const ImportedColumn& column = table.columns[c];
        const std::string why = columnKindOf(column.accessType)
                                    ? "列名重复"
                                    : "Access 类型 " + std::to_string(column.accessType) +
                                          " 无法导入（附件、多值字段或未知类型）";
        notes.push_back("表 “" + table.name + "” 的列 “" + column.name + "” 未导入：" + why);
    }
    return notes;
}

bool writeImport(const std::vector<ImportedTable>& tables, const std::string& path,
                 std::string& error) {
    const auto fill = [&](sqlite3* connection, std::string& err) {
        for (const ImportedTable& table : tables) {
            std::vector<int> positions;
            const NewTable t = importLayout(table, positions);
            if (t.columns.empty()) continue;
            if (!createTable(connection, t, err)) {
                err = "表 “" + table.name + "”：" + err;
                return false;
            }
            RowInserter inserter(connection, t);
            std::vector<std::optional<std::string>> values(t.columns.size());
            for (std::size_t r = 0; r < table.rows.size(); ++r) {
                std::fill(values.begin(), values.end(), std::nullopt);
                for (std::size_t c = 0; c < positions.size() && c < table.rows[r].size(); ++c)
                    if (positions[c] >= 0)
                        values[static_cast<std::size_t>(positions[c])] = table.rows[r][c];
                if (!inserter.insert(values, err)) {
                    err = "表 “" + table.name + "” 第 " + std::to_string(r + 1) + " 行：" + err;
                    return false;
                }
            }
        }
        return true;
    };
    return buildDatabaseFile(path, fill, error);
}

}  // namespace db
