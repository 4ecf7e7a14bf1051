#include "db/database_builder.h"

#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

#include "db/sql_statement.h"

namespace fs = std::filesystem;

namespace db {
namespace {

const char* declaredType(ColumnKind kind) {
    switch (kind) {
        case ColumnKind::kInteger:
            return "INTEGER";
        case ColumnKind::kNumber:
            return "NUMERIC";
        case ColumnKind::kText:
            break;
    }
    return "TEXT COLLATE NOCASE";
}

bool exec(sqlite3* connection, const std::string& sql, std::string& error) {
    char* message = nullptr;
    if (sqlite3_exec(connection, sql.c_str(), nullptr, nullptr, &message) == SQLITE_OK) return true;
    error = message ? message : "SQLite error";
    sqlite3_free(message);
    return false;
}

// "prefix.a, prefix.b" over the search columns.
std::string columnList(const std::vector<std::string>& columns, const std::string& prefix) {
    std::string list;
    for (const std::string& c : columns) list += (list.empty() ? "" : ", ") + prefix + sqlName(c);
    return list;
}

std::string searchTableSql(const NewTable& t) {
    const std::string fts = sqlName(t.name + "_fts");
    const std::string table = sqlName(t.name);
    const std::string cols = columnList(t.searchColumns, "");
    const std::string oldCols = columnList(t.searchColumns, "old.");
    const std::string newCols = columnList(t.searchColumns, "new.");
    const std::string del = "INSERT INTO " + fts + "(" + fts + ", rowid, " + cols +
                            ") VALUES('delete', old.rowid, " + oldCols + ");";
    const std::string ins =
        "INSERT INTO " + fts + "(rowid, " + cols + ") VALUES(new.rowid, " + newCols + ");";
    return "CREATE VIRTUAL TABLE " + fts + " USING fts5(" + cols + ", content=" + table +
           ", tokenize='trigram');" + "CREATE TRIGGER " + sqlName(t.name + "_fts_insert") +
           " AFTER INSERT ON " + table + " BEGIN " + ins + " END;" + "CREATE TRIGGER " +
           sqlName(t.name + "_fts_delete") + " AFTER DELETE ON " + table + " BEGIN " + del +
           " END;" + "CREATE TRIGGER " + sqlName(t.name + "_fts_update") + " AFTER UPDATE ON " +
           table + " BEGIN " + del + ins + " END;";
}

}  // namespace

NewTable NewTable::fromSchema(const TableSchema& schema) {
    NewTable t;
    t.name = schema.table;
    for (const ColumnSchema& c : schema.columns) {
        t.columns.emplace_back(c.name, c.kind);
        if (c.name == "ID" && c.kind == ColumnKind::kInteger) t.rowidColumn = "ID";
    }
    for (const IndexSchema& i : schema.indexes) t.indexes.emplace_back(i.name, i.column);
    for (const ColumnSchema& c : schema.searchColumns) t.searchColumns.emplace_back(c.name);
    return t;
}

bool createTable(sqlite3* connection, const NewTable& t, std::string& error) {
    std::string sql = "CREATE TABLE " + sqlName(t.name) + "(";
    for (std::size_t i = 0; i < t.columns.size(); ++i) {
        const auto& [name, kind] = t.columns[i];
        sql += (i ? ", " : "") + sqlName(name) + " " +
               (name == t.rowidColumn ? "INTEGER PRIMARY KEY" : declaredType(kind));
    }
    sql += ");";
    for (const auto& [index, column] : t.indexes)
        sql += "CREATE INDEX " + sqlName(index) + " ON " + sqlName(t.name) + "(" + sqlName(column) +
               ");";
    if (!t.searchColumns.empty()) sql += searchTableSql(t);
    return exec(connection, sql, error);
}

RowInserter::RowInserter(sqlite3* connection, const NewTable& table)
    : connection_(connection), columnCount_(table.columns.size()) {
    std::string names, marks;
    for (const auto& column : table.columns) {
        names += (names.empty() ? "" : ", ") + sqlName(column.first);
        marks += marks.empty() ? "?" : ", ?";
    }
    stmt_ = std::make_unique<SqlStatement>(
        connection, "INSERT INTO " + sqlName(table.name) + "(" + names + ") VALUES(" + marks + ")");
}

RowInserter::~RowInserter() = default;

bool RowInserter::insert(const std::vector<std::optional<std::string>>& values,
                         std::string& error) {
    if (!stmt_->ok()) {
        error = sqlite3_errmsg(connection_);
        return false;
    }
    stmt_->reset();
    for (std::size_t i = 0; i < columnCount_ && i < values.size(); ++i)
        if (values[i] && !values[i]->empty()) stmt_->bind(static_cast<int>(i + 1), *values[i]);
    if (sqlite3_step(stmt_->get()) == SQLITE_DONE) return true;
    error = sqlite3_errmsg(connection_);
    return false;
}

bool buildDatabaseFile(const std::string& path,
                       const std::function<bool(sqlite3*, std::string&)>& fill,
                       std::string& error) {
    std::error_code ec;
    if (fs::exists(path, ec)) {
        error = "文件 “" + path + "” 已存在";
        return false;
    }
    // The process id keeps two programs seeding the same folder at once apart.
    const std::string temporary = path + ".new" + std::to_string(getpid());
    fs::remove(temporary, ec);
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(temporary.c_str(), &raw,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    std::unique_ptr<sqlite3, int (*)(sqlite3*)> connection(raw, sqlite3_close_v2);
    bool ok = rc == SQLITE_OK;
    if (!ok) error = "无法创建 “" + temporary + "”（" + sqlite3_errstr(rc) + "）";
    ok = ok && exec(raw, "PRAGMA journal_mode=OFF; BEGIN", error) && fill(raw, error) &&
         exec(raw, "COMMIT", error);
    connection.reset();
    if (ok) {
        // rename() replaces silently; a file that appeared meanwhile is kept instead.
        if (fs::exists(path, ec)) {
            error = "文件 “" + path + "” 已存在";
            ok = false;
        } else {
            fs::rename(temporary, path, ec);
            if (ec) error = "无法把 “" + temporary + "” 改名为 “" + path + "”：" + ec.message();
            ok = !ec;
        }
    }
    if (!ok) fs::remove(temporary, ec);
    return ok;
}

bool buildTableFile(const std::string& path, const NewTable& table,
                    const std::vector<std::vector<std::optional<std::string>>>& rows,
                    std::string& error) {
    const auto fill = [&](sqlite3* connection, std::string& err) {
        if (!createTable(connection, table, err)) return false;
        RowInserter inserter(connection, table);
        for (std::vector<std::optional<std::string>> row : rows) {
            row.resize(table.columns.size());
            if (!inserter.insert(row, err)) return false;
        }
        return true;
    };
    return buildDatabaseFile(path, fill, error);
}

}  // namespace db
