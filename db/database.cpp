#include "db/database.h"

#include <sqlite3.h>

#include <filesystem>

namespace db {

ui::Message databaseError(const std::string& path, const std::string& reason) {
    return {"数据库错误", "无法使用数据库文件 “" + path + "”：" + reason};
}

ui::Message databaseFailure(const std::string& path, sqlite3* connection) {
    const int code = sqlite3_errcode(connection);
    if (code == SQLITE_NOTADB || code == SQLITE_CORRUPT)
        return databaseError(path, "不是数据库文件或文件已损坏");
    return databaseError(path, std::string("无法读取（") + sqlite3_errmsg(connection) + "）");
}

ui::OptionalMessage Database::open(const std::string& path, Database& out) {
    out.close();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        const bool unreachable = ec && ec != std::errc::no_such_file_or_directory;
        return databaseError(path, unreachable ? ec.message() : std::string("文件不存在"));
    }
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
    std::shared_ptr<sqlite3> connection(raw, sqlite3_close_v2);
    if (rc != SQLITE_OK)
        return databaseError(path, std::string("无法打开（") + sqlite3_errstr(rc) + "）");
    // SQLite reads the header only on the first query: ask for the schema to find out
    // whether this is a database at all.
    if (sqlite3_exec(raw, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) !=
        SQLITE_OK)
        return databaseFailure(path, raw);
    out.connection_ = std::move(connection);
    out.path_ = path;
    return std::nullopt;
}

void Database::close() {
    connection_.reset();
    path_.clear();
}

}  // namespace db
