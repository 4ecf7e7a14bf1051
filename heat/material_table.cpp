#include "heat/material_table.h"

#include <sqlite3.h>

#include <cmath>
#include <memory>

#include "app/data_seed.h"
#include "db/schema.h"
#include "heat/conductivity_text.h"

namespace heat {
namespace {

ui::Message refusal(const std::string& text) { return {"添加数据库", text}; }

using Connection = std::unique_ptr<sqlite3, decltype(&sqlite3_close)>;
using Statement = std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)>;

Statement prepare(sqlite3* connection, const char* sql) {
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(connection, sql, -1, &stmt, nullptr);
    return Statement(stmt, &sqlite3_finalize);
}

void bindText(sqlite3_stmt* stmt, int i, const std::string& text) {
    sqlite3_bind_text(stmt, i, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

// Whole numbers are stored as integers, as the seed's densities and temperatures are.
void bindNumber(sqlite3_stmt* stmt, int i, const std::string& text) {
    const double value = *wholeNumber(text);
    if (value == std::trunc(value) && std::abs(value) < 1e15)
        sqlite3_bind_int64(stmt, i, static_cast<sqlite3_int64>(value));
    else
        sqlite3_bind_double(stmt, i, value);
}

}  // namespace

std::string insulationDbPath() { return db::databasePath(db::kInsulationFile); }

ui::OptionalMessage openInsulationDb(db::Database& out) {
    app::seedDataFolder();
    return db::Database::open(insulationDbPath(), out);
}

void chooseMaterial(db::TableCursor& materials, const std::string& name) {
    materials.setIndex("名称");
    materials.seek(db::Comparison::kLessOrEqual, name);
    if (materials.noMatch()) materials.moveFirst();
    materials.setIndex("ID");
}

ui::OptionalMessage addMaterial(const std::string& path, const NewMaterial& material) {
    sqlite3* raw = nullptr;
    const int opened = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    Connection connection(raw, &sqlite3_close);
    const auto failure = [&](const char* what) {
        return refusal(std::string(what) + "：" + path + "（" + sqlite3_errmsg(connection.get()) +
                       "）");
    };
    if (opened != SQLITE_OK) return failure("无法打开数据库文件");
    sqlite3_busy_timeout(raw, 2000);

    Statement exists = prepare(raw, "SELECT 1 FROM heat WHERE 名称 = ?1 COLLATE NOCASE");
    if (!exists) return failure("数据库中没有可用的材料表 heat");
    bindText(exists.get(), 1, material.name);
    if (sqlite3_step(exists.get()) == SQLITE_ROW)
        return refusal("材料“" + material.name + "”已在数据库中，未添加");

    Statement insert = prepare(raw,
                               "INSERT INTO heat (ID, 名称, 导热系数, 容重, 最高使用温度) "
                               "SELECT COALESCE(MAX(ID), 0) + 1, ?1, ?2, ?3, ?4 FROM heat");
    if (!insert) return failure("无法写入材料表");
    bindText(insert.get(), 1, material.name);
    bindText(insert.get(), 2, material.conductivity);
    bindNumber(insert.get(), 3, material.density);
    bindNumber(insert.get(), 4, material.maxTemperature);
    if (sqlite3_step(insert.get()) != SQLITE_DONE) return failure("无法写入材料表");
    return std::nullopt;
}

std::optional<AirProperties> CursorAirTable::find(int nominal) {
    air_.setIndex("temperture");
    air_.seek(db::Comparison::kEqual, nominal);
    if (air_.noMatch()) return std::nullopt;
    const auto lambda = air_.number("热导率");
    const auto nu = air_.number("运动粘度");
    const auto pr = air_.number("普朗特准数");
    if (!lambda || !nu || !pr) return std::nullopt;
    return AirProperties{
        *lambda, *nu, *pr, air_.field("热导率"), air_.field("运动粘度"), air_.field("普朗特准数")};
}

}  // namespace heat
