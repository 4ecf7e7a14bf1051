#include "heat/material_table.h"

#include <algorithm>
#include <array>

#include "db/data_folder.h"
#include "db/row_append.h"
#include "db/schema.h"
#include "heat/conductivity_text.h"

namespace heat {
namespace {

ui::Message refusal(const std::string& text) { return {"添加数据库", text}; }

}  // namespace

std::string insulationDbPath() { return db::databasePath(db::kInsulationFile); }

ui::OptionalMessage openInsulationDb(db::Database& out) {
    if (ui::OptionalMessage unusable = db::seedDataFolder()) return unusable;
    return db::Database::open(insulationDbPath(), out);
}

void chooseMaterial(db::TableCursor& materials, const std::string& name) {
    materials.setIndex("名称");
    materials.seek(db::Comparison::kLessOrEqual, name);
    if (materials.noMatch()) materials.moveFirst();
    materials.setIndex("ID");
}

ui::OptionalMessage addMaterial(const std::string& path, const NewMaterial& material) {
    const db::AppendResult result =
        db::appendNumberedRow(path, "heat", "ID",
                              {{"名称", material.name},
                               {"导热系数", material.conductivity},
                               {"容重", *wholeNumber(material.density)},
                               {"最高使用温度", *wholeNumber(material.maxTemperature)}});
    const auto failure = [&](const char* what) {
        return refusal(std::string(what) + "：" + path + "（" + result.reason + "）");
    };
    switch (result.outcome) {
        case db::AppendOutcome::kAdded:
            break;
        case db::AppendOutcome::kCannotOpen:
            return failure("无法打开数据库文件");
        case db::AppendOutcome::kNoTable:
            return failure("数据库中没有可用的材料表 heat");
        case db::AppendOutcome::kDuplicate:
            return refusal("材料“" + material.name + "”已在数据库中，未添加");
        case db::AppendOutcome::kCannotWrite:
            return failure("无法写入材料表");
    }
    return std::nullopt;
}

ui::OptionalMessage openAirTable(db::TableCursor& air, const db::Database& database) {
    return air.open(database, "air_date", {"热导率", "运动粘度", "普朗特准数"});
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

std::vector<AirRow> readAirRows(const db::TableCursor& air) {
    std::vector<AirRow> rows;
    for (const auto& texts : air.read({"temperture", "热导率", "运动粘度", "普朗特准数"}, -1)) {
        std::array<double, 4> v{};
        bool complete = true;
        for (size_t i = 0; i < v.size(); ++i) {
            const std::optional<double> number = wholeNumber(texts[i]);
            complete = complete && number;
            v[i] = number.value_or(0);
        }
        if (complete) rows.push_back({v[0], v[1], v[2], v[3]});
    }
    std::sort(rows.begin(), rows.end(),
              [](const AirRow& a, const AirRow& b) { return a.temperature < b.temperature; });
    return rows;
}

}  // namespace heat
