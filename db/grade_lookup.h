// The look-ups of the two grade windows over "CNA_STEEL" and "s_world", shared by the
// windows and tolvane-cli so that both behave alike. Each function works on a cursor
// opened on the right table; the displays bound to that cursor follow its moves.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "db/table_cursor.h"
#include "ui/message.h"

namespace db {

// --- world steel grade query ("CNA_STEEL") ---

struct ResultField {
    std::string_view caption;  // e.g. "类别：", "C:"
    std::string_view field;    // column of "CNA_STEEL"
};

// The result area in its order: 类别, 钢号, C … Cu, the two hardnesses, ψ, δ5, δs, δb,
// 回火温度, 淬火温度, 正火温度, 脱氧方法.
const std::array<ResultField, 20>& gradeResultFields();

// The grade box list: 钢号 of the rows with ID 1, 2, … up to recordCount(), stopping
// at the first ID that is missing. `progress(i)` is called after entry i. Makes index
// "ID" current; the current row does not move.
std::vector<std::string> gradeList(TableCursor& cursor,
                                   const std::function<void(int)>& progress = {});

// "确定" or a list choice: index "钢号", seek "=" `grade` (either case), index back to
// "ID". Returns false on a miss; the table's first row in ID order is then current.
bool queryGrade(TableCursor& cursor, std::string_view grade);

// --- cross-standard grade conversion ("s_world") ---

// The nine standards in their fixed order, position 1 … 9 = index 0 … 8; each is a
// column of "s_world" and the name of its index.
inline constexpr std::array<std::string_view, 9> kStandards = {
    "中国GB", "德国DIN",  "法国NF",  "日本JIS",          "瑞典SS",
    "英国BS", "美国ASTM", "美国UNS", "国际标准化组织ISO"};

// A standard's list: the non-empty designations under standard `position` (1 … 9) of
// the first 1000 rows in ID order, one entry per row. Leaves the cursor on index "ID"
// at its first row.
inline constexpr int kStandardListRows = 1000;
std::vector<std::string> standardList(TableCursor& browse, int position);

// A grade chosen from a standard's list: index of standard `position`, seek "<="
// `grade` (the last row whose designation is not greater; empty cells are no
// designation), index back to "ID". Returns false on a miss; the table's first row in
// ID order is then current.
bool chooseGrade(TableCursor& browse, int position, std::string_view grade);

// "搜索" and "下一个" over the search cursor, with the search position k.
//
// "下一个" goes on, when standard k holds no further match after the row found last,
// through standards k+1 … 9, each from the table's first row; k becomes the standard
// that matched. When none holds one, the row found last stays current and k is 1.
class GradeSearch {
public:
    explicit GradeSearch(TableCursor& cursor) : cursor_(cursor) {}

    // The grade box text was edited: k = 1, "下一个" off, "搜索" on.
    void textEdited();

    // "搜索": findFirst in standards 1 … 9 in turn; true on the first match, which
    // becomes current, k its position, "下一个" on and "搜索" off. False when no
    // standard matches (show notFoundMessage()): the current row stays, k = 1 and the
    // buttons keep their state.
    bool search(std::string_view text);

    // "下一个": the next match as described above; false when there is none ("下一个"
    // off, "搜索" on, k = 1).
    bool next(std::string_view text);

    int position() const { return k_; }
    bool searchEnabled() const { return searchEnabled_; }
    bool nextEnabled() const { return nextEnabled_; }

private:
    TableCursor& cursor_;
    int k_ = 1;
    bool searchEnabled_ = true;
    bool nextEnabled_ = false;
};

// The message shown when "搜索" finds nothing: "数据未找到", titled with the window's
// caption "各国钢号转换系统".
ui::Message notFoundMessage();

}  // namespace db
