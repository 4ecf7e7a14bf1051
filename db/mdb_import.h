// Converting an Access (.mdb) file into a new SQLite database: every user table with its
// columns and rows. A table named like one of the reference tables (schema.h) gets that
// table's column kinds, named indexes and search table; any other table is copied with
// kinds from its Access column types and no index. Binary and OLE columns are kept as
// blobs, dates as ISO text ("2021-06-14 12:45:00", extended dates with their fraction of
// a second). What cannot be kept is named in notes. Built only with mdbtools' libmdb.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "db/database_builder.h"

namespace db {

// The extended date/time of Access 2016 and later, which libmdb does not name.
constexpr int kAccessExtendedDateTime = 0x14;

struct ImportedColumn {
    std::string name;
    int accessType = 0;  // libmdb's col_type (MDB_TEXT, MDB_LONGINT, …)
};

struct ImportedTable {
    std::string name;
    std::vector<ImportedColumn> columns;
    std::vector<std::vector<std::optional<std::string>>> rows;  // nullopt: NULL
};

// The storage of an Access column type; nullopt for the types that have none here
// (attachments and multi-valued fields, types libmdb does not know).
std::optional<ColumnKind> columnKindOf(int accessType);

// The new table for `table`, and for each of its columns the position it takes in the
// new table's rows (-1: left out).
NewTable importLayout(const ImportedTable& table, std::vector<int>& positions);

// False when none of `table`'s columns can be kept: the table is then left out.
bool keepsAColumn(const ImportedTable& table);

// What of `table` the new database does not hold: one text per column left out, naming
// it and why, or one text alone when no column can be kept and the table is left out.
std::vector<std::string> importNotes(const ImportedTable& table);

// Writes `tables` as the new database `path` (refused when it exists, or when it appears
// meanwhile), all or nothing. Tables without a column that can be kept are left out.
bool writeImport(const std::vector<ImportedTable>& tables, const std::string& path,
                 std::string& error);

// Reads every user table of the Access file `path` through libmdb, in a child process:
// a damaged file that crashes libmdb gives an error naming the file, never a crash of
// the program. Texts of Access 97 files are taken as GBK (CP936) unless
// $MDB_JET3_CHARSET says otherwise.
bool readAccessFile(const std::string& path, std::vector<ImportedTable>& tables,
                    std::string& error);

// The same in this process (the child's part of readAccessFile).
bool readAccessFileInProcess(const std::string& path, std::vector<ImportedTable>& tables,
                             std::string& error);

// An extended date/time value as ISO text ("2021-06-14 22:45:12.3456789"); nothing when
// its bytes are not of that type's form.
std::optional<std::string> extendedDateText(std::string_view raw);

// A date/time value (days since 1899-12-30) as ISO text to the second ("1765-06-14
// 12:45:00"); a value outside the years 100 … 9999 as its number.
std::string dateText(double value);

}  // namespace db
