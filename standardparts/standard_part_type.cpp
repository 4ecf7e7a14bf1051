#include "standardparts/standard_part_type.h"

#include <filesystem>

#include "db/database.h"
#include "db/schema.h"
#include "db/table_cursor.h"

namespace standardparts {

FirstPartType readFirstPartType(const std::string& folder) {
    const std::string path = (std::filesystem::path(folder) / db::kStandardFile).string();
    FirstPartType first;
    db::Database database;
    if ((first.message = db::Database::open(path, database))) return first;
    db::TableCursor cursor;
    if ((first.message = cursor.open(database, "bolt_type", {"gb", "name"}))) return first;
    if (cursor.eof()) {
        first.message = db::databaseError(path, "表 “bolt_type” 中没有记录");
        return first;
    }
    first.gb = cursor.field("gb");
    first.name = cursor.field("name");
    return first;
}

}  // namespace standardparts
