#include "db/table_cursor.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <map>
#include <unordered_map>

#include "db/find_criteria.h"
#include "db/match_cache.h"
#include "db/sql_statement.h"

namespace db {

// Parameters shared by every statement: ?1 the current row's key in the current order,
// ?2 its rowid, ?3 the key, pattern or row limit of the call.
struct TableCursor::Impl {
    std::shared_ptr<sqlite3> connection;
    std::string path;
    std::string quotedTable;
    std::map<std::string, std::string> indexColumns;  // index name -> its column
    std::string ftsTable;                             // quoted, "" when there is none
    std::vector<std::string> ftsColumns;
    std::string indexColumn;  // quoted column of the current index, "" for table order
    int keyPosition = -1;     // that column's position in the row
    std::unordered_map<std::string, std::unique_ptr<SqlStatement>> statements;
    MatchCache matches;

    ui::OptionalMessage failure;  // the first read that failed
    bool failureAnnounced = false;

    bool hasRow = false;
    std::int64_t rowid = 0;
    std::vector<std::optional<std::string>> values;
    sqlite3_value* key = nullptr;  // the current row's value of the index column

    ~Impl() { sqlite3_value_free(key); }

    SqlStatement* statement(const std::string& sql) {
        if (!connection) return nullptr;
        auto& s = statements[sql];
        if (!s) s = std::make_unique<SqlStatement>(connection.get(), sql);
        if (!s->ok()) return nullptr;
        s->reset();
        return s.get();
    }

    // The current order, forwards or backwards.
    std::string orderBy(bool backwards = false) const {
        const char* dir = backwards ? " DESC" : "";
        if (indexColumn.empty()) return " ORDER BY rowid" + std::string(dir);
        return " ORDER BY " + indexColumn + dir + ", rowid" + dir;
    }

    // The condition for the rows after the current one in the current order. NULL keys
    // sort first, and a row value holding NULL compares as NULL, hence two forms.
    std::string after() const {
        if (indexColumn.empty()) return "rowid > ?2";
        if (!key || sqlite3_value_type(key) == SQLITE_NULL)
            return "((" + indexColumn + " IS NULL AND rowid > ?2) OR " + indexColumn +
                   " IS NOT NULL)";
        return "(" + indexColumn + ", rowid) > (?1, ?2)";
    }

    std::string selectRow() const { return "SELECT rowid, * FROM " + quotedTable; }

    // The statement's next row; a failed step is kept as the cursor's failure.
    bool step(SqlStatement& s) {
        if (s.step()) return true;
        if (s.failed() && !failure) failure = databaseFailure(path, connection.get());
        return false;
    }

    void bindPosition(SqlStatement& s) const {
        if (key) s.bind(1, key);
        s.bind(2, rowid);
    }

    // Takes the statement's first result row (rowid, then every column) as the current
    // row. Returns false, changing nothing, when it has none.
    bool load(SqlStatement* s) {
        if (!s || !step(*s)) return false;
        hasRow = true;
        rowid = sqlite3_column_int64(s->get(), 0);
        const int n = sqlite3_column_count(s->get());
        values.assign(static_cast<std::size_t>(n - 1), std::nullopt);
        sqlite3_value_free(key);
        key = nullptr;
        for (int i = 1; i < n; ++i) {
            if (sqlite3_column_type(s->get(), i) != SQLITE_NULL)
                values[static_cast<std::size_t>(i - 1)] = s->text(i);
            if (i - 1 == keyPosition) key = sqlite3_value_dup(sqlite3_column_value(s->get(), i));
        }
        s->finish();
        return true;
    }

    template <typename Key>
    SqlStatement* seekStatement(Comparison comparison, const Key& value) {
        if (indexColumn.empty()) return nullptr;
        const bool equal = comparison == Comparison::kEqual;
        SqlStatement* s = statement(selectRow() + " WHERE " + indexColumn +
                                    (equal ? " = ?3" : " <= ?3") + orderBy(!equal) + " LIMIT 1");
        if (s) s->bind(3, value);
        return s;
    }

    // The first row in the current order, after the current one when `onward`, whose
    // `column` is LIKE '*text*'. The trigram table, where there is one for the column,
    // narrows the rows to test; SQLite's own LIKE still decides every match, so both
    // ways give the same rows.
    bool find(const std::string& column, std::string_view text, bool onward) {
        const LikePatterns p = likePatterns(text);
        const std::string condition = onward ? " AND " + after() : std::string();
        const bool trigram = p.trigram && std::find(ftsColumns.begin(), ftsColumns.end(), column) !=
                                              ftsColumns.end();
        SqlStatement* s = nullptr;
        if (trigram && indexColumn.empty())
            return findInTableOrder(column, *p.trigram,
                                    onward ? rowid : std::numeric_limits<std::int64_t>::min());
        const std::string match = trigram ? "rowid IN (SELECT rowid FROM " + ftsTable + " WHERE " +
                                                sqlName(column) + " LIKE ?3)"
                                          : sqlName(column) + " LIKE ?3 ESCAPE '\\'";
        s = statement(selectRow() + " WHERE " + match + condition + orderBy() + " LIMIT 1");
        if (!s) return false;
        s->bind(3, trigram ? *p.trigram : p.escaped);
        bindPosition(*s);
        return load(s);
    }

