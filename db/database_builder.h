// Writing a new database file: its tables, named indexes, trigram search tables and
// rows, all in one transaction under a temporary name that is renamed into place only
// when everything succeeded. Used by seeding and by the import of Access files.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "db/schema.h"

struct sqlite3;

namespace db {

class SqlStatement;

struct NewTable {
    std::string name;
    std::vector<std::pair<std::string, ColumnKind>> columns;
    std::vector<std::pair<std::string, std::string>> indexes;  // (index name, column)
    std::vector<std::string> searchColumns;                    // get "<name>_fts", a trigram table
    // An integer column whose values become the rowids (INTEGER PRIMARY KEY): the table's
    // order then survives VACUUM, which the search table's rowids rely on. "" for none.
    std::string rowidColumn;

    static NewTable fromSchema(const TableSchema& schema);
};

// Creates `table` with its indexes, search table and the triggers keeping that in step.
bool createTable(sqlite3* connection, const NewTable& table, std::string& error);

// Inserts rows into a table made by createTable, one value per column in the order of
// `table.columns`: nullopt and "" are NULL, as an empty cell of an Access table is. The
// bytes of a kBlob column are stored as a blob, any other value as text.
class RowInserter {
public:
    RowInserter(sqlite3* connection, const NewTable& table);
    ~RowInserter();
    RowInserter(const RowInserter&) = delete;
    RowInserter& operator=(const RowInserter&) = delete;

    bool insert(const std::vector<std::optional<std::string>>& values, std::string& error);

private:
    sqlite3* connection_;
    std::unique_ptr<SqlStatement> stmt_;
    std::size_t columnCount_;
    std::vector<bool> blobs_;  // per column
};

// Builds the database file `path` holding only `table` with `rows`, each a value per
// column as for RowInserter (a shorter row ends in NULLs).
bool buildTableFile(const std::string& path, const NewTable& table,
                    const std::vector<std::vector<std::optional<std::string>>>& rows,
                    std::string& error);

// Builds the database file `path` with `fill`, which returns false with `error` set to
// give up. Refuses when `path` exists, and when it appears while the file is built (made
// by another process): the new file never replaces one. On any failure no file is left
// at `path` and the temporary file "<path>.new<pid>" is removed; those that processes no
// longer running left beside `path` are removed first. The folder is flushed after the
// rename.
bool buildDatabaseFile(const std::string& path,
                       const std::function<bool(sqlite3*, std::string&)>& fill, std::string& error);

}  // namespace db
