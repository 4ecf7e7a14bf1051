// Converting an Access (.mdb) file into a new SQLite database: every user table with its
// columns and rows. A table named like one of the reference tables (schema.h) gets that
// table's column kinds, named indexes and search table; any other table is copied with
// kinds from its Access column types and no index. Built only with mdbtools' libmdb.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "db/database_builder.h"

namespace db {

struct ImportedColumn {
    std::string name;
    int accessType = 0;  // libmdb's col_type (MDB_TEXT, MDB_LONGINT, …)
};

struct ImportedTable {
    std::string name;
    std::vector<ImportedColumn> columns;
    std::vector<std::vector<std::optional<std::string>>> rows;  // nullopt: NULL
};

// The storage of an Access column type; nullopt for binary, OLE and attachment columns,
// which are left out.
std::optional<ColumnKind> columnKindOf(int accessType);

// The new table for `table`, and for each of its columns the position it takes in the
// new table's rows (-1: left out).
NewTable importLayout(const ImportedTable& table, std::vector<int>& positions);

// Writes `tables` as the new database `path` (refused when it exists), all or nothing.
bool writeImport(const std::vector<ImportedTable>& tables, const std::string& path,
                 std::string& error);

// Reads every user table of the Access file `path` through libmdb. Texts of Access 97
// files are taken as GBK (CP936) unless $MDB_JET3_CHARSET says otherwise.
bool readAccessFile(const std::string& path, std::vector<ImportedTable>& tables,
                    std::string& error);

}  // namespace db
