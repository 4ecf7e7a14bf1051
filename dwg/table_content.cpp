#include "dwg/table_content.h"

#include "dwg/decoders.h"

namespace dwg {
namespace {

CustomData readCustomData(ObjectFrame& f) {
    BitReader& d = f.data();
    CustomData c;
    c.data = d.BL();
    const int32_t items = d.BL();
    if (!countFits(d, items, 4)) return c;
    for (int32_t i = 0; i < items && !d.failed(); ++i) {
        CustomItem item;
        item.name = d.TV();
        item.value = readTableValue(f);
        c.items.push_back(std::move(item));
    }
    return c;
}

CellContent readContent(ObjectFrame& f) {
    BitReader& d = f.data();
    CellContent c;
    c.type = d.BL();
    if (c.type == 1) c.value = readTableValue(f);
    if (c.type == 2 || c.type == 4) c.object = f.ref();
    const int32_t attributes = d.BL();
    if (!countFits(d, attributes, 4)) return c;
    for (int32_t i = 0; i < attributes && !d.failed(); ++i) {
        CellAttribute a;
        a.definition = f.ref();
        a.value = d.TV();
        a.index = d.BL();
        c.attributes.push_back(std::move(a));
    }
    c.hasFormat = d.BS() != 0;
    if (c.hasFormat) c.format = readContentFormat(f);
    return c;
}

TableCell readCell(ObjectFrame& f) {
    BitReader& d = f.data();
    TableCell c;
    c.state = d.BL();
    c.tooltip = d.TV();
    c.custom = readCustomData(f);
    c.linked = d.BL() == 1;
    if (c.linked) {
        c.link = f.ref();
        c.linkRows = d.BL();
        c.linkColumns = d.BL();
        c.linkUnknown = d.BL();
    }
    const int32_t contents = d.BL();
    if (!countFits(d, contents, 4)) return c;
    for (int32_t i = 0; i < contents && !d.failed(); ++i) c.contents.push_back(readContent(f));
    c.style = readCellStyle(f);
    c.styleId = d.BL();
    c.hasExtra = d.BL() != 0;
    if (c.hasExtra) {
        c.extra = d.BL();
        c.extraSizes[0] = d.BD();
        c.extraSizes[1] = d.BD();
        c.geometryFlags = d.BL();
        c.extraObject = f.ref();
        if (c.geometryFlags != 0) {
            c.geometry.topLeft = d.BD3();
            c.geometry.center = d.BD3();
            for (double& s : c.geometry.sizes) s = d.BD();
            c.geometry.flags = d.BL();
        }
    }
    return c;
}

TableLine readLine(ObjectFrame& f, bool column) {
    BitReader& d = f.data();
    TableLine l;
    if (column) l.name = d.TV();
    l.custom = readCustomData(f);
    l.style = readCellStyle(f);
    l.styleId = d.BL();
    l.size = d.BD();
    return l;
}

void openBlock(Record& r, int code, std::string_view label, std::string_view block) {
    if (!label.empty()) r.text(code, label);
    r.text(1, std::string(block) + "_BEGIN");
}

void closeBlock(Record& r, std::string_view block) { r.text(309, std::string(block) + "_END"); }

void writeCustomData(const CustomData& c, Record& r) {
    r.integer(91, c.data);
    openBlock(r, 301, "CUSTOMDATA", "DATAMAP");
    r.integer(90, static_cast<int64_t>(c.items.size()));
    for (const CustomItem& item : c.items) {
        r.text(300, item.name);
        writeTableValue(item.value, r, "DATAMAP_VALUE", 301);
    }
    closeBlock(r, "DATAMAP");
}

void writeContent(const CellContent& c, Record& r) {
    openBlock(r, 302, "CONTENT", "CELLCONTENT");
    r.integer(90, c.type);
    if (c.type == 1) writeTableValue(c.value, r, "VALUE", 300);
    if (c.type == 2 || c.type == 4) r.hex(340, c.object);
    r.integer(91, static_cast<int64_t>(c.attributes.size()));
    for (const CellAttribute& a : c.attributes) {
        r.hex(330, a.definition);
        r.text(301, a.value);
        r.integer(92, a.index);
    }
    closeBlock(r, "CELLCONTENT");
    openBlock(r, 0, "", "FORMATTEDCELLCONTENT");
    r.integer(170, c.hasFormat);
    if (c.hasFormat) writeContentFormat(c.format, r);
    closeBlock(r, "FORMATTEDCELLCONTENT");
}

void writeCell(const TableCell& c, Record& r) {
    openBlock(r, 300, "CELL", "LINKEDTABLEDATACELL");
    r.integer(90, c.state);
    r.text(300, c.tooltip);
    writeCustomData(c.custom, r);
    r.integer(92, c.linked);
    if (c.linked) {
        r.hex(340, c.link);
        r.integer(93, c.linkRows);
        r.integer(94, c.linkColumns);
        r.integer(96, c.linkUnknown);
    }
    r.integer(95, static_cast<int64_t>(c.contents.size()));
    for (const CellContent& content : c.contents) writeContent(content, r);
    closeBlock(r, "LINKEDTABLEDATACELL");
    openBlock(r, 0, "", "FORMATTEDTABLEDATACELL");
    r.text(300, "CELLTABLEFORMAT");
    writeCellStyle(c.style, r);
    closeBlock(r, "FORMATTEDTABLEDATACELL");
    openBlock(r, 0, "", "TABLECELL");
    r.integer(90, c.styleId);
    r.integer(91, c.hasExtra);
    if (c.hasExtra) {
        r.integer(91, c.extra);
        r.real(40, c.extraSizes[0]);
        r.real(41, c.extraSizes[1]);
        r.hex(330, c.extraObject);
        r.integer(92, c.geometryFlags);
        if (c.geometryFlags != 0) {
            r.point(10, c.geometry.topLeft);
            r.point(11, c.geometry.center);
            for (int k = 0; k < 4; ++k) r.real(43 + k, c.geometry.sizes[k]);
            r.integer(93, c.geometry.flags);
        }
    }
    closeBlock(r, "TABLECELL");
}

// The style and size of a column or a row (`kind`).
void writeLineStyle(const TableLine& l, const std::string& kind, Record& r) {
    openBlock(r, 0, "", "FORMATTEDTABLEDATA" + kind);
    r.text(300, kind + "TABLEFORMAT");
    writeCellStyle(l.style, r);
    closeBlock(r, "FORMATTEDTABLEDATA" + kind);
    openBlock(r, 0, "", "TABLE" + kind);
    r.integer(90, l.styleId);
    r.real(40, l.size);
    closeBlock(r, "TABLE" + kind);
}

}  // namespace

bool readTableContent(ObjectFrame& f, TableContent& t) {
    BitReader& d = f.data();
    t.name = d.TV();
    t.description = d.TV();
    const int32_t columns = d.BL();
    if (!countFits(d, columns, 8)) return false;
    for (int32_t i = 0; i < columns && !d.failed(); ++i) t.columns.push_back(readLine(f, true));
    const int32_t rows = d.BL();
    if (!countFits(d, rows, 8)) return false;
    for (int32_t i = 0; i < rows && !d.failed(); ++i) {
        // A row holds a cell in each column.
        if (d.BL() != columns) {
            d.stop();
            return false;
        }
        for (int32_t c = 0; c < columns && !d.failed(); ++c) t.cells.push_back(readCell(f));
        t.rows.push_back(readLine(f, false));
    }
    const int32_t fields = d.BL();
    if (!countFits(d, fields, 2)) return false;
    for (int32_t i = 0; i < fields && !d.failed(); ++i) t.fields.push_back(f.ref());
    t.style = readCellStyle(f);
    const int32_t ranges = d.BL();
    if (!countFits(d, ranges, 8)) return false;
    t.merges.resize(static_cast<size_t>(ranges));
    for (CellRange& m : t.merges) {
        m.top = d.BL();
        m.left = d.BL();
        m.bottom = d.BL();
        m.right = d.BL();
    }
    t.tableStyle = f.ref();
    return !d.failed();
}

void writeTableContent(const TableContent& t, Record& r) {
    r.marker("AcDbLinkedData");
    r.text(1, t.name);
    r.text(300, t.description);
    r.marker("AcDbLinkedTableData");
    r.integer(90, static_cast<int64_t>(t.columns.size()));
    for (const TableLine& c : t.columns) {
        openBlock(r, 300, "COLUMN", "LINKEDTABLEDATACOLUMN");
        r.text(300, c.name);
        writeCustomData(c.custom, r);
        closeBlock(r, "LINKEDTABLEDATACOLUMN");
        writeLineStyle(c, "COLUMN", r);
    }
    r.integer(91, static_cast<int64_t>(t.rows.size()));
    const size_t columns = t.columns.size();
    for (size_t i = 0; i < t.rows.size(); ++i) {
        const TableLine& row = t.rows[i];
        openBlock(r, 301, "ROW", "LINKEDTABLEDATAROW");
        r.integer(90, static_cast<int64_t>(columns));
        for (size_t c = 0; c < columns && i * columns + c < t.cells.size(); ++c)
            writeCell(t.cells[i * columns + c], r);
        writeCustomData(row.custom, r);
        closeBlock(r, "LINKEDTABLEDATAROW");
        writeLineStyle(row, "ROW", r);
    }
    r.integer(92, static_cast<int64_t>(t.fields.size()));
    for (const uint64_t field : t.fields) r.hex(360, field);
    r.marker("AcDbFormattedTableData");
    r.text(300, "TABLEFORMAT");
    writeCellStyle(t.style, r);
    r.integer(90, static_cast<int64_t>(t.merges.size()));
    for (const CellRange& m : t.merges) {
        r.integer(91, m.top);
        r.integer(92, m.left);
        r.integer(93, m.bottom);
        r.integer(94, m.right);
    }
    r.marker("AcDbTableContent");
    r.hex(340, t.tableStyle);
}

void decodeTableContent(ObjectFrame& f, Record& r) {
    TableContent t;
    if (readTableContent(f, t)) writeTableContent(t, r);
}

}  // namespace dwg
