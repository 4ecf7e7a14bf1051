// The four reference databases: their files, tables, columns and named indexes, and the
// seed file each table is filled from. Seeding, the import of Access files and the
// windows all read this one description.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace db {

// Column storage: kText columns compare case-insensitively (SQLite's NOCASE collation,
// which folds A-Z only) in Seek, in ordering and in the indexes; kNumber columns hold
// integers or reals and keep typed texts such as "13.28e-6" as numbers; kBlob columns
// hold bytes as they are (binary and OLE columns of imported Access tables).
enum class ColumnKind { kText, kNumber, kInteger, kBlob };

struct ColumnSchema {
    std::string_view name;
    ColumnKind kind = ColumnKind::kText;
};

struct IndexSchema {
    std::string_view name;    // the index's SQL name, as the windows ask for it
    std::string_view column;  // the one column it orders by
};

struct TableSchema {
    std::string_view file;     // database file in its folder, e.g. "S_WORLD972.db"
    std::string_view table;    // e.g. "s_world"
    std::string_view seedCsv;  // seed file in the seed folder, e.g. "s_world.csv"
    std::span<const ColumnSchema> columns;
    std::span<const IndexSchema> indexes;
    // Columns searched with FindFirst/FindNext; they get a trigram full-text table
    // "<table>_fts" kept in step with the rows by triggers (empty: none).
    std::span<const ColumnSchema> searchColumns;
};

// The database files: insulation.db, s_material.db, S_WORLD972.db, standard.db.
inline constexpr std::string_view kInsulationFile = "insulation.db";
inline constexpr std::string_view kMaterialFile = "s_material.db";
inline constexpr std::string_view kWorldFile = "S_WORLD972.db";
inline constexpr std::string_view kStandardFile = "standard.db";

// Every table of the four files, insulation.db's "heat" and "air_date" first.
std::span<const TableSchema> tableSchemas();

// The description of `table` ("heat", "air_date", "CNA_STEEL", "s_world", "bolt_type"),
// or nullptr for any other name.
const TableSchema* findTableSchema(std::string_view table);

// The full path of a database file: standard.db lies in ui::standardDbDir(), the
// others in ui::dataDir().
std::string databasePath(std::string_view file);

}  // namespace db
