// A prepared SQLite statement that resets itself for reuse (internal to db/). A step
// that fails (a damaged page, a read error) is told apart from the end of the rows.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace db {

class SqlStatement {
public:
    SqlStatement(sqlite3* connection, const std::string& sql) {
        sqlite3_prepare_v3(connection, sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr);
    }
    ~SqlStatement() { sqlite3_finalize(stmt_); }
    SqlStatement(const SqlStatement&) = delete;
    SqlStatement& operator=(const SqlStatement&) = delete;

    bool ok() const { return stmt_ != nullptr; }
    sqlite3_stmt* get() const { return stmt_; }

    // Clears the previous run, its bindings and its failure.
    void reset() {
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
        stepResult_ = SQLITE_OK;
    }
    void bind(int i, std::string_view text) {
        sqlite3_bind_text(stmt_, i, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    }
    void bind(int i, std::int64_t value) { sqlite3_bind_int64(stmt_, i, value); }
    void bind(int i, const sqlite3_value* value) { sqlite3_bind_value(stmt_, i, value); }

    // True on a row; false at the end of the rows and on a failure, which failed() tells.
    bool step() {
        stepResult_ = sqlite3_step(stmt_);
        return stepResult_ == SQLITE_ROW;
    }
    bool failed() const {
        return stepResult_ != SQLITE_OK && stepResult_ != SQLITE_ROW && stepResult_ != SQLITE_DONE;
    }

    // Ends the run once its row has been read: a statement left on a row keeps a read
    // transaction open, and every other connection's write would meet "database is locked".
    void finish() {
        sqlite3_reset(stmt_);
        stepResult_ = SQLITE_OK;
    }

    // Column i as text; "" for NULL.
    std::string text(int i) const {
        const unsigned char* t = sqlite3_column_text(stmt_, i);
        return t ? std::string(reinterpret_cast<const char*>(t),
                               static_cast<std::size_t>(sqlite3_column_bytes(stmt_, i)))
                 : std::string();
    }

private:
    sqlite3_stmt* stmt_ = nullptr;
    int stepResult_ = SQLITE_OK;
};

// "name" quoted as an SQL identifier.
inline std::string sqlName(std::string_view name) {
    std::string q = "\"";
    for (const char c : name) q += c == '"' ? std::string("\"\"") : std::string(1, c);
    return q + "\"";
}

}  // namespace db