    // find() in table order through the search table: the next match comes from the
    // chunk read ahead, or from a new chunk, and is taken only while the file is
    // unchanged since the chunk was read; otherwise one statement finds it afresh.
    bool findInTableOrder(const std::string& column, const std::string& pattern,
                          std::int64_t after) {
        const bool had = hasRow;
        const std::int64_t was = rowid;
        std::optional<std::int64_t> id = matches.next(column, pattern, after);
        if (!id) id = readChunk(column, pattern, after);
        if (!id) return false;
        if (loadRowid(*id) && matches.readAt(dataVersion())) return true;
        matches.clear();
        SqlStatement* s =
            statement("SELECT c.rowid, c.* FROM " + ftsTable + " AS f JOIN " + quotedTable +
                      " AS c ON c.rowid = f.rowid WHERE f." + sqlName(column) +
                      " LIKE ?3 AND f.rowid > ?2" + " ORDER BY f.rowid LIMIT 1");
        if (s) {
            s->bind(3, pattern);
            s->bind(2, after);
            if (load(s)) return true;
        }
        if (!had || !loadRowid(was)) clearRow();
        return false;
    }

    // Reads the next chunk of matches after `after` into the cache; its first match.
    std::optional<std::int64_t> readChunk(const std::string& column, const std::string& pattern,
                                          std::int64_t after) {
        matches.clear();
        SqlStatement* s = statement("SELECT rowid FROM " + ftsTable + " WHERE " + sqlName(column) +
                                    " LIKE ?3 AND rowid > ?2 ORDER BY rowid" + " LIMIT " +
                                    std::to_string(MatchCache::kChunk));
        if (!s) return std::nullopt;
        s->bind(3, pattern);
        s->bind(2, after);
        std::vector<std::int64_t> chunk;
        while (step(*s)) chunk.push_back(sqlite3_column_int64(s->get(), 0));
        if (chunk.empty()) return std::nullopt;
        const std::int64_t first = chunk.front();
        matches.fill(column, pattern, after, std::move(chunk), dataVersion());
        return first;
    }

    // Changes whenever the file changes, by this connection or any other; read anew at
    // the start of each read transaction.
    unsigned dataVersion() const {
        unsigned version = 0;
        sqlite3_file_control(connection.get(), "main", SQLITE_FCNTL_DATA_VERSION, &version);
        return version;
    }

    bool loadRowid(std::int64_t id) {
        SqlStatement* s = statement(selectRow() + " WHERE rowid = ?2");
        if (!s) return false;
        s->bind(2, id);
        return load(s);
    }

    void loadFirst() {
        if (!load(statement(selectRow() + orderBy() + " LIMIT 1"))) clearRow();
    }

