#include "dwg/object_types.h"

#include <string_view>

namespace dwg {
namespace {

struct Fixed {
    uint16_t type;
    const char* dxfName;
    bool entity;
    Decoder decode;
};

template <const char* Table>
void control(ObjectFrame& f, Record& r) {
    decodeControl(f, r, Table);
}

constexpr char kLayer[] = "LAYER";
constexpr char kStyle[] = "STYLE";
constexpr char kView[] = "VIEW";
constexpr char kUcs[] = "UCS";
constexpr char kVport[] = "VPORT";
constexpr char kAppid[] = "APPID";

const Fixed kFixed[] = {
    {1, "TEXT", true, decodeText},
    {2, "ATTRIB", true, decodeAttrib},
    {3, "ATTDEF", true, decodeAttdef},
    {4, "BLOCK", true, decodeBlock},
    {5, "ENDBLK", true, decodeEndBlock},
    {6, "SEQEND", true, decodeSeqend},
    {7, "INSERT", true, decodeInsert},
    {8, "INSERT", true, decodeMInsert},
    {10, "VERTEX", true, decodeVertex2d},
    {11, "VERTEX", true, decodeVertex3d},
    {12, "VERTEX", true, decodeVertexMesh},
    {13, "VERTEX", true, decodeVertexPface},
    {14, "VERTEX", true, decodeVertexPfaceFace},
    {15, "POLYLINE", true, decodePolyline2d},
    {16, "POLYLINE", true, decodePolyline3d},
    {17, "ARC", true, decodeArc},
    {18, "CIRCLE", true, decodeCircle},
    {19, "LINE", true, decodeLine},
    {20, "DIMENSION", true, decodeDimOrdinate},
    {21, "DIMENSION", true, decodeDimLinear},
    {22, "DIMENSION", true, decodeDimAligned},
    {23, "DIMENSION", true, decodeDimAngular3Point},
    {24, "DIMENSION", true, decodeDimAngular2Line},
    {25, "DIMENSION", true, decodeDimRadius},
    {26, "DIMENSION", true, decodeDimDiameter},
    {27, "POINT", true, decodePoint},
    {28, "3DFACE", true, decode3dFace},
    {29, "POLYLINE", true, decodePolylinePface},
    {30, "POLYLINE", true, decodePolylineMesh},
    {31, "SOLID", true, decodeSolid},
    {32, "TRACE", true, decodeTrace},
    {33, "SHAPE", true, decodeShape},
    {34, "VIEWPORT", true, decodeViewport},
    {35, "ELLIPSE", true, decodeEllipse},
    {36, "SPLINE", true, decodeSpline},
    {37, "REGION", true, decodeAcis},
    {38, "3DSOLID", true, decodeAcis},
    {39, "BODY", true, decodeAcis},
    {40, "RAY", true, decodeRay},
    {41, "XLINE", true, decodeXline},
    {42, "DICTIONARY", false, decodeDictionary},
    {43, "OLEFRAME", true, nullptr},
    {44, "MTEXT", true, decodeMText},
    {45, "LEADER", true, decodeLeader},
    {46, "TOLERANCE", true, decodeTolerance},
    {47, "MLINE", true, decodeMLine},
    {48, "TABLE", false, decodeBlockControl},
    {49, "BLOCK_RECORD", false, decodeBlockHeader},
    {50, "TABLE", false, control<kLayer>},
    {51, "LAYER", false, decodeLayer},
    {52, "TABLE", false, control<kStyle>},
    {53, "STYLE", false, decodeStyle},
    {56, "TABLE", false, decodeLinetypeControl},
    {57, "LTYPE", false, decodeLinetype},
    {60, "TABLE", false, control<kView>},
    {61, "VIEW", false, decodeView},
    {62, "TABLE", false, control<kUcs>},
    {63, "UCS", false, decodeUcs},
    {64, "TABLE", false, control<kVport>},
    {65, "VPORT", false, decodeVport},
    {66, "TABLE", false, control<kAppid>},
    {67, "APPID", false, decodeAppid},
    {68, "TABLE", false, decodeDimstyleControl},
    {69, "DIMSTYLE", false, decodeDimstyle},
    // The viewport entity headers of R13 to 2000 have no DXF counterpart.
    {70, "", false, nullptr},
    {71, "", false, nullptr},
    {72, "GROUP", false, decodeGroup},
    {73, "MLINESTYLE", false, decodeMlineStyle},
    {74, "OLE2FRAME", true, nullptr},
    {75, "", false, nullptr},
    {76, "", false, nullptr},
    {77, "LWPOLYLINE", true, decodeLwPolyline},
    {78, "HATCH", true, decodeHatch},
    {79, "XRECORD", false, decodeXrecord},
    {80, "ACDBPLACEHOLDER", false, decodePlaceholder},
    {81, "VBA_PROJECT", false, nullptr},
    {82, "LAYOUT", false, decodeLayout},
    {498, "ACAD_PROXY_ENTITY", true, decodeProxyEntity},
    {499, "ACAD_PROXY_OBJECT", false, decodeProxyObject},
};

struct ByName {
    const char* dxfName;
    uint16_t fixed;     // the fixed type whose decoder reads it, or 0
    Decoder decode;     // else its own decoder
};

const ByName kClasses[] = {
    {"LWPOLYLINE", 77, nullptr},
    {"HATCH", 78, nullptr},
    {"XRECORD", 79, nullptr},
    {"ACDBPLACEHOLDER", 80, nullptr},
    {"LAYOUT", 82, nullptr},
    {"DICTIONARYVAR", 0, decodeDictionaryVar},
    {"ACDBDICTIONARYWDFLT", 0, decodeDictionaryWithDefault},
    {"PLOTSETTINGS", 0, decodePlotSettings},
    {"IMAGE", 0, decodeImage},
    {"WIPEOUT", 0, decodeWipeout},
    {"IMAGEDEF", 0, decodeImageDef},
    {"IMAGEDEF_REACTOR", 0, decodeImageDefReactor},
    {"RASTERVARIABLES", 0, decodeRasterVariables},
    {"WIPEOUTVARIABLES", 0, decodeWipeoutVariables},
    {"SCALE", 0, decodeScale},
    {"SORTENTSTABLE", 0, decodeSortentsTable},
    {"DBCOLOR", 0, decodeDbColor},
    {"MULTILEADER", 0, decodeMultiLeader},
    {"MLEADERSTYLE", 0, decodeMLeaderStyle},
    {"MESH", 0, decodeMesh},
    {"PDFUNDERLAY", 0, decodeUnderlay},
    {"DWFUNDERLAY", 0, decodeUnderlay},
    {"DGNUNDERLAY", 0, decodeUnderlay},
    {"PDFDEFINITION", 0, decodeUnderlayDefinition},
    {"DWFDEFINITION", 0, decodeUnderlayDefinition},
    {"DGNDEFINITION", 0, decodeUnderlayDefinition},
    {"ACAD_TABLE", 0, decodeTable},
    {"TABLESTYLE", 0, decodeTableStyle},
    {"CELLSTYLEMAP", 0, decodeCellStyleMap},
    {"TABLEGEOMETRY", 0, decodeTableGeometry},
    {"TABLECONTENT", 0, decodeTableContent},
    {"MATERIAL", 0, decodeMaterial},
    {"VISUALSTYLE", 0, decodeVisualStyle},
    {"ACDBSECTIONVIEWSTYLE", 0, decodeSectionViewStyle},
    {"ACDBDETAILVIEWSTYLE", 0, decodeDetailViewStyle},
    {"ARC_DIMENSION", 0, decodeArcDimension},
    {"SPATIAL_FILTER", 0, decodeSpatialFilter},
    {"SUN", 0, decodeSun},
    {"DIMASSOC", 0, decodeDimAssoc},
    {"GEODATA", 0, decodeGeoData},
};

}  // namespace

ObjectType objectType(uint16_t type, const std::vector<DwgClass>& classes) {
    if (type < 500) {
        for (const Fixed& f : kFixed)
            if (f.type == type) return ObjectType{f.dxfName, f.entity, f.decode};
        return ObjectType{"", false, nullptr};
    }
    const size_t index = type - 500u;
    if (index >= classes.size()) return ObjectType{"", false, nullptr};
    const DwgClass& c = classes[index];
    for (const ByName& b : kClasses) {
        if (c.dxfName != b.dxfName) continue;
        if (b.fixed) {
            ObjectType t = objectType(b.fixed, classes);
            t.dxfName = c.dxfName;
            return t;
        }
        return ObjectType{c.dxfName, c.isEntity, b.decode};
    }
    return ObjectType{c.dxfName, c.isEntity, nullptr};
}

}  // namespace dwg
