// ACAD_TABLE: a block reference to the anonymous block that draws the table, with the
// table's rows, columns and cells. Up to 2007 the entity holds its cells itself; from
// 2010 on it holds a table content, which DXF still writes as the cells of old.
#include <algorithm>

#include "dwg/decoders.h"
#include "dwg/table_content.h"

namespace dwg {
namespace {

// A cell's style overrides up to 2007 (DXF 177 and the groups its bits announce).
void cellOverrides(ObjectFrame& f, Record& cell, Record& after) {
    BitReader& d = f.data();
    const bool from2007 = f.version() >= Version::R2007;
    if (!d.B()) {
        cell.integer(from2007 ? 91 : 177, 0);
        cell.integer(178, 0);
        return;
    }
    const int32_t flags = d.BL();
    const int virtualEdges = d.RC();
    cell.integer(from2007 ? 91 : 177, flags);
    cell.integer(178, virtualEdges);
    if (flags & 0x01) after.integer(170, d.BS());
    if (flags & 0x02) after.integer(283, d.B());
    if (flags & 0x04) after.integer(63, d.CMC2004().index);
    if (flags & 0x08) after.integer(64, d.CMC2004().index);
    if (flags & 0x10) after.nameOf(7, f.ref());
    if (flags & 0x20) after.real(140, d.BD());
    // The edges top, right, bottom, left: colour, lineweight, visibility.
    static const int kColor[] = {69, 65, 66, 68}, kWeight[] = {279, 275, 276, 278},
                     kVisible[] = {289, 285, 286, 288};
    for (int edge = 0; edge < 4; ++edge) {
        if (flags & (0x40 << edge)) after.integer(kColor[edge], d.CMC2004().index);
        if (flags & (0x400 << edge)) after.integer(kWeight[edge], d.BS());
        if (flags & (0x4000 << edge)) after.integer(kVisible[edge], d.BS());
    }
}

// The cells of a table up to 2007, row by row, as DXF groups.
void legacyCells(ObjectFrame& f, int64_t count, Record& cells) {
    BitReader& d = f.data();
    const bool from2007 = f.version() >= Version::R2007;
    for (int64_t i = 0; i < count && !d.failed(); ++i) {
        const int type = d.BS();
        const int edges = d.RC();
        const bool merged = d.B();
        const bool autofit = d.B();
        const int32_t columns = d.BL();
        const int32_t rows = d.BL();
        const double rotation = d.BD();
        const uint64_t content = f.ref();  // a field (text cells) or a block
        cells.integer(171, type);
        cells.integer(172, edges);
        cells.integer(173, merged);
        cells.integer(174, autofit);
        cells.integer(175, columns);
        cells.integer(176, rows);
        Record text, after;
        if (type == 1 && content == 0 && !from2007) text.text(1, d.TV());
        if (type == 1 && content != 0) text.hex(344, content);
        if (type == 2) {
            text.hex(340, content);
            text.real(144, d.BD());
            if (d.B()) {
                const int count = d.BS();
                if (!countFits(d, count, 3)) break;
                text.integer(179, count);
                for (int a = 0; a < count && !d.failed(); ++a) {
                    text.hex(331, f.ref());
                    d.BS();
                    text.text(300, d.TV());
                }
            }
        }
        cellOverrides(f, cells, after);
        cells.real(145, degrees(rotation));
        for (Group& g : text.groups) cells.groups.push_back(std::move(g));
        for (Group& g : after.groups) cells.groups.push_back(std::move(g));
        if (from2007) {
            d.BL();
            cells.integer(92, 0);
            writeTableValue(readTableValue(f), cells);
        }
    }
}

// The overrides of the whole table up to 2007: its flags, then what their bits name.
void tableOverrides(ObjectFrame& f, Record& table, Record& heights) {
    BitReader& d = f.data();
    int32_t flags = 0, colors = 0, weights = 0, visibility = 0;
    Record groups;
    if (d.B()) {
        flags = d.BL();
        if (flags & 0x01) groups.integer(280, d.B());
        if (flags & 0x04) groups.integer(70, d.BS());
        if (flags & 0x08) groups.real(40, d.BD());
        if (flags & 0x10) groups.real(41, d.BD());
        for (int row = 0; row < 3; ++row)
            if (flags & (0x20 << row)) groups.integer(64, d.CMC2004().index);
        for (int row = 0; row < 3; ++row)
            if (flags & (0x100 << row)) groups.integer(283, d.B());
        for (int row = 0; row < 3; ++row)
            if (flags & (0x800 << row)) groups.integer(63, d.CMC2004().index);
        for (int row = 0; row < 3; ++row)
            if (flags & (0x4000 << row)) groups.integer(170, d.BS());
        for (int row = 0; row < 3; ++row)
            if (flags & (0x20000 << row)) groups.nameOf(7, f.ref());
        for (int row = 0; row < 3; ++row)
            if (flags & (0x100000 << row)) heights.real(140, d.BD());
    }
    static const int kBorderColor[] = {64, 65, 66, 63, 68, 69};
    if (d.B()) {
        colors = d.BL();
        for (int i = 0; i < 18; ++i)
            if (colors & (1 << i)) groups.integer(kBorderColor[i % 6], d.CMC2004().index);
    }
    if (d.B()) {
        weights = d.BL();
        for (int i = 0; i < 18; ++i)
            if (weights & (1 << i)) groups.integer(274 + i % 6, d.BS());
    }
    if (d.B()) {
        visibility = d.BL();
        for (int i = 0; i < 18; ++i)
            if (visibility & (1 << i)) groups.integer(284 + i % 6, d.BS());
    }
    table.integer(93, flags);
    table.integer(94, colors);
    table.integer(95, weights);
    table.integer(96, visibility);
    for (Group& g : groups.groups) table.groups.push_back(std::move(g));
}

uint64_t blockOf(const Record& r) {
    for (const Group& g : r.groups)
        if (g.code == 2 && g.isName) return g.ref;
    return 0;
}

void append(Record& to, Record& from) {
    for (Group& g : from.groups) to.groups.push_back(std::move(g));
}

// Up to 2007.
void legacyTable(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    const int flags = d.BS();
    const Point3 direction = d.BD3();
    const int32_t columns = d.BL();
    const int32_t rows = d.BL();
    // Every width, height and cell takes at least two bits.
    if (!countFits(d, columns, 2) || !countFits(d, rows, 2) ||
        !countFits(d, static_cast<int64_t>(columns) * rows + columns + rows, 2))
        return;
    Record sizes;
    std::vector<double> widths(static_cast<size_t>(columns));
    for (double& w : widths) w = d.BD();
    for (int32_t i = 0; i < rows && !d.failed(); ++i) sizes.real(141, d.BD());
    for (const double w : widths) sizes.real(142, w);
    const uint64_t style = f.ref();
    Record cells, table, heights;
    legacyCells(f, static_cast<int64_t>(columns) * rows, cells);
    tableOverrides(f, table, heights);

    r.marker("AcDbTable");
    r.hex(342, style);
    r.hex(343, blockOf(r));
    r.point(11, direction);
    r.integer(90, flags);
    r.integer(91, rows);
    r.integer(92, columns);
    append(r, table);
    append(r, heights);
    append(r, sizes);
    append(r, cells);
}

// The legacy cell groups of a table content's cells, row by row: a cell shows its
// first content, and each merged range spans from its first cell and covers the
// others. Ranges are taken as they come, no cell covered twice, so that hostile ranges
// cost no more than the cells there are.
void contentCells(const TableContent& t, Record& cells) {
    const size_t columns = t.columns.size();
    const size_t count = t.cells.size();
    const size_t rows = columns ? count / columns : 0;
    std::vector<int32_t> widths(count, 1), heights(count, 1);
    std::vector<bool> covered(count, false);
    for (const CellRange& m : t.merges) {
        if (m.top < 0 || m.left < 0 || m.bottom < m.top || m.right < m.left ||
            static_cast<size_t>(m.bottom) >= rows || static_cast<size_t>(m.right) >= columns)
            continue;
        const auto at = [&](int32_t row, int32_t column) {
            return static_cast<size_t>(row) * columns + static_cast<size_t>(column);
        };
        if (covered[at(m.top, m.left)]) continue;
        widths[at(m.top, m.left)] = m.right - m.left + 1;
        heights[at(m.top, m.left)] = m.bottom - m.top + 1;
        bool overlaps = false;
        for (int32_t row = m.top; row <= m.bottom && !overlaps; ++row) {
            for (int32_t column = m.left; column <= m.right && !overlaps; ++column) {
                if (row == m.top && column == m.left) continue;
                overlaps = covered[at(row, column)];
                covered[at(row, column)] = true;
            }
        }
    }
    for (size_t k = 0; k < count; ++k) {
        const CellContent none;
        const CellContent& c = t.cells[k].contents.empty() ? none : t.cells[k].contents[0];
        cells.integer(171, c.type == 4 ? 2 : 1);
        cells.integer(172, 0);
        cells.integer(173, covered[k]);
        cells.integer(174, 0);
        cells.integer(175, widths[k]);
        cells.integer(176, heights[k]);
        cells.integer(91, 0);
        cells.integer(178, 0);
        cells.real(145, degrees(c.hasFormat ? c.format.rotation : 0.0));
        if (c.type == 4) cells.hex(340, c.object);
        if (c.type == 2) cells.hex(344, c.object);
        cells.integer(92, 0);
        TableValue empty;  // as the drawing program writes a cell without a value
        empty.flags = 7;
        writeTableValue(c.type == 1 ? c.value : empty, cells);
    }
}

// From 2010 on: the table content, then the direction and how the table breaks.
void contentTable(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    const int version = d.RC();
    f.ref();
    d.BL();
    if (f.version() >= Version::R2013) {
        d.BL();
    } else {
        d.B();
    }
    TableContent content;
    if (!readTableContent(f, content)) return;
    d.BS();
    const Point3 direction = d.BD3();
    if (d.BL() == 1) {
        d.BL();
        d.BL();
        d.BD();
        d.BL();
        d.BL();
        const int32_t positions = d.BL();
        if (!countFits(d, positions, 8)) return;
        for (int32_t i = 0; i < positions && !d.failed(); ++i) {
            d.BD3();
            d.BD();
            d.BL();
        }
    }
    const int32_t breaks = d.BL();
    if (!countFits(d, breaks, 8)) return;
    for (int32_t i = 0; i < breaks && !d.failed(); ++i) {
        d.BD3();
        d.BL();
        d.BL();
    }
    if (d.failed()) return;

    Record cells, heights, widths;
    contentCells(content, cells);
    for (const TableLine& row : content.rows) heights.real(141, row.size);
    for (const TableLine& column : content.columns) widths.real(142, column.size);
    const CellStyle& style = content.style;
    r.marker("AcDbTable");
    r.integer(280, version);
    r.hex(342, content.tableStyle);
    r.hex(343, blockOf(r));
    r.point(11, direction);
    // The flags of old: a block (0x06) and, unless the table flows upwards, downwards.
    r.integer(90, 0x06 | (style.overrides & 0x10000 ? 0 : 0x10));
    r.integer(91, static_cast<int64_t>(content.rows.size()));
    r.integer(92, static_cast<int64_t>(content.columns.size()));
    const bool margins = style.hasData && (style.marginFlags & 1);
    r.integer(93, margins ? 0x18 : 0);
    r.integer(94, 0);
    r.integer(95, 0);
    r.integer(96, 0);
    if (margins) {
        r.real(40, style.margins[1]);
        r.real(41, style.margins[0]);
    }
    append(r, heights);
    append(r, widths);
    append(r, cells);
}

}  // namespace

void decodeTable(ObjectFrame& f, Record& r) {
    proxyGraphics(f, r);  // how a program that draws no tables shows it
    decodeInsert(f, r);
    if (f.version() >= Version::R2010) {
        contentTable(f, r);
    } else {
        legacyTable(f, r);
    }
}

}  // namespace dwg
