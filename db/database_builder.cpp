#include "db/database_builder.h"

#include <signal.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>

#include "files/placement.h"
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
        case ColumnKind::kBlob:
            return "BLOB";
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

std::string folderOf(const std::string& path) {
    const fs::path folder = fs::path(path).parent_path();
    return folder.empty() ? "." : folder.string();
}

// A build killed midway leaves its temporary "<path>.new<pid>", which nothing would
// ever rename or remove: those of processes that no longer run are removed. A process
// that runs, or whose state cannot be known, keeps its file.
void removeStaleTemporaries(const std::string& path) {
    const std::string prefix = fs::path(path).filename().string() + ".new";
    std::error_code ec;
    for (fs::directory_iterator it(folderOf(path), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() <= prefix.size() || name.size() > prefix.size() + 9 ||
            name.compare(0, prefix.size(), prefix) != 0)
            continue;
        const std::string digits = name.substr(prefix.size());
        if (digits.find_first_not_of("0123456789") != std::string::npos) continue;
        const long pid = std::stol(digits);
        if (pid <= 0 || ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
        std::error_code removed;
        fs::remove(it->path(), removed);
    }
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
        blobs_.push_back(column.second == ColumnKind::kBlob);
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
    for (std::size_t i = 0; i < columnCount_ && i < values.size(); ++i) {
        if (!values[i] || values[i]->empty()) continue;
        const int at = static_cast<int>(i + 1);
        if (blobs_[i])
            sqlite3_bind_blob64(stmt_->get(), at, values[i]->data(), values[i]->size(),
                                SQLITE_TRANSIENT);
        else
            stmt_->bind(at, *values[i]);
    }
    if (sqlite3_step(stmt_->get()) == SQLITE_DONE) return true;
    error = sqlite3_errmsg(connection_);
    return false;
}

bool buildDatabaseFile(const std::string& path,
                       const std::function<bool(sqlite3*, std::string&)>& fill,
                       std::string& error) {
    const std::string taken = "文件 “" + path + "” 已存在";
    std::error_code ec;
    if (fs::exists(fs::symlink_status(path, ec))) {
        error = taken;
        return false;
    }
    removeStaleTemporaries(path);
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
        // A file that appeared meanwhile, made by another process, is kept.
        if (const int e = files::renameNoReplace(temporary, path)) {
            error = e == EEXIST
                        ? taken
                        : "无法把 “" + temporary + "” 改名为 “" + path + "”：" + std::strerror(e);
            ok = false;
        } else {
            // The file is in place either way; a folder that cannot be flushed (some file
            // systems refuse) only leaves the rename to the system's own timing.
            files::syncFolder(folderOf(path));
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
