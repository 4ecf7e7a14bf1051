// A cursor over one table of a Database: the record-set behaviour the windows rely on.
//
// The cursor walks the table in the order of its current index (table order, that is
// insertion order, while no index is set), holds a copy of its current row, and emits
// rowChanged() whenever that row changes, so that displays bound to it (bound_display.h)
// always show the current row. Text keys compare case-insensitively in SQLite's NOCASE
// collation, the same one the indexes and every ordering use.
//
// A cursor on a closed Database, or one whose open failed, is empty: eof() is true,
// recordCount() is 0 and every field reads as "". A read that fails on a damaged file is
// not taken for a missing row: readFailure() says so, and readFailed() is emitted. Nothing
// here ever writes the file.
//
// The class is a QObject only for its signal; it uses QtCore and no widgets. Connect
// labels with bindDisplay(), or directly:
//     connect(&cursor, &db::TableCursor::rowChanged, label, [&] { ... });
#pragma once

#include <QObject>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/database.h"
#include "ui/message.h"

namespace db {

enum class Comparison {
    kEqual,        // Seek "=": the first row, in index order, whose key equals the key
    kLessOrEqual,  // Seek "<=": the last row, in index order, whose key is not greater
};

// A row's place in its table, valid for the life of the cursor's file.
struct Bookmark {
    std::int64_t rowid = 0;
    bool operator==(const Bookmark&) const = default;
};

class TableCursor : public QObject {
    Q_OBJECT

public:
    explicit TableCursor(QObject* parent = nullptr);
    ~TableCursor() override;

    // Opens `table` of `database` and positions on its first row (eof() when it has none).
    // Fails with a message naming the file when the database is closed or damaged (its
    // first row included), the table is missing, or it lacks one of `requiredColumns`;
    // the cursor is then empty.
    ui::OptionalMessage open(const Database& database, const std::string& table,
                             const std::vector<std::string>& requiredColumns = {});
    bool isOpen() const;
    const std::string& table() const { return table_; }

    // --- order ---
    // Makes the index `name` current ("" = table order). Returns false and keeps the
    // current index when the table has no such index. The current row does not move.
    bool setIndex(const std::string& name);
    const std::string& index() const { return index_; }

    // --- seek on the current index ---
    // REQUIRES: an index is current. On a match the row becomes current and noMatch()
    // is false. On a miss noMatch() is true and the current row stays as it was
    // (callers move on with moveFirst, as the windows do).
    void seek(Comparison comparison, std::string_view key);
    void seek(Comparison comparison, std::int64_t key);
    bool noMatch() const { return noMatch_; }

    // --- moving ---
    void moveFirst();  // eof() when the table is empty
    void moveNext();   // past the last row: eof(), no current row, fields read ""
    bool eof() const;
    int recordCount() const;  // rows in the table

    // --- find: [column] LIKE '*text*' ---
    // findFirst: the first row in the current order whose `column` contains `text`;
    // findNext: the next such row after the current one (from the first row at eof()).
    // "*" in `text` matches any run of characters; every other character, quotes, "%",
    // "_" and "?" included, matches itself; ASCII letters match either case. The text is
    // a bound parameter, never part of the SQL. On a miss noMatch() is true and the
    // current row stays. An unknown column is a miss.
    void findFirst(const std::string& column, std::string_view text);
    void findNext(const std::string& column, std::string_view text);

    // --- Bookmark ---
    // REQUIRES: !eof() for bookmark(). moveTo returns false, and nothing moves, when the
    // row no longer exists.
    Bookmark bookmark() const;
    bool moveTo(Bookmark bookmark);

    // --- fields of the current row ---
    // The field's text as stored ("" for NULL, at eof(), or for an unknown field). Numbers
    // read in SQLite's text form ("0.02098", "1.328e-05", "2150").
    std::string field(std::string_view name) const;
    // The field as a number; nullopt for NULL, text that is not wholly a number, eof() or
    // an unknown field.
    std::optional<double> number(std::string_view name) const;
    const std::vector<std::string>& columns() const { return columns_; }

    // --- failure ---
    // The first read since open() that failed (a damaged page, an I/O error), as the
    // "数据库错误" message naming the file; nothing while every read succeeded. What could
    // not be read is missing: the row stays as it was or is gone, lists stop short.
    const ui::OptionalMessage& readFailure() const;

    // --- bulk reads that leave the current row alone (lists and grids) ---
    // The texts of `columns` for the first `maxRows` rows in the current order (-1: all);
    // nothing when one of the columns is unknown.
    std::vector<std::vector<std::string>> read(const std::vector<std::string>& columns,
                                               int maxRows) const;
    // The texts of `column` for the first `maxRows` rows in the current order.
    std::vector<std::string> readColumn(const std::string& column, int maxRows) const;
    // Every row in the current order, each a vector of texts in columns() order.
    std::vector<std::vector<std::string>> readAll() const;

signals:
    // The current row changed (moved, seek/find matched, reopened, or eof() reached).
    void rowChanged();
    // A read failed for the first time since open(): readFailure() says why.
    void readFailed();

private:
    void matched(bool found);
    void announceFailure() const;

    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::string table_;
    std::string index_;
    std::vector<std::string> columns_;
    bool noMatch_ = false;
};

}  // namespace db
