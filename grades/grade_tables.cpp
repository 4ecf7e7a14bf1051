#include "grades/grade_tables.h"

#include "db/schema.h"

namespace grades {
namespace {

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string withoutColon(std::string caption) {
    for (std::string_view colon : {"：", ":"})
        if (caption.ends_with(colon)) caption.resize(caption.size() - colon.size());
    return caption;
}

}  // namespace

ui::OptionalMessage openTable(db::TableCursor& cursor, std::string_view file,
                              const std::string& table) {
    db::Database database;
    if (ui::OptionalMessage failed = db::Database::open(db::databasePath(file), database))
        return failed;
    std::vector<std::string> columns;
    if (const db::TableSchema* schema = db::findTableSchema(table))
        for (const db::ColumnSchema& c : schema->columns) columns.emplace_back(c.name);
    return cursor.open(database, table, columns);
}

std::string resultCsv(const std::vector<std::pair<std::string, std::string>>& captionsAndTexts) {
    std::string csv = "\xEF\xBB\xBF项目,内容\r\n";
    for (const auto& [caption, text] : captionsAndTexts)
        csv += csvField(withoutColon(caption)) + ',' + csvField(text) + "\r\n";
    return csv;
}

}  // namespace grades
