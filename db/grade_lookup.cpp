#include "db/grade_lookup.h"

namespace db {

const std::array<ResultField, 20>& gradeResultFields() {
    static const std::array<ResultField, 20> fields = {{
        {"类别：", "类别"},
        {"钢号：", "钢号"},
        {"C:", "C"},
        {"Si:", "Si"},
        {"Mn:", "Mn"},
        {"P:", "P"},
        {"S:", "S"},
        {"Cr:", "Cr"},
        {"Ni:", "Ni"},
        {"Cu:", "Cu"},
        {"硬度HB（退火钢）:", "硬度HB（退火钢）"},
        {"硬度HB（为热处理）:", "硬度HB（为热处理）"},
        {"断面伸缩率ψ（%）:", "断面伸缩率ψ（%）"},
        {"短标断后伸长率δ5（%）:", "短标断后伸长率δ5（%）"},
        {"屈服点δs(MPa):", "屈服点δs(MPa)"},
        {"抗拉强度δb(MPa):", "抗拉强度δb(MPa)"},
        {"回火温度：", "回火温度"},
        {"淬火温度：", "淬火温度"},
        {"正火温度：", "正火温度"},
        {"脱氧方法：", "脱氧方法"},
    }};
    return fields;
}

std::vector<std::string> gradeList(TableCursor& cursor, const std::function<void(int)>& progress) {
    cursor.setIndex("ID");
    const int n = cursor.recordCount();
    std::vector<std::string> grades;
    const auto rows = cursor.read({"ID", "钢号"}, n);
    for (int i = 1; i <= n && i <= static_cast<int>(rows.size()); ++i) {
        if (rows[static_cast<std::size_t>(i - 1)][0] != std::to_string(i)) break;
        grades.push_back(rows[static_cast<std::size_t>(i - 1)][1]);
        if (progress) progress(i);
    }
    return grades;
}

namespace {

// Seek on index `index` with `comparison`, back to index "ID", and on a miss the
// table's first row: what the windows show for a grade they do not know.
bool seekOrFirst(TableCursor& cursor, const std::string& index, Comparison comparison,
                 std::string_view key) {
    cursor.setIndex(index);
    cursor.seek(comparison, key);
    const bool found = !cursor.noMatch();
    cursor.setIndex("ID");
    if (!found) cursor.moveFirst();
    return found;
}

}  // namespace

bool queryGrade(TableCursor& cursor, std::string_view grade) {
    return seekOrFirst(cursor, "钢号", Comparison::kEqual, grade);
}

std::vector<std::string> standardList(TableCursor& browse, int position) {
    browse.setIndex("ID");
    browse.moveFirst();
    std::vector<std::string> list;
    if (position < 1 || position > 9) return list;
    for (std::string& d :
         browse.readColumn(std::string(kStandards[position - 1]), kStandardListRows))
        if (!d.empty()) list.push_back(std::move(d));
    return list;
}

bool chooseGrade(TableCursor& browse, int position, std::string_view grade) {
    if (position < 1 || position > 9) return false;
    return seekOrFirst(browse, std::string(kStandards[position - 1]), Comparison::kLessOrEqual,
                       grade);
}

void GradeSearch::textEdited() {
    k_ = 1;
    nextEnabled_ = false;
    searchEnabled_ = true;
}

bool GradeSearch::search(std::string_view text) {
    for (k_ = 1; k_ <= 9; ++k_) {
        cursor_.findFirst(std::string(kStandards[k_ - 1]), text);
        if (!cursor_.noMatch()) {
            nextEnabled_ = true;
            searchEnabled_ = false;
            return true;
        }
    }
    k_ = 1;
    return false;
}

bool GradeSearch::next(std::string_view text) {
    if (k_ < 1 || k_ > 9) k_ = 1;
    cursor_.findNext(std::string(kStandards[k_ - 1]), text);
    // A miss leaves the row found last current, so it stays shown when none follows.
    while (cursor_.noMatch() && k_ < 9) cursor_.findFirst(std::string(kStandards[k_++]), text);
    if (!cursor_.noMatch()) return true;
    textEdited();
    return false;
}

ui::Message notFoundMessage() { return {"各国钢号转换系统", "数据未找到"}; }

}  // namespace db
