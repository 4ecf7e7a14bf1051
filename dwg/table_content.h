// The content of a table from 2008 on (rows, columns, cells with their contents and
// styles, merged ranges), which DWG keeps in a TABLECONTENT object and, from 2010 on,
// within the ACAD_TABLE entity itself; and its DXF, which the TABLECONTENT object has.
#pragma once

#include <string>
#include <vector>

#include "dwg/table_values.h"

namespace dwg {

struct CustomItem {
    std::string name;
    TableValue value;
};

struct CustomData {
    int32_t data = 0;
    std::vector<CustomItem> items;
};

struct CellAttribute {
    uint64_t definition = 0;
    std::string value;
    int32_t index = 0;
};

struct CellContent {
    int32_t type = 0;  // 1 a value, 2 a field, 4 a block
    TableValue value;
    uint64_t object = 0;  // the field or the block
    std::vector<CellAttribute> attributes;
    bool hasFormat = false;
    ContentFormat format;
};

struct CellGeometry {
    Point3 topLeft, center;
    double sizes[4] = {};  // content width and height, width and height
    int32_t flags = 0;
};

struct TableCell {
    int32_t state = 0;
    std::string tooltip;
    CustomData custom;
    bool linked = false;
    uint64_t link = 0;
    int32_t linkRows = 0, linkColumns = 0, linkUnknown = 0;
    std::vector<CellContent> contents;
    CellStyle style;
    int32_t styleId = 0;
    bool hasExtra = false;
    int32_t extra = 0;
    double extraSizes[2] = {};
    int32_t geometryFlags = 0;
    uint64_t extraObject = 0;
    CellGeometry geometry;
};

// A row or a column: its name (columns only), data, style and size.
struct TableLine {
    std::string name;
    CustomData custom;
    CellStyle style;
    int32_t styleId = 0;
    double size = 0;
};

struct CellRange {
    int32_t top = 0, left = 0, bottom = 0, right = 0;
};

struct TableContent {
    std::string name, description;
    std::vector<TableLine> columns, rows;
    std::vector<TableCell> cells;  // row by row, one in each column
    std::vector<uint64_t> fields;
    CellStyle style;
    std::vector<CellRange> merges;
    uint64_t tableStyle = 0;
};

// Reads a table content from its name on; false (the reader stopped) when it does
// not hold together.
bool readTableContent(ObjectFrame& f, TableContent& t);
// Its DXF groups, from subclass AcDbLinkedData to the table style.
void writeTableContent(const TableContent& t, Record& r);

}  // namespace dwg