    void clearRow() {
        hasRow = false;
        values.clear();
        sqlite3_value_free(key);
        key = nullptr;
    }
};

namespace {

std::vector<std::string> columnNames(sqlite3* connection, const std::string& quotedTable) {
    std::vector<std::string> names;
    SqlStatement info(connection, "PRAGMA table_info(" + quotedTable + ")");
    while (info.ok() && info.step()) names.push_back(info.text(1));
    return names;
}

}  // namespace

TableCursor::TableCursor(QObject* parent) : QObject(parent), impl_(std::make_unique<Impl>()) {}

TableCursor::~TableCursor() = default;

bool TableCursor::isOpen() const { return impl_->connection != nullptr; }

ui::OptionalMessage TableCursor::open(const Database& database, const std::string& table,
                                      const std::vector<std::string>& requiredColumns) {
    impl_ = std::make_unique<Impl>();
    table_ = table;
    index_.clear();
    columns_.clear();
    noMatch_ = false;
    ui::OptionalMessage failure = [&]() -> ui::OptionalMessage {
        if (!database.isOpen()) return databaseError(database.path(), "数据库未打开");
        sqlite3* c = database.connection().get();
        columns_ = columnNames(c, sqlName(table));
        if (columns_.empty()) return databaseError(database.path(), "缺少表 “" + table + "”");
        for (const std::string& r : requiredColumns)
            if (std::find(columns_.begin(), columns_.end(), r) == columns_.end())
                return databaseError(database.path(), "表 “" + table + "” 缺少列 “" + r + "”");
        return std::nullopt;
    }();
    if (failure) {
        columns_.clear();
        emit rowChanged();
        return failure;
    }
    Impl& d = *impl_;
    d.connection = database.connection();
    d.path = database.path();
    d.quotedTable = sqlName(table);
    SqlStatement indexes(d.connection.get(), "PRAGMA index_list(" + d.quotedTable + ")");
    while (indexes.ok() && indexes.step()) {
        const std::string name = indexes.text(1);
        SqlStatement info(d.connection.get(), "PRAGMA index_info(" + sqlName(name) + ")");
        if (info.ok() && info.step() && !info.text(2).empty()) d.indexColumns[name] = info.text(2);
    }
    const std::string fts = sqlName(table + "_fts");
    if (SqlStatement probe(d.connection.get(), "SELECT rowid FROM " + fts + " WHERE 0");
        probe.ok()) {
        d.ftsTable = fts;
        d.ftsColumns = columnNames(d.connection.get(), fts);
    }
    d.loadFirst();
    if (d.failure) {
        const ui::Message damaged = *d.failure;
        impl_ = std::make_unique<Impl>();
        columns_.clear();
        emit rowChanged();
        return damaged;
    }
    emit rowChanged();
    return std::nullopt;
}

bool TableCursor::setIndex(const std::string& name) {
    if (!name.empty() && !impl_->indexColumns.count(name)) return false;
    index_ = name;
    Impl& d = *impl_;
    d.indexColumn.clear();
    d.keyPosition = -1;
    if (!name.empty()) {
        const std::string& column = d.indexColumns[name];
        d.indexColumn = sqlName(column);
        d.keyPosition = static_cast<int>(std::find(columns_.begin(), columns_.end(), column) -
                                         columns_.begin());
    }
    // Reloading the row picks up its key in the new order.
    if (d.hasRow) d.loadRowid(d.rowid);
    announceFailure();
    return true;
}

void TableCursor::moveFirst() {
    impl_->loadFirst();
    emit rowChanged();
    announceFailure();
}

void TableCursor::moveNext() {
    Impl& d = *impl_;
    if (!d.hasRow) return;
    SqlStatement* s = d.statement(d.selectRow() + " WHERE " + d.after() + d.orderBy() + " LIMIT 1");
    if (s) d.bindPosition(*s);
    if (!d.load(s)) d.clearRow();
    emit rowChanged();
    announceFailure();
}

bool TableCursor::eof() const { return !impl_->hasRow; }

int TableCursor::recordCount() const {
    SqlStatement* s = impl_->statement("SELECT count(*) FROM " + impl_->quotedTable);
    if (!s || !impl_->step(*s)) {
        announceFailure();
        return 0;
    }
    const int n = sqlite3_column_int(s->get(), 0);
    s->finish();
    return n;
}

void TableCursor::seek(Comparison comparison, std::string_view key) {
    matched(impl_->load(impl_->seekStatement(comparison, key)));
}

void TableCursor::seek(Comparison comparison, std::int64_t key) {
    matched(impl_->load(impl_->seekStatement(comparison, key)));
}

void TableCursor::findFirst(const std::string& column, std::string_view text) {
    matched(impl_->find(column, text, false));
}

void TableCursor::findNext(const std::string& column, std::string_view text) {
    matched(impl_->find(column, text, impl_->hasRow));
}

void TableCursor::matched(bool found) {
    noMatch_ = !found;
    if (found) emit rowChanged();
    announceFailure();
}

Bookmark TableCursor::bookmark() const { return {impl_->rowid}; }

bool TableCursor::moveTo(Bookmark bookmark) {
    const bool found = impl_->loadRowid(bookmark.rowid);
    if (found) emit rowChanged();
    announceFailure();
    return found;
}

const ui::OptionalMessage& TableCursor::readFailure() const { return impl_->failure; }

// A failed read is news whatever the call, reading ones included: the signal goes out
// from const members too.
void TableCursor::announceFailure() const {
    if (!impl_->failure || impl_->failureAnnounced) return;
    impl_->failureAnnounced = true;
    emit const_cast<TableCursor*>(this)->readFailed();
}

std::string TableCursor::field(std::string_view name) const {
    const auto it = std::find(columns_.begin(), columns_.end(), name);
    if (!impl_->hasRow || it == columns_.end()) return {};
    return impl_->values[static_cast<std::size_t>(it - columns_.begin())].value_or("");
}

std::optional<double> TableCursor::number(std::string_view name) const {
    const std::string text = field(name);
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}

std::vector<std::vector<std::string>> TableCursor::read(const std::vector<std::string>& columns,
                                                        int maxRows) const {
    std::vector<std::vector<std::string>> rows;
    std::string list;
    for (const std::string& c : columns) {
        if (std::find(columns_.begin(), columns_.end(), c) == columns_.end()) return rows;
        list += (list.empty() ? "" : ", ") + sqlName(c);
    }
    Impl& d = *impl_;
    if (list.empty()) return rows;
    SqlStatement* s =
        d.statement("SELECT " + list + " FROM " + d.quotedTable + d.orderBy() + " LIMIT ?3");
    if (!s) return rows;
    s->bind(3, static_cast<std::int64_t>(maxRows));
    while (d.step(*s)) {
        std::vector<std::string>& row = rows.emplace_back();
        for (int i = 0; i < static_cast<int>(columns.size()); ++i) row.push_back(s->text(i));
    }
    announceFailure();
    return rows;
}

std::vector<std::string> TableCursor::readColumn(const std::string& column, int maxRows) const {
    std::vector<std::string> texts;
    for (std::vector<std::string>& row : read({column}, maxRows))
        texts.push_back(std::move(row[0]));
    return texts;
}

std::vector<std::vector<std::string>> TableCursor::readAll() const { return read(columns_, -1); }

}  // namespace db
