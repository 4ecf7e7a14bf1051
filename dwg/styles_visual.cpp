// Visual styles: how faces, edges and the display of 3D objects are shown. Up to 2007
// a style holds its 28 properties as plain fields; 2010 gives each a flag (DXF 176,
// whether the style sets it), and 2013 adds 30 properties more, which DXF then writes
// as one list of 58 values by their kind (90, 40, 62 with 420, 290, 1).
#include "drawing/aci.h"
#include "dwg/decoders.h"

namespace dwg {
namespace {

using drawing::nearestAci;

enum class Kind : uint8_t { Long, Real, Colour, Bit, Text };

struct Property {
    Kind kind;
    int code;  // the DXF code up to 2010
};

// The 28 properties 2010 stores, in their order: the face's, the edges' and the
// display's.
constexpr Property kStyleProperties[] = {
    {Kind::Long, 71},    {Kind::Long, 72},    {Kind::Long, 73},    {Kind::Long, 90},
    {Kind::Real, 40},    {Kind::Real, 41},    {Kind::Colour, 63},  {Kind::Long, 74},
    {Kind::Long, 91},    {Kind::Colour, 64},  {Kind::Colour, 65},  {Kind::Long, 75},
    {Kind::Long, 175},   {Kind::Real, 42},    {Kind::Long, 92},    {Kind::Colour, 66},
    {Kind::Real, 43},    {Kind::Long, 76},    {Kind::Long, 77},    {Kind::Long, 78},
    {Kind::Colour, 67},  {Kind::Long, 79},    {Kind::Long, 170},   {Kind::Long, 171},
    {Kind::Bit, 290},    {Kind::Long, 93},    {Kind::Real, 44},    {Kind::Long, 173},
};

// The kinds of the properties 2013 adds.
constexpr Kind kLaterKinds[] = {
    Kind::Bit,  Kind::Bit,  Kind::Bit,  Kind::Bit,    Kind::Bit,  Kind::Bit,
    Kind::Bit,  Kind::Bit,  Kind::Bit,  Kind::Long,   Kind::Real, Kind::Real,
    Kind::Long, Kind::Colour, Kind::Long, Kind::Long, Kind::Colour, Kind::Bit,
    Kind::Long, Kind::Long, Kind::Long, Kind::Bit,    Kind::Long, Kind::Colour,
    Kind::Real, Kind::Long, Kind::Text, Kind::Bit,    Kind::Real, Kind::Real,
};

// A property's value read in its kind, as DXF writes it under `code` (a colour as its
// index under `code`, its true colour under `rgbCode`).
void styleValue(BitReader& d, Kind kind, int code, int rgbCode, Record& r) {
    switch (kind) {
    case Kind::Long: r.integer(code, d.BL()); break;
    case Kind::Real: r.real(code, d.BD()); break;
    case Kind::Bit: r.integer(code, d.B()); break;
    case Kind::Text: r.text(code, d.TV()); break;
    case Kind::Colour: {
        const Color c = d.CMC();
        r.integer(code, c.hasRgb ? nearestAci(c.rgb) : c.index);
        if (c.hasRgb) r.integer(rgbCode, c.rgb);
        break;
    }
    }
}

int listCode(Kind kind) {
    switch (kind) {
    case Kind::Long: return 90;
    case Kind::Real: return 40;
    case Kind::Colour: return 62;
    case Kind::Bit: return 290;
    case Kind::Text: return 1;
    }
    return 90;
}

// Up to 2007: the fields in their stored order, written in DXF's.
void plainProperties(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    Record face;  // the face's lighting, quality and colour mode
    for (int code : {71, 72, 73}) face.integer(code, d.BL());
    const double opacity = d.BD();
    const double specular = d.BD();
    const Color mono = d.CMC();
    const int64_t modifier = d.BL();
    r.groups.insert(r.groups.end(), face.groups.begin(), face.groups.end());
    r.integer(90, modifier);
    r.real(40, opacity);
    r.real(41, specular);
    r.integer(62, 5);
    r.integer(63, mono.hasRgb ? nearestAci(mono.rgb) : mono.index);
    if (mono.hasRgb) r.integer(421, mono.rgb);
    r.integer(74, d.BL());
    r.integer(91, d.BL());
    styleValue(d, Kind::Colour, 64, 64 + 358, r);
    styleValue(d, Kind::Colour, 65, 65 + 358, r);
    r.integer(75, d.BL());
    const size_t intersectionLinetype = r.groups.size();
    r.real(42, d.BD());
    r.integer(92, d.BL());
    styleValue(d, Kind::Colour, 66, 66 + 358, r);
    r.real(43, d.BD());
    r.integer(76, d.BS());
    r.integer(77, d.BS());
    r.integer(78, d.BL());
    styleValue(d, Kind::Colour, 67, 67 + 358, r);
    r.integer(79, d.BS());
    r.integer(170, d.RC());
    r.integer(171, d.BS());
    r.integer(290, d.B());
    r.integer(174, d.BS());
    Record linetype;  // DXF holds it beside the obscured edges' linetype
    linetype.integer(175, d.BS());
    r.groups.insert(r.groups.begin() + static_cast<std::ptrdiff_t>(intersectionLinetype),
                    linetype.groups.front());
    r.integer(93, d.BL());
    r.real(44, d.BL());
    r.integer(173, d.BL());
    const double later = f.version() >= Version::R2007 ? d.BD() : 0.0;
    r.integer(291, d.B());
    r.real(45, later);
}

}  // namespace

// DXF of R13 and R14 has no visual styles: the drawing program leaves them out there,
// and so are they here (declined, counted).
void decodeVisualStyle(ObjectFrame& f, Record& r) {
    if (f.version() <= Version::R14) {
        r.type.clear();
        return;
    }
    BitReader& d = f.data();
    r.marker("AcDbVisualStyle");
    r.text(2, d.TV());
    r.integer(70, d.BL());
    if (f.version() < Version::R2010) {
        plainProperties(f, r);
        return;
    }
    const bool list = f.version() >= Version::R2013;
    // The version of the style's properties: DXF names the list of 2013 on 3, where the
    // DWG keeps the 2 of the 28 properties.
    const int propertiesVersion = d.BS();
    r.integer(177, list ? 3 : propertiesVersion);
    r.integer(291, d.B());
    if (list) r.integer(70, std::size(kStyleProperties) + std::size(kLaterKinds));
    for (const Property& p : kStyleProperties) {
        if (list) {
            styleValue(d, p.kind, listCode(p.kind), 420, r);
        } else {
            styleValue(d, p.kind, p.code, p.code + 358, r);
        }
        r.integer(176, d.BS());
    }
    if (!list) return;
    for (Kind kind : kLaterKinds) {
        styleValue(d, kind, listCode(kind), 420, r);
        r.integer(176, d.BS());
    }
}

}  // namespace dwg
