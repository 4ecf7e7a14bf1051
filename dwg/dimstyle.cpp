// Dimension styles: the dimension variables in the order each version stores them,
// with their DXF group codes.
#include "dwg/decoders.h"
#include "dwg/header.h"
#include "dwg/table_entry.h"

namespace dwg {
namespace {

using V = Version;

enum class K : uint8_t { B, BS, RC, BD, TV, CMC, H };

struct Field {
    int16_t code;  // 0: read and dropped
    K kind;
    V from = V::R13;
    V to = V::R2018;
};

const Field kFields[] = {
    // R13 and R14 keep the switches first.
    {71, K::B, V::R13, V::R14}, {72, K::B, V::R13, V::R14}, {73, K::B, V::R13, V::R14},
    {74, K::B, V::R13, V::R14}, {75, K::B, V::R13, V::R14}, {76, K::B, V::R13, V::R14},
    {170, K::B, V::R13, V::R14}, {172, K::B, V::R13, V::R14}, {173, K::B, V::R13, V::R14},
    {174, K::B, V::R13, V::R14}, {175, K::B, V::R13, V::R14}, {171, K::RC, V::R13, V::R14},
    {78, K::RC, V::R13, V::R14}, {281, K::B, V::R13, V::R14}, {282, K::B, V::R13, V::R14},
    {283, K::RC, V::R13, V::R14}, {280, K::RC, V::R13, V::R14}, {287, K::RC, V::R13, V::R14},
    {288, K::B, V::R13, V::R14}, {284, K::RC, V::R13, V::R14}, {285, K::RC, V::R13, V::R14},
    {286, K::RC, V::R13, V::R14}, {77, K::RC, V::R13, V::R14}, {270, K::BS, V::R13, V::R14},
    {275, K::BS, V::R13, V::R14}, {271, K::BS, V::R13, V::R14}, {272, K::BS, V::R13, V::R14},
    {273, K::BS, V::R13, V::R14}, {274, K::BS, V::R13, V::R14},
    {3, K::TV, V::R2000}, {4, K::TV, V::R2000},
    {40, K::BD}, {41, K::BD}, {42, K::BD}, {43, K::BD}, {44, K::BD}, {45, K::BD},
    {46, K::BD}, {47, K::BD}, {48, K::BD},
    {49, K::BD, V::R2007}, {50, K::BD, V::R2007}, {69, K::BS, V::R2007},
    {70, K::CMC, V::R2007},
    {71, K::B, V::R2000}, {72, K::B, V::R2000}, {73, K::B, V::R2000}, {74, K::B, V::R2000},
    {75, K::B, V::R2000}, {76, K::B, V::R2000}, {77, K::BS, V::R2000},
    {78, K::BS, V::R2000}, {79, K::BS, V::R2000},
    {90, K::BS, V::R2007},
    {140, K::BD}, {141, K::BD}, {142, K::BD}, {143, K::BD}, {144, K::BD}, {145, K::BD},
    {146, K::BD}, {147, K::BD},
    {3, K::TV, V::R13, V::R14}, {4, K::TV, V::R13, V::R14}, {5, K::TV, V::R13, V::R14},
    {6, K::TV, V::R13, V::R14}, {7, K::TV, V::R13, V::R14},
    {148, K::BD, V::R2000}, {170, K::B, V::R2000}, {171, K::BS, V::R2000},
    {172, K::B, V::R2000}, {173, K::B, V::R2000}, {174, K::B, V::R2000},
    {175, K::B, V::R2000},
    {176, K::CMC}, {177, K::CMC}, {178, K::CMC},
    {179, K::BS, V::R2000}, {271, K::BS, V::R2000}, {272, K::BS, V::R2000},
    {273, K::BS, V::R2000}, {274, K::BS, V::R2000}, {275, K::BS, V::R2000},
    {276, K::BS, V::R2000}, {277, K::BS, V::R2000}, {278, K::BS, V::R2000},
    {279, K::BS, V::R2000}, {280, K::BS, V::R2000}, {281, K::B, V::R2000},
    {282, K::B, V::R2000}, {283, K::BS, V::R2000}, {284, K::BS, V::R2000},
    {285, K::BS, V::R2000}, {286, K::BS, V::R2000}, {288, K::B, V::R2000},
    {289, K::BS, V::R2000},
    {290, K::B, V::R2007},
    {294, K::B, V::R2010}, {0, K::BD, V::R2010}, {0, K::TV, V::R2010}, {0, K::BD, V::R2010},
    {0, K::TV, V::R2010},
    {371, K::BS, V::R2000}, {372, K::BS, V::R2000},
};

// The handles, after the common ones: the text style, then from 2000 on the arrow
// blocks and from 2007 on the linetypes.
const Field kHandles[] = {
    {340, K::H}, {341, K::H, V::R2000}, {342, K::H, V::R2000}, {343, K::H, V::R2000},
    {344, K::H, V::R2000}, {345, K::H, V::R2007}, {346, K::H, V::R2007},
    {347, K::H, V::R2007},
};

}  // namespace

void decodeDimstyle(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    int flags = readEntryStart(f, r);
    entryMarkers(r, "AcDbDimStyleTableRecord");
    r.text(2, r.name);
    std::vector<Group> values;
    const auto inRange = [&f](const Field& field) {
        return f.version() >= field.from && f.version() <= field.to;
    };
    for (const Field& field : kFields) {
        if (!inRange(field)) continue;
        std::string text;
        switch (field.kind) {
        case K::B: text = d.B() ? "1" : "0"; break;
        case K::BS: text = std::to_string(d.BS()); break;
        case K::RC: text = std::to_string(d.RC()); break;
        case K::BD: text = realText(d.BD()); break;
        case K::TV: text = d.TV(); break;
        case K::CMC: text = std::to_string(d.CMC().index); break;
        case K::H: break;
        }
        if (field.code != 0) values.push_back(Group{field.code, false, text, 0});
    }
    if (d.B()) flags |= 1;
    r.integer(70, flags);
    for (Group& g : values) r.groups.push_back(std::move(g));
    for (const Field& field : kHandles) {
        if (!inRange(field)) continue;
        const uint64_t h = f.ref();
        // Up to R14 the arrow blocks are names among the values; from 2000 on handles.
        if (field.code == 340 || h != 0) r.hex(field.code, h);
    }
}

}  // namespace dwg
