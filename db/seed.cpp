#include "db/seed.h"

#include <algorithm>
#include <filesystem>

#include "db/csv_reader.h"
#include "db/database_builder.h"

namespace fs = std::filesystem;

namespace db {
namespace {

// Fills `schema`'s table from its seed file; the header may order the columns freely but
// must hold every one of them.
bool seedTable(sqlite3* connection, const TableSchema& schema, const std::string& seedDir,
               std::string& error) {
    CsvTable csv;
    const std::string csvPath = seedDir + "/" + std::string(schema.seedCsv);
    if (!readCsv(csvPath, csv, error)) return false;
    std::vector<std::size_t> source;
    for (const ColumnSchema& c : schema.columns) {
        const auto it = std::find(csv.header.begin(), csv.header.end(), c.name);
        if (it == csv.header.end()) {
            error = "种子文件 “" + csvPath + "” 缺少列 “" + std::string(c.name) + "”";
            return false;
        }
        source.push_back(static_cast<std::size_t>(it - csv.header.begin()));
    }
    const NewTable table = NewTable::fromSchema(schema);
    if (!createTable(connection, table, error)) return false;
    RowInserter inserter(connection, table);
    std::vector<std::optional<std::string>> values(source.size());
    for (std::size_t r = 0; r < csv.rows.size(); ++r) {
        for (std::size_t i = 0; i < source.size(); ++i) values[i] = csv.rows[r][source[i]];
        if (!inserter.insert(values, error)) {
            error = "种子文件 “" + csvPath + "” 第 " + std::to_string(r + 2) + " 行：" + error;
            return false;
        }
    }
    return true;
}

}  // namespace

ui::OptionalMessage createDatabase(const std::string& file, const std::string& path,
                                   const std::string& seedDir) {
    std::string error;
    const auto fill = [&](sqlite3* connection, std::string& err) {
        for (const TableSchema& schema : tableSchemas())
            if (schema.file == file && !seedTable(connection, schema, seedDir, err)) return false;
        return true;
    };
    if (buildDatabaseFile(path, fill, error)) return std::nullopt;
    return ui::Message{"数据库错误", "无法创建数据库文件 “" + path + "”：" + error};
}

std::vector<ui::Message> seedDatabases(const std::string& dataDir, const std::string& standardDir,
                                       const std::string& seedDir) {
    std::vector<ui::Message> problems;
    for (const std::string_view file :
         {kInsulationFile, kMaterialFile, kWorldFile, kStandardFile}) {
        const std::string dir = file == kStandardFile ? standardDir : dataDir;
        const std::string path = dir + "/" + std::string(file);
        std::error_code ec;
        if (fs::exists(path, ec) || ec) continue;
        if (auto problem = createDatabase(std::string(file), path, seedDir))
            problems.push_back(std::move(*problem));
    }
    return problems;
}

}  // namespace db
