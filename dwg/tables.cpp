// The tables: their control objects and the entries LAYER, LTYPE, STYLE, APPID and
// BLOCK_RECORD (views, UCSs and viewports in table_views.cpp, DIMSTYLE in dimstyle.cpp).
#include "dwg/decoders.h"
#include "dwg/header.h"
#include "dwg/table_entry.h"

namespace dwg {

void entryMarkers(Record& r, const char* subclass) {
    r.kind = RecordKind::TableEntry;
    r.marker("AcDbSymbolTableRecord");
    r.marker(subclass);
}

namespace {

// The 70 flags of a table entry: bit 16 when it depends on an external reference.
int readEntryFlags(ObjectFrame& f) {
    BitReader& d = f.data();
    int flags = 0;
    if (f.version() <= Version::R2004) {
        d.B();   // the 64 bit, set on every entry read from a file
        d.BS();  // the index of its external reference, plus one
        if (d.B()) flags |= 16;
    } else {
        if (d.BS() & 0x100) flags |= 16;
    }
    return flags;
}

}  // namespace

int readEntryStart(ObjectFrame& f, Record& r) {
    r.name = f.data().TV();
    const int flags = readEntryFlags(f);
    f.ref();
    return flags;
}

void decodeControl(ObjectFrame& f, Record& r, const char* table) {
    r.kind = RecordKind::Table;
    r.name = table;
    const int64_t count = f.data().BL();
    if (count < 0 || static_cast<uint64_t>(count) > f.handles().bitsLeft()) {
        f.data().stop();
        return;
    }
    for (int64_t i = 0; i < count && !f.failed(); ++i) r.owned.push_back(f.ref());
}

namespace {

// A table whose count leaves out two entries that follow the counted ones and come
// first in DXF: *Model_Space and *Paper_Space, BYBLOCK and BYLAYER.
void controlWithTwoMore(ObjectFrame& f, Record& r, const char* table) {
    decodeControl(f, r, table);
    const uint64_t first = f.ref();
    const uint64_t second = f.ref();
    r.owned.insert(r.owned.begin(), {first, second});
}

}  // namespace

void decodeBlockControl(ObjectFrame& f, Record& r) { controlWithTwoMore(f, r, "BLOCK_RECORD"); }
void decodeLinetypeControl(ObjectFrame& f, Record& r) { controlWithTwoMore(f, r, "LTYPE"); }

void decodeDimstyleControl(ObjectFrame& f, Record& r) {
    // From 2000 on the count is followed by a count of further handles to dimension
    // styles, which DXF lists in the table's header.
    BitReader& d = f.data();
    r.kind = RecordKind::Table;
    r.name = "DIMSTYLE";
    const int64_t count = d.BL();
    const int more = f.version() >= Version::R2000 ? d.RC() : 0;
    if (count < 0 || static_cast<uint64_t>(count) > f.handles().bitsLeft()) {
        d.stop();
        return;
    }
    for (int64_t i = 0; i < count && !f.failed(); ++i) r.owned.push_back(f.ref());
    for (int i = 0; i < more && !f.failed(); ++i) r.hex(340, f.ref());
}

void decodeLayer(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    int flags = readEntryStart(f, r);
    bool off = false, plot = true;
    int lineweight = -3;
    if (f.version() <= Version::R14) {
        if (d.B()) flags |= 1;
        off = !d.B();
        if (d.B()) flags |= 2;
        if (d.B()) flags |= 4;
    } else {
        const int values = d.BS();
        if (values & 1) flags |= 1;
        off = values & 2;
        if (values & 4) flags |= 2;
        if (values & 8) flags |= 4;
        plot = values & 16;
        lineweight = lineweightOf((values & 0x3e0) >> 5);
    }
    Color color = d.CMC();
    uint64_t plotStyle = 0, material = 0;
    if (f.version() >= Version::R2000) plotStyle = f.ref();
    if (f.version() >= Version::R2007) material = f.ref();
    const uint64_t linetype = f.ref();
    if (f.version() >= Version::R2013) f.ref();  // visual style
    // R13 and R14 mark an off layer by a negative colour.
    if (color.index < 0) {
        off = true;
        color.index = static_cast<int16_t>(-color.index);
    }
    entryMarkers(r, "AcDbLayerTableRecord");
    r.text(2, r.name);
    r.integer(70, flags);
    const int index = color.hasRgb ? 7 : color.index;
    r.integer(62, off ? -index : index);
    if (color.hasRgb) r.integer(420, color.rgb);
    r.nameOf(6, linetype);
    if (f.version() >= Version::R2000) {
        if (!plot) r.integer(290, 0);
        r.integer(370, lineweight);
        r.hex(390, plotStyle);
    }
    if (material) r.hex(347, material);
}

void decodeLinetype(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    const int flags = readEntryStart(f, r);
    const std::string description = d.TV();
    const double length = d.BD();
    const int alignment = d.RC();
    const int count = d.RC();
    struct Dash {
        double length, x, y, scale, rotation;
        int shape, flags;
        uint64_t style;
        std::string text;
    };
    std::vector<Dash> dashes;
    bool texts = false;
    for (int i = 0; i < count && !d.failed(); ++i) {
        Dash dash;
        dash.length = d.BD();
        dash.shape = d.BS();
        dash.style = f.ref();
        dash.x = d.RD();
        dash.y = d.RD();
        dash.scale = d.BD();
        dash.rotation = d.BD();
        dash.flags = d.BS();
        if (dash.flags & 2) texts = true;
        dashes.push_back(dash);
    }
    // The texts of the dashes, one after the other, in a fixed area.
    std::string area;
    if (f.version() <= Version::R2004) {
        area = d.bytes(256);
    } else if (texts) {
        const std::string raw = d.bytes(512);
        for (size_t i = 0; i + 1 < raw.size(); i += 2) {
            const uint8_t unit[2] = {static_cast<uint8_t>(raw[i]), static_cast<uint8_t>(raw[i + 1])};
            if (unit[0] == 0 && unit[1] == 0) {
                area += '\0';
            } else {
                area += utf16ToUtf8(unit);
            }
        }
    }
    size_t at = 0;
    for (Dash& dash : dashes) {
        if (!(dash.flags & 2) || at >= area.size()) continue;
        const size_t stop = area.find('\0', at);
        dash.text = area.substr(at, stop == std::string::npos ? std::string::npos : stop - at);
        at = stop == std::string::npos ? area.size() : stop + 1;
    }
    entryMarkers(r, "AcDbLinetypeTableRecord");
    r.text(2, r.name);
    r.integer(70, flags);
    r.text(3, description);
    r.integer(72, alignment);
    r.integer(73, count);
    r.real(40, length);
    for (const Dash& dash : dashes) {
        // DXF keeps the rotation, text and shape bits (1, 2, 4) of the stored flags.
        const int flags = dash.flags & 7;
        r.real(49, dash.length);
        r.integer(74, flags);
        if (flags == 0) continue;
        r.integer(75, dash.shape);
        r.hex(340, dash.style);
        r.real(46, dash.scale);
        r.real(50, degrees(dash.rotation));
        r.real(44, dash.x);
        r.real(45, dash.y);
        if (dash.flags & 2) r.text(9, dash.text);
    }
}

void decodeStyle(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    int flags = readEntryStart(f, r);
    if (d.B()) flags |= 1;  // a shape file
    if (d.B()) flags |= 4;  // vertical
    const double height = d.BD();
    const double width = d.BD();
    const double oblique = d.BD();
    const int generation = d.RC();
    const double last = d.BD();
    const std::string font = d.TV();
    const std::string bigFont = d.TV();
    entryMarkers(r, "AcDbTextStyleTableRecord");
    r.text(2, r.name);
    r.integer(70, flags);
    r.real(40, height);
    r.real(41, width);
    r.real(50, degrees(oblique));
    r.integer(71, generation);
    r.real(42, last);
    r.text(3, font);
    r.text(4, bigFont);
}

void decodeAppid(ObjectFrame& f, Record& r) {
    const int flags = readEntryStart(f, r);
    f.data().RC();
    entryMarkers(r, "AcDbRegAppTableRecord");
    r.text(2, r.name);
    r.integer(70, flags);
}

void decodeBlockHeader(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    int flags = readEntryStart(f, r);
    if (d.B()) flags |= 1;  // anonymous
    if (d.B()) flags |= 2;  // has attribute definitions
    const bool xref = d.B();
    const bool overlaid = d.B();
    if (xref) flags |= 4;
    if (overlaid) flags |= 8;
    if (f.version() >= Version::R2000 && d.B()) flags |= 32;  // an unloaded reference
    int64_t owned = 0;
    if (f.version() >= Version::R2004 && !xref && !overlaid) {
        owned = d.BL();
        if (owned < 0 || static_cast<uint64_t>(owned) > f.handles().bitsLeft()) d.stop();
    }
    const Point3 base = d.BD3();
    const std::string path = d.TV();
    int inserts = 0, units = 0, explodable = 1, scaling = 0;
    std::string description;
    if (f.version() >= Version::R2000) {
        while (d.RC() != 0 && !d.failed()) ++inserts;
        description = d.TV();
        const uint32_t preview = static_cast<uint32_t>(d.BL());
        if (preview > d.bitsLeft() / 8) {
            d.stop();
            return;
        }
        d.seek(d.position() + preview * 8);
    }
    if (f.version() >= Version::R2007) {
        units = d.BS();
        explodable = d.B();
        scaling = d.RC();
    }
    r.block = f.ref();
    if (f.version() <= Version::R2000) {
        if (!xref && !overlaid) {
            r.firstOwned = f.ref();
            r.lastOwned = f.ref();
        }
    } else {
        for (int64_t i = 0; i < owned && !f.failed(); ++i) r.owned.push_back(f.ref());
    }
    r.endBlock = f.ref();
    if (f.version() >= Version::R2000) {
        for (int i = 0; i < inserts && !f.failed(); ++i) f.ref();
        r.layout = f.ref();
    }
    entryMarkers(r, "AcDbBlockTableRecord");
    r.text(2, r.name);
    r.hex(340, r.layout);
    if (f.version() >= Version::R2007) {
        r.integer(70, units);
        r.integer(280, explodable);
        r.integer(281, scaling);
    }
    // What the BLOCK entity of the definition shows in DXF.
    r.blockFlags = flags;
    r.basePoint = base;
    r.xrefPath = path;
    r.description = description;
}

}  // namespace dwg
