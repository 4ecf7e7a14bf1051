// TABLESTYLE: the margins, flow and the styles of a table's data, title and header
// rows. Up to 2007 the object holds the row styles; from 2010 on it holds cell styles,
// which DXF still writes as the row styles of old.
#include "dwg/decoders.h"
#include "dwg/table_values.h"

namespace dwg {
namespace {

struct RowBorder {
    int weight = -2;
    bool visible = true;
    int color = 0;
};

// A row style as DXF writes it.
struct RowStyle {
    uint64_t textStyle = 0;
    double height = 0;
    int alignment = 1, textColor = 0, fillColor = 7;
    bool fill = false;
    int32_t dataType = 512, unitType = 0;
    std::string format;
    RowBorder borders[6];  // top, horizontal inside, bottom, left, vertical inside, right
};

void writeRowStyle(const RowStyle& s, Version version, Record& r) {
    r.nameOf(7, s.textStyle);
    r.real(140, s.height);
    r.integer(170, s.alignment);
    r.integer(62, s.textColor);
    r.integer(63, s.fillColor);
    r.integer(283, s.fill);
    if (version >= Version::R2007) {
        r.integer(90, s.dataType);
        r.integer(91, s.unitType);
        r.text(1, s.format);
    }
    for (int i = 0; i < 6; ++i) {
        r.integer(274 + i, s.borders[i].weight);
        r.integer(284 + i, s.borders[i].visible);
        r.integer(64 + i, s.borders[i].color);
    }
}

RowStyle legacyRowStyle(ObjectFrame& f) {
    BitReader& d = f.data();
    RowStyle s;
    s.textStyle = f.ref();
    s.height = d.BD();
    s.alignment = d.BS();
    s.textColor = d.CMC2004().index;
    s.fillColor = d.CMC2004().index;
    s.fill = d.B();
    for (RowBorder& b : s.borders) {
        b.weight = d.BS();
        b.visible = d.B();
        b.color = d.CMC2004().index;
    }
    if (f.version() >= Version::R2007) {
        s.dataType = d.BL();
        s.unitType = d.BL();
        s.format = d.TV();
    }
    return s;
}

// A cell style of 2010 on as the row style of old; its borders by edge (top, right,
// bottom, left, inside vertical, inside horizontal) to the row style's order.
RowStyle rowStyleOf(const CellStyle& c) {
    RowStyle s;
    s.textStyle = c.content.textStyle;
    s.height = c.content.textHeight;
    s.alignment = c.content.alignment;
    s.textColor = c.content.color.index;
    // A background of no colour (BYBLOCK, BYLAYER, none) is the white of old.
    const int background = c.background.index;
    s.fillColor = background >= 1 && background <= 255 ? background : 7;
    s.fill = c.background.index != 257 && (c.overrides & 0x200) != 0;
    s.dataType = c.content.valueType;
    s.unitType = c.content.unitType;
    s.format = c.content.format;
    static const int kEdge[] = {0, 5, 2, 3, 4, 1};
    for (int i = 0; i < 6; ++i) {
        const CellBorder& b = c.borders[kEdge[i]];
        if (!b.present) continue;
        s.borders[i] = RowBorder{b.weight, !b.invisible, b.color.index};
    }
    return s;
}

void legacyStyle(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    const std::string description = d.TV();
    const int flow = d.BS();
    const int flags = d.BS();
    const double horizontal = d.BD();
    const double vertical = d.BD();
    const bool noTitle = d.B();
    const bool noHeader = d.B();
    RowStyle rows[3];
    for (RowStyle& s : rows) s = legacyRowStyle(f);
    r.marker("AcDbTableStyle");
    r.text(3, description);
    r.integer(70, flow);
    r.integer(71, flags);
    r.real(40, horizontal);
    r.real(41, vertical);
    r.integer(280, noTitle);
    r.integer(281, noHeader);
    for (const RowStyle& s : rows) writeRowStyle(s, f.version(), r);
}

void cellStyles(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    const int version = d.RC();
    const std::string description = d.TV();
    d.BL();
    d.BL();
    f.ref();
    const CellStyle table = readCellStyle(f);
    d.BL();
    d.BL();
    d.TV();
    const int32_t count = d.BL();
    if (!countFits(d, count, 8)) return;
    // Data, title and header, by their ids 3, 1 and 2.
    CellStyle rows[3];
    for (int32_t i = 0; i < count && !d.failed(); ++i) {
        d.BL();
        CellStyle s = readCellStyle(f);
        const int32_t id = d.BL();
        d.BL();
        d.TV();
        if (id >= 1 && id <= 3) rows[id % 3] = s;
    }
    r.marker("AcDbTableStyle");
    r.integer(280, version);
    r.text(3, description);
    r.integer(70, (table.overrides & 0x10000) != 0);
    r.integer(71, 0);
    r.real(40, table.margins[1]);
    r.real(41, table.margins[0]);
    r.integer(280, 0);
    r.integer(281, 0);
    for (const CellStyle& s : rows) writeRowStyle(rowStyleOf(s), f.version(), r);
}

}  // namespace

void decodeCellStyleMap(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    const int32_t count = d.BL();
    if (!countFits(d, count, 8)) return;
    r.marker("AcDbCellStyleMap");
    r.integer(90, count);
    for (int32_t i = 0; i < count && !d.failed(); ++i) {
        const CellStyle s = readCellStyle(f);
        const int32_t id = d.BL();
        const int32_t kind = d.BL();
        const std::string name = d.TV();
        r.text(300, "CELLSTYLE");
        writeCellStyle(s, r);
        r.text(1, "CELLSTYLE_BEGIN");
        r.integer(90, id);
        r.integer(91, kind);
        r.text(300, name);
        r.text(309, "CELLSTYLE_END");
    }
}

void decodeTableStyle(ObjectFrame& f, Record& r) {
    if (f.version() >= Version::R2010) {
        cellStyles(f, r);
    } else {
        legacyStyle(f, r);
    }
}

}  // namespace dwg
