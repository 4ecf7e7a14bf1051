// The insulation database (insulation.db) as the heat-transfer calculation uses it: the
// material table "heat" (名称, 导热系数, 容重, 最高使用温度) and the air table "air_date",
// shared by the heat-transfer window and the command line.
#pragma once

#include <string>
#include <vector>

#include "db/database.h"
#include "db/table_cursor.h"
#include "heat/air_properties.h"
#include "heat/film_air.h"
#include "heat/new_material.h"
#include "ui/message.h"

namespace heat {

// The path of insulation.db in the data folder.
std::string insulationDbPath();

// Opens insulation.db after creating the data folder's missing databases from the seed
// data, as the program does on start.
ui::OptionalMessage openInsulationDb(db::Database& out);

// Positions a material cursor on the material chosen by name, as a layer's list does:
// Seek "<=" on the index "名称" (the last material whose name does not sort after
// `name`), the first row when none does, then back to the index "ID".
void chooseMaterial(db::TableCursor& materials, const std::string& name);

// Appends `material` to the table "heat" of the file at `path` with the next ID. Refuses
// with a message (title "添加数据库") when its name is already there (names compare
// without regard to ASCII case) or the file cannot be written.
// REQUIRES: material passed validateNewMaterial.
ui::OptionalMessage addMaterial(const std::string& path, const NewMaterial& material);

// Opens the air table "air_date" of `database` on `air`, requiring the columns
// CursorAirTable reads.
ui::OptionalMessage openAirTable(db::TableCursor& air, const db::Database& database);

// Every row of the air table behind `air` with all four numbers, in rising temperature,
// for the standard method's interpolation; rows with a field that is not a number are
// left out. The cursor's row does not move.
std::vector<AirRow> readAirRows(const db::TableCursor& air);

// The air table behind a cursor on "air_date": find() seeks "=" on the index
// "temperture"; the cursor then stands on the row found, or stays where it was.
class CursorAirTable : public AirPropertyTable {
public:
    explicit CursorAirTable(db::TableCursor& air) : air_(air) {}
    std::optional<AirProperties> find(int nominal) override;

private:
    db::TableCursor& air_;
};

}  // namespace heat
