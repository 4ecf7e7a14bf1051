// An open SQLite database file, shared by the cursors opened on it. Opening never
// creates a file: a missing, unreadable or damaged file gives a message naming it, and
// the Database stays closed. Cursors keep the connection alive, so a Database may be
// dropped before its cursors.
#pragma once

#include <memory>
#include <string>

#include "ui/message.h"

struct sqlite3;

namespace db {

class Database {
public:
    Database() = default;  // closed: cursors opened on it are empty

    // Opens the existing file at `path` read-only and checks that it is an SQLite
    // database. On failure returns the message to show ("数据库错误" and a text naming
    // the file and the reason) and leaves `out` closed.
    static ui::OptionalMessage open(const std::string& path, Database& out);

    bool isOpen() const { return connection_ != nullptr; }
    const std::string& path() const { return path_; }

    // Drops this handle's share of the connection; the file closes with the last cursor.
    void close();

    // The raw connection for the cursors in this library; nullptr when closed.
    std::shared_ptr<sqlite3> connection() const { return connection_; }

private:
    std::shared_ptr<sqlite3> connection_;
    std::string path_;
};

// The message for a database that cannot be used: title "数据库错误", text
// "无法使用数据库文件 “PATH”：REASON".
ui::Message databaseError(const std::string& path, const std::string& reason);

// databaseError() for the last failed call on `connection` to the file `path`: a damaged
// file or one that is no database is "不是数据库文件或文件已损坏", anything else names
// SQLite's reason.
ui::Message databaseFailure(const std::string& path, sqlite3* connection);

}  // namespace db
