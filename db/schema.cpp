#include "db/schema.h"

#include <array>

#include "ui/data_paths.h"

namespace db {
namespace {

using K = ColumnKind;

constexpr ColumnSchema kHeatColumns[] = {{"ID", K::kInteger},
                                       {"名称"},
                                       {"导热系数"},
                                       {"容重", K::kNumber},
                                       {"最高使用温度", K::kNumber}};
constexpr IndexSchema kHeatIndexes[] = {{"ID", "ID"}, {"名称", "名称"}};

constexpr ColumnSchema kAirColumns[] = {{"temperture", K::kInteger},
                                      {"热导率", K::kNumber},
                                      {"运动粘度", K::kNumber},
                                      {"普朗特准数", K::kNumber},
                                      {"热导率_W", K::kNumber}};
constexpr IndexSchema kAirIndexes[] = {{"temperture", "temperture"}};

constexpr ColumnSchema kSteelColumns[] = {{"ID", K::kInteger},
                                        {"钢号"},
                                        {"类别"},
                                        {"C"},
                                        {"Si"},
                                        {"Mn"},
                                        {"P"},
                                        {"S"},
                                        {"Cr"},
                                        {"Ni"},
                                        {"Cu"},
                                        {"硬度HB（退火钢）"},
                                        {"硬度HB（为热处理）"},
                                        {"断面伸缩率ψ（%）"},
                                        {"短标断后伸长率δ5（%）"},
                                        {"屈服点δs(MPa)"},
                                        {"抗拉强度δb(MPa)"},
                                        {"回火温度"},
                                        {"淬火温度"},
                                        {"正火温度"},
                                        {"脱氧方法"}};
constexpr IndexSchema kSteelIndexes[] = {{"ID", "ID"}, {"钢号", "钢号"}};

constexpr ColumnSchema kWorldStandards[] = {{"中国GB"},   {"德国DIN"}, {"法国NF"},
                                          {"日本JIS"},  {"瑞典SS"},  {"英国BS"},
                                          {"美国ASTM"}, {"美国UNS"}, {"国际标准化组织ISO"}};
constexpr ColumnSchema kWorldColumns[] = {
    {"ID", K::kInteger}, {"类别"},   {"中国GB"},   {"德国DIN"}, {"法国NF"},           {"日本JIS"},
    {"瑞典SS"},          {"英国BS"}, {"美国ASTM"}, {"美国UNS"}, {"国际标准化组织ISO"}};
constexpr IndexSchema kWorldIndexes[] = {
    {"ID", "ID"},           {"中国GB", "中国GB"},
    {"德国DIN", "德国DIN"}, {"法国NF", "法国NF"},
    {"日本JIS", "日本JIS"}, {"瑞典SS", "瑞典SS"},
    {"英国BS", "英国BS"},   {"美国ASTM", "美国ASTM"},
    {"美国UNS", "美国UNS"}, {"国际标准化组织ISO", "国际标准化组织ISO"}};

constexpr ColumnSchema kBoltColumns[] = {{"ID", K::kInteger}, {"gb"}, {"name"}};

const std::array<TableSchema, 5> kTables = {{
    {kInsulationFile, "heat", "insulation_heat.csv", kHeatColumns, kHeatIndexes, {}},
    {kInsulationFile, "air_date", "insulation_air_date.csv", kAirColumns, kAirIndexes, {}},
    {kMaterialFile, "CNA_STEEL", "s_material_CNA_STEEL.csv", kSteelColumns, kSteelIndexes, {}},
    {kWorldFile, "s_world", "s_world.csv", kWorldColumns, kWorldIndexes, kWorldStandards},
    {kStandardFile, "bolt_type", "standard_bolt_type.csv", kBoltColumns, {}, {}},
}};

}  // namespace

std::span<const TableSchema> tableSchemas() { return kTables; }

const TableSchema* findTableSchema(std::string_view table) {
    for (const TableSchema& t : kTables)
        if (t.table == table) return &t;
    return nullptr;
}

std::string databasePath(std::string_view file) {
    const std::string dir = file == kStandardFile ? ui::standardDbDir() : ui::dataDir();
    return dir + "/" + std::string(file);
}

}  // namespace db
