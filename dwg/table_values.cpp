// The values a table's cells hold, and the cell styles of table contents and table
// styles, as DWG stores them from 2007 and 2010 on.
#include "dwg/table_values.h"

#include <algorithm>
#include <iterator>

namespace dwg {

bool countFits(BitReader& d, int64_t count, size_t bitsEach) {
    if (count < 0 || static_cast<uint64_t>(count) > d.bitsLeft() / bitsEach) {
        d.stop();
        return false;
    }
    return true;
}

namespace {

// A string value: a byte count and the bytes, UTF-16 with a closing zero from 2007 on.
std::string stringValue(BitReader& d) {
    const int32_t size = d.BL();
    if (!countFits(d, size, 8)) return {};
    const std::string bytes = d.bytes(static_cast<size_t>(size));
    if (d.version() < Version::R2007) return std::string(bytes.c_str());
    return utf16ToUtf8(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
}

}  // namespace

TableValue readTableValue(ObjectFrame& f) {
    BitReader& d = f.data();
    TableValue v;
    const bool from2007 = f.version() >= Version::R2007;
    v.formats = from2007;
    if (from2007) v.flags = d.BL();
    v.type = d.BL();
    if (!from2007 || !(v.flags & 1)) {
        switch (v.type) {
        case 0:
        case 1: v.integer = d.BL(); break;
        case 2: v.real = d.BD(); break;
        case 4:
        case 512: v.text = stringValue(d); break;
        case 8:
        case 16:
        case 32: {
            const int32_t size = d.BL();
            if (!countFits(d, size, 8)) break;
            v.bytes = d.bytes(static_cast<size_t>(size));
            break;
        }
        case 64: v.object = f.ref(); break;
        default: d.stop(); break;  // buffers: their layout is not known
        }
    }
    if (from2007) {
        v.units = d.BL();
        v.format = d.TV();
        v.formatted = d.TV();
    }
    return v;
}

namespace {

double rawDouble(const std::string& bytes, size_t at) {
    double x = 0;
    if (at + 8 <= bytes.size()) std::memcpy(&x, bytes.data() + at, 8);
    return x;
}

}  // namespace

void writeTableValue(const TableValue& v, Record& r, std::string_view label, int code) {
    r.text(code, label);
    if (v.formats) r.integer(93, v.flags);
    r.integer(90, v.type);
    if (!(v.flags & 1)) {
        switch (v.type) {
        case 0:
        case 1: r.integer(91, v.integer); break;
        case 2: r.real(140, v.real); break;
        case 4:
        case 512:
            if (!v.text.empty()) r.text(1, v.text);
            break;
        case 8:
            r.integer(92, static_cast<int64_t>(v.bytes.size()));
            if (!v.bytes.empty()) r.text(310, hexBytes(v.bytes));
            break;
        case 16:
        case 32:
            if (v.bytes.size() >= 16) {
                r.real(11, rawDouble(v.bytes, 0));
                r.real(21, rawDouble(v.bytes, 8));
                r.real(31, v.type == 32 ? rawDouble(v.bytes, 16) : 0.0);
            }
            break;
        case 64: r.hex(330, v.object); break;
        default: break;
        }
    }
    if (!v.formats) return;
    r.integer(94, v.units);
    r.text(300, v.format);
    r.text(302, v.formatted);
    r.text(304, "ACVALUE_END");
}

std::string hexBytes(std::string_view bytes) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto b = static_cast<uint8_t>(c);
        out += kDigits[b >> 4];
        out += kDigits[b & 15];
    }
    return out;
}

namespace {

// One border of a cell style: its overrides, type, colour, lineweight, linetype,
// visibility and double line spacing.
CellBorder readBorder(ObjectFrame& f) {
    BitReader& d = f.data();
    CellBorder b;
    b.present = true;
    b.overrides = d.BL();
    b.type = d.BL();
    b.color = d.CMC2004();
    b.weight = d.BL();
    b.linetype = f.ref();
    b.invisible = d.BL() == 1;
    b.spacing = d.BD();
    return b;
}

}  // namespace

ContentFormat readContentFormat(ObjectFrame& f) {
    BitReader& d = f.data();
    ContentFormat c;
    c.overrides = d.BL();
    c.flags = d.BL();
    c.valueType = d.BL();
    c.unitType = d.BL();
    c.format = d.TV();
    c.rotation = d.BD();
    c.blockScale = d.BD();
    c.alignment = d.BL();
    c.color = d.CMC2004();
    c.textStyle = f.ref();
    c.textHeight = d.BD();
    return c;
}

CellStyle readCellStyle(ObjectFrame& f) {
    BitReader& d = f.data();
    CellStyle s;
    s.type = d.BL();
    s.hasData = d.BS() != 0;
    if (!s.hasData) return s;
    s.overrides = d.BL();
    s.mergeFlags = d.BL();
    s.background = d.CMC2004();
    s.layout = d.BL();
    s.content = readContentFormat(f);
    s.marginFlags = d.BS();
    if (s.marginFlags & 1)
        for (double& m : s.margins) m = d.BD();
    const int32_t borders = d.BL();
    if (!countFits(d, borders, 2)) return s;
    for (int32_t i = 0; i < borders && !d.failed(); ++i) {
        const int32_t edge = d.BL();
        for (int k = 0; k < 6; ++k)
            if (edge == 1 << k) s.borders[k] = readBorder(f);
    }
    return s;
}

void writeContentFormat(const ContentFormat& c, Record& r) {
    r.text(300, "CONTENTFORMAT");
    r.text(1, "CONTENTFORMAT_BEGIN");
    r.integer(90, c.overrides);
    r.integer(91, c.flags);
    r.integer(92, c.valueType);
    r.integer(93, c.unitType);
    r.text(300, c.format);
    r.real(40, c.rotation);
    r.real(140, c.blockScale);
    r.integer(94, c.alignment);
    r.integer(62, c.color.index);
    r.hex(340, c.textStyle);
    r.real(144, c.textHeight);
    r.text(309, "CONTENTFORMAT_END");
}

void writeCellStyle(const CellStyle& s, Record& r) {
    r.text(1, "TABLEFORMAT_BEGIN");
    r.integer(90, s.type);
    r.integer(170, s.hasData);
    if (s.hasData) {
        r.integer(91, s.overrides);
        r.integer(92, s.mergeFlags);
        r.integer(62, s.background.index);
        r.integer(93, s.layout);
        writeContentFormat(s.content, r);
        r.integer(171, s.marginFlags);
        if (s.marginFlags & 1) {
            r.text(301, "MARGIN");
            r.text(1, "CELLMARGIN_BEGIN");
            for (const double m : s.margins) r.real(40, m);
            r.text(309, "CELLMARGIN_END");
        }
        r.integer(94, std::count_if(std::begin(s.borders), std::end(s.borders),
                                    [](const CellBorder& b) { return b.present; }));
        for (int k = 0; k < 6; ++k) {
            const CellBorder& b = s.borders[k];
            if (!b.present) continue;
            r.integer(95, 1 << k);
            r.text(302, "GRIDFORMAT");
            r.text(1, "GRIDFORMAT_BEGIN");
            r.integer(90, b.overrides);
            r.integer(91, b.type);
            r.integer(62, b.color.index);
            r.integer(92, b.weight);
            r.hex(340, b.linetype);
            r.integer(93, b.invisible);
            r.real(40, b.spacing);
            r.text(309, "GRIDFORMAT_END");
        }
    }
    r.text(309, "TABLEFORMAT_END");
}

}  // namespace dwg
