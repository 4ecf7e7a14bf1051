#include "db/row_append.h"

#include <sqlite3.h>

#include <cmath>
#include <memory>

#include "db/sql_statement.h"

namespace db {
namespace {

void bindCell(SqlStatement& stmt, int i, const CellValue& value) {
    if (const auto* text = std::get_if<std::string>(&value)) return stmt.bind(i, *text);
    const double number = std::get<double>(value);
    if (number == std::trunc(number) && std::abs(number) < 1e15)
        stmt.bind(i, static_cast<std::int64_t>(number));
    else
        sqlite3_bind_double(stmt.get(), i, number);
}

// The duplicate check and the insert, inside the caller's transaction.
AppendResult insertUnlessPresent(sqlite3* raw, const std::string& table,
                                 const std::string& idColumn,
                                 const std::vector<std::pair<std::string, CellValue>>& values) {
    const auto failure = [&](AppendOutcome outcome) {
        return AppendResult{outcome, sqlite3_errmsg(raw)};
    };
    const std::string name = sqlName(table);
    const auto& [keyColumn, key] = values.front();
    SqlStatement exists(
        raw, "SELECT 1 FROM " + name + " WHERE " + sqlName(keyColumn) + " = ?1 COLLATE NOCASE");
    if (!exists.ok()) return failure(AppendOutcome::kNoTable);
    bindCell(exists, 1, key);
    if (exists.step()) return {AppendOutcome::kDuplicate, {}};
    if (exists.failed()) return failure(AppendOutcome::kCannotWrite);

    std::string columns = sqlName(idColumn);
    std::string marks;
    for (std::size_t i = 0; i < values.size(); ++i) {
        columns += ", " + sqlName(values[i].first);
        marks += ", ?" + std::to_string(i + 1);
    }
    SqlStatement insert(raw, "INSERT INTO " + name + " (" + columns + ") SELECT COALESCE(MAX(" +
                                 sqlName(idColumn) + "), 0) + 1" + marks + " FROM " + name);
    if (!insert.ok()) return failure(AppendOutcome::kCannotWrite);
    for (std::size_t i = 0; i < values.size(); ++i)
        bindCell(insert, static_cast<int>(i + 1), values[i].second);
    if (sqlite3_step(insert.get()) != SQLITE_DONE) return failure(AppendOutcome::kCannotWrite);
    return {};
}

}  // namespace

AppendResult appendNumberedRow(const std::string& path, const std::string& table,
                               const std::string& idColumn,
                               const std::vector<std::pair<std::string, CellValue>>& values) {
    sqlite3* raw = nullptr;
    const int opened = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    std::unique_ptr<sqlite3, decltype(&sqlite3_close)> connection(raw, &sqlite3_close);
    const auto failure = [&](AppendOutcome outcome) {
        return AppendResult{outcome, sqlite3_errmsg(raw)};
    };
    if (opened != SQLITE_OK) return failure(AppendOutcome::kCannotOpen);
    sqlite3_busy_timeout(raw, 10000);
    // The check and the insert in one write transaction: of two programs adding the
    // same name at once, the second sees the first one's row.
    if (sqlite3_exec(raw, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK)
        return failure(AppendOutcome::kCannotWrite);
    AppendResult result = insertUnlessPresent(raw, table, idColumn, values);
    if (result.outcome == AppendOutcome::kAdded &&
        sqlite3_exec(raw, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
        result = failure(AppendOutcome::kCannotWrite);
    // Whatever else happened, nothing of it stays: a refused row leaves the file as it was.
    if (!sqlite3_get_autocommit(raw)) sqlite3_exec(raw, "ROLLBACK", nullptr, nullptr, nullptr);
    return result;
}

}  // namespace db
