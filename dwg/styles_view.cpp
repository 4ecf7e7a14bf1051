// Section and detail view styles: how the views a drawing's model documentation makes
// are labelled and drawn; drawings from 2013 on carry them whatever version they are
// saved in. DXF groups their values by part (71: 1 the identifier, 2 the cutting plane or
// boundary, 3 the view label, 4 the hatch or the connection), in an order that differs
// from the one stored, and writes colours from 2004 on. Every reference holds its place,
// an empty arrow symbol as 0.
#include "drawing/aci.h"
#include "dwg/decoders.h"

namespace dwg {
namespace {

void viewStyleColor(const ObjectFrame& f, const Color& c, Record& r) {
    if (f.version() < Version::R2004) return;
    r.integer(62, c.hasRgb ? drawing::nearestAci(c.rgb) : c.index);
    if (c.hasRgb) r.integer(420, c.rgb);
}

// A line's linetype, weight and colour, as stored and as DXF writes them.
struct ViewLine {
    uint64_t linetype = 0;
    int64_t weight = 0;
    Color color;
};

ViewLine readViewLine(ObjectFrame& f) {
    ViewLine l;
    l.linetype = f.ref();
    l.weight = f.data().BL();
    l.color = f.data().CMC();
    return l;
}

void writeViewLine(const ObjectFrame& f, const ViewLine& l, Record& r) {
    r.placedHex(340, l.linetype);
    r.integer(90, l.weight);
    viewStyleColor(f, l.color, r);
}

// The view label: its text style, colour, height, attachment, offset, alignment and
// pattern, stored in DXF's order.
void viewLabel(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    r.integer(71, 3);
    r.placedHex(340, f.ref());
    viewStyleColor(f, d.CMC(), r);
    r.real(40, d.BD());
    r.integer(90, d.BL());
    r.real(40, d.BD());
    r.integer(90, d.BL());
    r.text(300, d.TV());
}

// The identifier's text style, colour and height.
void identifierText(ObjectFrame& f, Record& r) {
    r.placedHex(340, f.ref());
    viewStyleColor(f, f.data().CMC(), r);
    r.real(40, f.data().BD());
}

// The AcDbModelDocViewStyle part and the start of the style's own part; false (the
// record declined) before 2000, whose form no drawing shows.
bool modelDocStyle(ObjectFrame& f, Record& r, std::string_view subclass) {
    if (f.version() < Version::R2000) {
        r.type.clear();
        return false;
    }
    BitReader& d = f.data();
    r.marker("AcDbModelDocViewStyle");
    r.integer(70, d.BS());
    r.text(3, d.TV());
    r.integer(290, d.B());
    if (f.version() >= Version::R2018) {
        r.text(300, d.TV());
        r.integer(90, d.BL());
    }
    r.marker(subclass);
    r.integer(70, d.BS());
    r.integer(71, 0);
    r.integer(90, d.BL());
    r.integer(71, 1);
    return true;
}

}  // namespace

void decodeDetailViewStyle(ObjectFrame& f, Record& r) {
    if (!modelDocStyle(f, r, "AcDbDetailViewStyle")) return;
    BitReader& d = f.data();
    identifierText(f, r);
    const std::string excluded = d.TV();
    const double offset = d.BD();
    const int placement = d.RC();
    r.placedHex(340, f.ref());  // the arrow's symbol
    viewStyleColor(f, d.CMC(), r);
    r.real(40, d.BD());
    r.text(300, excluded);
    r.real(40, offset);
    r.integer(280, placement);
    r.integer(71, 2);
    writeViewLine(f, readViewLine(f), r);  // the boundary
    viewLabel(f, r);
    r.integer(71, 4);
    writeViewLine(f, readViewLine(f), r);  // the connection
    writeViewLine(f, readViewLine(f), r);  // the border
    r.integer(280, d.RC());                // how the model's edge is shown
}

void decodeSectionViewStyle(ObjectFrame& f, Record& r) {
    if (!modelDocStyle(f, r, "AcDbSectionViewStyle")) return;
    BitReader& d = f.data();
    identifierText(f, r);
    r.placedHex(340, f.ref());  // the arrows' symbols at the start and the end
    r.placedHex(340, f.ref());
    viewStyleColor(f, d.CMC(), r);
    r.real(40, d.BD());
    r.text(300, d.TV());  // the characters identifiers leave out
    r.real(40, d.BD());   // the arrows' extension
    // The cutting plane, the label and the hatch come before the identifier's position
    // and offset, the arrows' position and the end lines' overshoot, which DXF writes
    // first and among the plane's lengths.
    Record later;
    const ViewLine plane = readViewLine(f);
    const ViewLine bend = readViewLine(f);
    const double bendLength = d.BD();
    const double endLength = d.BD();
    later.integer(71, 2);
    writeViewLine(f, plane, later);
    writeViewLine(f, bend, later);
    later.real(40, bendLength);
    const size_t overshootAt = later.groups.size();
    later.real(40, endLength);
    viewLabel(f, later);
    later.integer(71, 4);
    viewStyleColor(f, d.CMC(), later);  // the hatch's colour and background
    viewStyleColor(f, d.CMC(), later);
    later.text(300, d.TV());
    later.real(40, d.BD());
    later.integer(90, d.BL());  // transparency
    later.integer(290, d.B());
    later.integer(290, d.B());
    r.integer(90, d.BL());
    r.real(40, d.BD());
    r.integer(90, d.BL());
    Record overshoot;
    overshoot.real(40, d.BD());
    later.groups.insert(later.groups.begin() + static_cast<std::ptrdiff_t>(overshootAt),
                        overshoot.groups.front());
    r.groups.insert(r.groups.end(), later.groups.begin(), later.groups.end());
    const int64_t angles = itemCount(d, 2);  // the hatch's angles, a BD of 2 bits or more
    r.integer(90, angles);
    for (int64_t i = 0; i < angles && !d.failed(); ++i) r.real(40, d.BD());
}

}  // namespace dwg
