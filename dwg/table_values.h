// The parts tables and table styles share: a cell's value (a number, a text, a date,
// a point or an object) with its format, and the cell styles of the table content of
// 2010 on. Their readers never read past the object's data.
#pragma once

#include <cstring>
#include <string>
#include <string_view>

#include "dwg/object_frame.h"

namespace dwg {

// True when `count` items of at least `bitsEach` bits can still be in the data;
// otherwise the reader is stopped (a count no real object has).
bool countFits(BitReader& d, int64_t count, size_t bitsEach);

struct TableValue {
    int32_t flags = 0;  // 1: no value stored
    int32_t type = 0;   // 1 long, 2 double, 4 text, 8 date, 16/32 point, 64 object, 512 general
    int32_t integer = 0;
    double real = 0;
    std::string text;
    std::string bytes;  // a date or a point as stored
    uint64_t object = 0;
    int32_t units = 0;
    std::string format, formatted;
    bool formats = true;  // flags, units and formats are stored (from 2007 on)
};
TableValue readTableValue(ObjectFrame& f);
// As DXF writes a value from 2007 on, from its label (301 CELL_VALUE in a table's
// cell) to 304 ACVALUE_END.
void writeTableValue(const TableValue& v, Record& r, std::string_view label = "CELL_VALUE",
                     int code = 301);
std::string hexBytes(std::string_view bytes);

struct ContentFormat {
    int32_t overrides = 0, flags = 0, valueType = 0, unitType = 0, alignment = 0;
    std::string format;
    double rotation = 0, blockScale = 1, textHeight = 0;
    Color color;
    uint64_t textStyle = 0;
};
ContentFormat readContentFormat(ObjectFrame& f);
// From 300 CONTENTFORMAT to 309 CONTENTFORMAT_END.
void writeContentFormat(const ContentFormat& c, Record& r);

struct CellBorder {
    bool present = false;
    int32_t overrides = 0, type = 1, weight = -2;
    bool invisible = false;
    Color color;
    uint64_t linetype = 0;
    double spacing = 0;
};

struct CellStyle {
    int32_t type = 0;
    bool hasData = false;
    int32_t overrides = 0, mergeFlags = 0, layout = 0;
    Color background;
    ContentFormat content;
    int16_t marginFlags = 0;
    double margins[6] = {};  // vertical, horizontal, bottom, right, spacing x, spacing y
    // Top, right, bottom, left, inside vertical, inside horizontal.
    CellBorder borders[6];
};
CellStyle readCellStyle(ObjectFrame& f);
// As DXF writes a cell style, from 1 TABLEFORMAT_BEGIN to 309 TABLEFORMAT_END.
void writeCellStyle(const CellStyle& s, Record& r);

}  // namespace dwg
