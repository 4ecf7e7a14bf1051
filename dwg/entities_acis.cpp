// Regions, 3D solids and bodies: their ACIS data. Up to 2000 a DWG holds the SAT text,
// its characters coded as DXF holds them too, in blocks; the text is copied line by
// line into groups 1 (and 3 for the rest of a line longer than DXF's 255 characters).
// A binary (SAB) modeler stream, which 2004 to 2010 hold, and the data store of 2013
// on, are not translated: such a solid is declined and counted.
#include "dwg/decoders.h"

namespace dwg {
namespace {

constexpr size_t kDxfLine = 255;

// The SAT text of the data's blocks; false when the data hold something else.
bool satText(BitReader& d, std::string& text) {
    if (d.BS() != 1) return false;  // 2: a SAB stream follows
    for (;;) {
        const int64_t size = itemCount(d, 8);
        if (size == 0 || d.failed()) break;
        text += d.bytes(static_cast<size_t>(size));
    }
    return !d.failed();
}

// A character of the SAT text as stored: printable characters but the space are coded
// as 0x9F minus the character.
char satPlain(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u > 0x20 && u < 0x7F ? static_cast<char>(0x9F - u) : c;
}

// The second line of the header names the product, the modeler and the date of the
// save, each as its length and its characters. DXF leaves the date out (length 0).
std::string withoutDate(std::string_view line) {
    size_t at = 0;
    for (int field = 0; field < 2; ++field) {
        size_t length = 0;
        for (; at < line.size() && satPlain(line[at]) >= '0' && satPlain(line[at]) <= '9'; ++at)
            length = length * 10 + static_cast<size_t>(satPlain(line[at]) - '0');
        at += 1 + length + 1;  // the space before and after the characters
        if (at > line.size()) return std::string(line);
    }
    return std::string(line.substr(0, at)) + satPlain('0') + "  ";
}

void satGroups(const std::string& text, Record& r) {
    size_t at = 0;
    for (int number = 1; at < text.size(); ++number) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string_view line(text.data() + at, end - at);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::string kept = number == 2 ? withoutDate(line) : std::string(line);
        line = kept;
        r.text(1, line.substr(0, kDxfLine));
        for (size_t i = kDxfLine; i < line.size(); i += kDxfLine)
            r.text(3, line.substr(i, kDxfLine));
        at = end + 1;
    }
}

// A wire of the wireframe the drawing program shows the solid by (DXF has none).
void skipWire(BitReader& d) {
    d.RC();  // type
    d.BL();  // selection marker
    d.BS();  // colour
    d.BL();  // ACIS index
    for (int64_t i = itemCount(d, 6); i > 0 && !d.failed(); --i) d.BD3();
    if (d.B()) {  // a transformation: axes, translation, scale, three flags
        for (int i = 0; i < 5; ++i) d.BD3();
        d.B();
        d.B();
        d.B();
    }
}

void skipWires(BitReader& d) {
    for (int64_t i = itemCount(d, 12); i > 0 && !d.failed(); --i) skipWire(d);
}

void skipWireframe(BitReader& d) {
    if (!d.B()) return;
    if (d.B()) d.BD3();  // a point
    d.BL();              // the number of isolines
    if (!d.B()) return;
    skipWires(d);
    for (int64_t i = itemCount(d, 20); i > 0 && !d.failed(); --i) {  // silhouettes
        d.BL();                                                      // the viewport
        for (int k = 0; k < 3; ++k) d.BD3();                         // target, direction and up
        d.B();                                                       // perspective
        if (d.B()) skipWires(d);
    }
}

}  // namespace

void decodeAcis(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    // No data here: from 2013 on the modeler data are kept in the drawing's data store.
    const bool empty = d.B();
    d.B();
    std::string text;
    if (empty || !satText(d, text)) {
        if (!d.failed()) r.type.clear();  // left out, not broken
        return;
    }
    skipWireframe(d);
    d.B();  // the empty bit of the modeler data repeated
    r.marker("AcDbModelerGeometry");
    r.integer(70, 1);
    satGroups(text, r);
}

}  // namespace dwg
