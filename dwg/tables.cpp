// The tables: their control objects and their entries (LAYER, LTYPE, STYLE, VIEW, UCS,
// VPORT, APPID and BLOCK_RECORD; DIMSTYLE has a file of its own).
#include "dwg/decoders.h"
#include "dwg/header.h"

namespace dwg {
namespace {

void entryMarkers(Record& r, const char* subclass) {
    r.kind = RecordKind::TableEntry;
    r.marker("AcDbSymbolTableRecord");
    r.marker(subclass);
}

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

// The name and flags every entry begins with, and the handle of its external
// reference after the common handles.
int readEntryStart(ObjectFrame& f, Record& r) {
    r.name = f.data().TV();
    const int flags = readEntryFlags(f);
    f.ref();
    return flags;
}

int readViewMode(BitReader& d) {
    int mode = d.B() ? 1 : 0;
    if (d.B()) mode |= 2;
    if (d.B()) mode |= 4;
    if (!d.B()) mode |= 16;
    return mode;
}

// What views and viewports store alike: the view itself, and from 2007 on its lights.
struct View {
    double height = 0, width = 0, twist = 0, lens = 0, front = 0, back = 0;
    Point2 center;
    Point3 target, direction;
    int mode = 0, render = 0;
};

View readView(ObjectFrame& f) {
    BitReader& d = f.data();
    View v;
    v.height = d.BD();
    v.width = d.BD();
    v.center = d.RD2();
    v.target = d.BD3();
    v.direction = d.BD3();
    v.twist = d.BD();
    v.lens = d.BD();
    v.front = d.BD();
    v.back = d.BD();
    v.mode = readViewMode(d);
    if (f.version() >= Version::R2000) v.render = d.RC();
    if (f.version() >= Version::R2007) {
        f.ref();  // background
        f.ref();  // visual style
        f.ref();  // sun
        d.B();    // the default lights, their kind, brightness, contrast and colour
        d.RC();
        d.BD();
        d.BD();
        d.CMC();
    }
    return v;
}

// A UCS of a view or viewport: origin, axes, elevation and orthographic kind.
struct Ucs {
    Point3 origin, xAxis{1, 0, 0}, yAxis{0, 1, 0};
    double elevation = 0;
    int ortho = 0;
};

Ucs readUcs(BitReader& d) {
    Ucs u;
    u.origin = d.BD3();
    u.xAxis = d.BD3();
    u.yAxis = d.BD3();
    u.elevation = d.BD();
    u.ortho = d.BS();
    return u;
}

void writeUcs(const Ucs& u, Record& r) {
    r.point(110, u.origin);
    r.point(111, u.xAxis);
    r.point(112, u.yAxis);
    r.integer(79, u.ortho);
    r.real(146, u.elevation);
}

}  // namespace

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

void decodeView(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    int flags = readEntryStart(f, r);
    const View v = readView(f);
    if (d.B()) flags |= 1;  // a paper space view
    bool hasUcs = false;
    Ucs ucs;
    if (f.version() >= Version::R2000) {
        hasUcs = d.B();
        if (hasUcs) {
            ucs = readUcs(d);
            f.ref();  // base UCS
            f.ref();  // named UCS
        }
    }
    if (f.version() >= Version::R2007) {
        d.B();    // camera plottable
        f.ref();  // live section
    }
    entryMarkers(r, "AcDbViewTableRecord");
    r.text(2, r.name);
    r.integer(70, flags);
    r.real(40, v.height);
    r.point(10, v.center);
    r.real(41, v.width);
    r.point(11, v.direction);
    r.point(12, v.target);
    r.real(42, v.lens);
    r.real(43, v.front);
    r.real(44, v.back);
    r.real(50, degrees(v.twist));
    r.integer(71, v.mode);
    if (f.version() >= Version::R2000) {
        r.integer(281, v.render);
        r.integer(72, hasUcs ? 1 : 0);
        if (hasUcs) writeUcs(ucs, r);
    }
}

void decodeUcs(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    const int flags = readEntryStart(f, r);
    const Point3 origin = d.BD3();
    const Point3 xAxis = d.BD3();
    const Point3 yAxis = d.BD3();
    entryMarkers(r, "AcDbUCSTableRecord");
    r.text(2, r.name);
    r.integer(70, flags);
    r.point(10, origin);
    r.point(11, xAxis);
    r.point(12, yAxis);
    if (f.version() >= Version::R2000) {
        const double elevation = d.BD();
        const int ortho = d.BS();
        f.ref();  // base UCS
        f.ref();  // named UCS
        const int count = d.BS();
        r.integer(79, ortho);
        r.real(146, elevation);
        for (int i = 0; i < count && !d.failed(); ++i) {
            r.integer(71, d.BS());
            r.point(13, d.BD3());
        }
    }
}

void decodeVport(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    const int flags = readEntryStart(f, r);
    const View v = readView(f);
    int mode = v.mode;
    const Point2 lowerLeft = d.RD2();
    const Point2 upperRight = d.RD2();
    if (d.B()) mode |= 8;  // UCSFOLLOW
    const int circleZoom = d.BS();
    const int fastZoom = d.B();
    const int ucsIcon = d.BB();
    const int grid = d.B();
    const Point2 gridSpacing = d.RD2();
    const int snap = d.B();
    const int snapStyle = d.B();
    const int isoPair = d.BS();
    const double snapRotation = d.BD();
    const Point2 snapBase = d.RD2();
    const Point2 snapSpacing = d.RD2();
    int ucsPerViewport = 0;
    Ucs ucs;
    if (f.version() >= Version::R2000) {
        d.B();
        ucsPerViewport = d.B();
        ucs = readUcs(d);
    }
    if (f.version() >= Version::R2007) {
        d.BS();  // the grid's flags and major lines
        d.BS();
    }
    if (f.version() >= Version::R2000) {
        f.ref();  // named UCS
        f.ref();  // base UCS
    }
    entryMarkers(r, "AcDbViewportTableRecord");
    r.text(2, r.name);
    r.integer(70, flags);
    r.point(10, lowerLeft);
    r.point(11, upperRight);
    r.point(12, v.center);
    r.point(13, snapBase);
    r.point(14, snapSpacing);
    r.point(15, gridSpacing);
    r.point(16, v.direction);
    r.point(17, v.target);
    r.real(40, v.height);
    r.real(41, v.height != 0.0 ? v.width / v.height : 0.0);
    r.real(42, v.lens);
    r.real(43, v.front);
    r.real(44, v.back);
    r.real(50, degrees(snapRotation));
    r.real(51, degrees(v.twist));
    r.integer(71, mode);
    r.integer(72, circleZoom);
    r.integer(73, fastZoom);
    r.integer(74, ucsIcon);
    r.integer(75, snap);
    r.integer(76, grid);
    r.integer(77, snapStyle);
    r.integer(78, isoPair);
    if (f.version() >= Version::R2000) {
        r.integer(281, v.render);
        r.integer(65, ucsPerViewport);
        writeUcs(ucs, r);
    }
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
