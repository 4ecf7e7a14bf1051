// Adding one row to a table of an existing database file, numbered after the table's
// last row and refused when its key is already there. The only write the programs make
// to a reference database once it has been built.
#pragma once

#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace db {

// A value to store: text as given, a number as an integer when it is whole.
using CellValue = std::variant<std::string, double>;

enum class AppendOutcome { kAdded, kCannotOpen, kNoTable, kDuplicate, kCannotWrite };

struct AppendResult {
    AppendOutcome outcome = AppendOutcome::kAdded;
    std::string reason;  // SQLite's message, for kCannotOpen, kNoTable and kCannotWrite
};

// Appends to `table` of the file at `path` (never created) a row with `values`, each
// (column, value), and `idColumn` set to one more than its largest (1 when empty).
// Refuses with kDuplicate when a row's first column in `values` already holds the first
// value, text comparing without regard to ASCII case.
AppendResult appendNumberedRow(const std::string& path, const std::string& table,
                               const std::string& idColumn,
                               const std::vector<std::pair<std::string, CellValue>>& values);

}  // namespace db
