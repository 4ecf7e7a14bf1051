#include "db/csv_reader.h"

#include <fstream>
#include <sstream>

namespace db {
namespace {

// Splits the whole text into records of fields; false when a quote is left open.
bool parse(const std::string& text, std::vector<std::vector<std::string>>& records) {
    std::vector<std::string> record;
    std::string field;
    bool quoted = false;
    bool pending = false;  // a record has begun
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c != '"') {
                field += c;
            } else if (i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else {
                quoted = false;
            }
            continue;
        }
        pending = true;
        if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            record.push_back(std::move(field));
            field.clear();
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            record.push_back(std::move(field));
            field.clear();
            records.push_back(std::move(record));
            record.clear();
            pending = false;
        } else {
            field += c;
        }
    }
    if (quoted) return false;
    if (pending) {
        record.push_back(std::move(field));
        records.push_back(std::move(record));
    }
    return true;
}

}  // namespace

bool readCsv(const std::string& path, CsvTable& table, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "无法读取种子文件 “" + path + "”";
        return false;
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    std::string text = buffer.str();
    if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
    std::vector<std::vector<std::string>> records;
    if (!parse(text, records)) {
        error = "种子文件 “" + path + "” 的引号未闭合";
        return false;
    }
    if (records.empty()) {
        error = "种子文件 “" + path + "” 是空的";
        return false;
    }
    table.header = std::move(records.front());
    table.rows.clear();
    for (std::size_t r = 1; r < records.size(); ++r) {
        std::vector<std::string>& row = records[r];
        if (row.size() == 1 && row[0].empty()) continue;  // a blank line
        if (row.size() > table.header.size()) {
            error = "种子文件 “" + path + "” 第 " + std::to_string(r + 1) + " 行的字段多于表头";
            return false;
        }
        row.resize(table.header.size());
        table.rows.push_back(std::move(row));
    }
    return true;
}

}  // namespace db
