// The decoders of each object type: each reads the type's own data from a frame whose
// common data has been read, and writes the type's DXF groups into the record. They
// are listed by type in object_types.cpp.
#pragma once

#include <cmath>
#include <numbers>

#include "dwg/object_frame.h"
#include "dwg/record.h"

namespace dwg {

using Decoder = void (*)(ObjectFrame& frame, Record& record);

inline double degrees(double radians) { return radians * 180.0 / std::numbers::pi; }

// A count of items read as BL, each of at least `minBits` bits: 0, with the data
// stopped, when the bits left could not hold that many.
inline int64_t itemCount(BitReader& d, size_t minBits) {
    const int64_t n = d.BL();
    if (n < 0 || static_cast<uint64_t>(n) > d.bitsLeft() / minBits) {
        d.stop();
        return 0;
    }
    return n;
}

// Geometry (entities_geometry.cpp).
void decodeLine(ObjectFrame&, Record&);
void decodeCircle(ObjectFrame&, Record&);
void decodeArc(ObjectFrame&, Record&);
void decodePoint(ObjectFrame&, Record&);
void decodeEllipse(ObjectFrame&, Record&);
void decodeRay(ObjectFrame&, Record&);
void decodeXline(ObjectFrame&, Record&);
void decodeSolid(ObjectFrame&, Record&);
void decodeTrace(ObjectFrame&, Record&);
void decode3dFace(ObjectFrame&, Record&);
void decodeViewport(ObjectFrame&, Record&);

// Lightweight polylines and multi-line texts (entities_curves.cpp).
void decodeLwPolyline(ObjectFrame&, Record&);
void decodeMText(ObjectFrame&, Record&);
void decodeSpline(ObjectFrame&, Record&);

// The data of an MTEXT after its common data, which attributes of 2018 embed.
struct MTextBody {
    Point3 insertion, extrusion{0, 0, 1}, xAxis{1, 0, 0};
    double width = 0, rectHeight = 0, height = 0, spacing = 1.0, backgroundScale = 1.5;
    Point2 extents;  // the width and height of the text as drawn
    int attachment = 1, direction = 1, spacingStyle = 1;
    std::string text;
    uint64_t style = 0;
    int64_t background = 0, backgroundTransparency = 0;
    Color backgroundColor;
};
MTextBody readMTextBody(ObjectFrame& f);
// Its DXF groups (without the style, extrusion and direction when embedded).
void writeMTextBody(const MTextBody& m, Version version, bool embedded, Record& r);

// Leaders, feature control frames and multilines (entities_annotation.cpp).
void decodeLeader(ObjectFrame&, Record&);
void decodeTolerance(ObjectFrame&, Record&);
void decodeMLine(ObjectFrame&, Record&);

// Multileaders (entities_multileader.cpp) and their styles (mleader_style.cpp).
void decodeMultiLeader(ObjectFrame&, Record&);
void decodeMLeaderStyle(ObjectFrame&, Record&);
// A colour as the multileader's DXF groups hold it: 0xC0000000 BYLAYER, 0xC1000000
// BYBLOCK, 0xC2RRGGBB a true colour, 0xC30000nn an ACI index.
int32_t mleaderColor(const Color& c);
// Whether `count` items of at least `leastBits` each fit in the bits left; when not,
// the stream is stopped.
bool mleaderCountFits(BitReader& d, int64_t count, size_t leastBits);

// Hatches (entities_hatch.cpp).
void decodeHatch(ObjectFrame&, Record&);

// Dimensions (entities_dimension.cpp).
void decodeDimOrdinate(ObjectFrame&, Record&);
void decodeDimLinear(ObjectFrame&, Record&);
void decodeDimAligned(ObjectFrame&, Record&);
void decodeDimAngular3Point(ObjectFrame&, Record&);
void decodeDimAngular2Line(ObjectFrame&, Record&);
void decodeDimRadius(ObjectFrame&, Record&);
void decodeDimDiameter(ObjectFrame&, Record&);
// The data every kind of dimension shares (read before the kind's own points), and
// their AcDbDimension groups with the definition point (10) each kind reads itself.
// `kind` is DXF's dimension type (group 70, low bits).
struct DimensionCommon {
    Point3 extrusion{0, 0, 1};
    Point2 textMiddle;
    double elevation = 0;
    int flags = 0;  // group 70
    std::string text;
    double textRotation = 0, horizontal = 0, blockRotation = 0;
    int attachment = 5, spacingStyle = 1;
    double spacing = 1.0, measurement = 0;
    bool unknown = false, flip1 = false, flip2 = false;
    Point2 clone;
    uint64_t style = 0, block = 0;
};

DimensionCommon readDimensionCommon(ObjectFrame& f, int kind);
void writeDimensionCommon(ObjectFrame& f, DimensionCommon& m, const Point3& definition,
                          Record& r);
void decodeArcDimension(ObjectFrame&, Record&);  // entities_arc_dimension.cpp

// Texts (entities_text.cpp).
void decodeText(ObjectFrame&, Record&);
void decodeAttrib(ObjectFrame&, Record&);
void decodeAttdef(ObjectFrame&, Record&);

// Blocks, references and polylines with their sub-entities (entities_compound.cpp).
void decodeBlock(ObjectFrame&, Record&);
void decodeEndBlock(ObjectFrame&, Record&);
void decodeSeqend(ObjectFrame&, Record&);
void decodeInsert(ObjectFrame&, Record&);
void decodeMInsert(ObjectFrame&, Record&);
void decodeVertex2d(ObjectFrame&, Record&);
void decodeVertex3d(ObjectFrame&, Record&);
void decodeVertexMesh(ObjectFrame&, Record&);
void decodeVertexPface(ObjectFrame&, Record&);
void decodeVertexPfaceFace(ObjectFrame&, Record&);
void decodePolyline2d(ObjectFrame&, Record&);
void decodePolyline3d(ObjectFrame&, Record&);
void decodePolylinePface(ObjectFrame&, Record&);
void decodePolylineMesh(ObjectFrame&, Record&);

// Tables (tables.cpp, dimstyle.cpp).
void decodeControl(ObjectFrame&, Record&, const char* table);
void decodeBlockControl(ObjectFrame&, Record&);
void decodeLinetypeControl(ObjectFrame&, Record&);
void decodeDimstyleControl(ObjectFrame&, Record&);
void decodeLayer(ObjectFrame&, Record&);
void decodeLinetype(ObjectFrame&, Record&);
void decodeStyle(ObjectFrame&, Record&);
void decodeView(ObjectFrame&, Record&);
void decodeUcs(ObjectFrame&, Record&);
void decodeVport(ObjectFrame&, Record&);
void decodeAppid(ObjectFrame&, Record&);
void decodeDimstyle(ObjectFrame&, Record&);
void decodeBlockHeader(ObjectFrame&, Record&);

// Images, wipeouts and what they refer to; scales, book colours and draw orders
// (raster.cpp).
void decodeImage(ObjectFrame&, Record&);
void decodeWipeout(ObjectFrame&, Record&);
void decodeImageDef(ObjectFrame&, Record&);
void decodeImageDefReactor(ObjectFrame&, Record&);
void decodeRasterVariables(ObjectFrame&, Record&);
void decodeWipeoutVariables(ObjectFrame&, Record&);
void decodeScale(ObjectFrame&, Record&);
void decodeDbColor(ObjectFrame&, Record&);
void decodeSortentsTable(ObjectFrame&, Record&);

// Proxies (entities_proxy.cpp); an entity of an unknown class that carries proxy
// graphics becomes a proxy entity showing them.
void decodeProxyEntity(ObjectFrame&, Record&);
void decodeProxyObject(ObjectFrame&, Record&);
void decodeAsProxyEntity(ObjectFrame&, Record&);
// An entity's proxy graphics as DXF holds them among its common groups (the size, then
// the bytes): none when it has none.
void proxyGraphics(const ObjectFrame&, Record&);

// Subdivision meshes (entities_mesh.cpp); underlays and their definitions (underlays.cpp).
void decodeMesh(ObjectFrame&, Record&);
void decodeUnderlay(ObjectFrame&, Record&);
void decodeUnderlayDefinition(ObjectFrame&, Record&);

// Regions, solids and bodies with their ACIS data (entities_acis.cpp).
void decodeAcis(ObjectFrame&, Record&);

// Tables of cells, their styles and geometry (entities_table.cpp, table_styles.cpp,
// table_objects.cpp).
void decodeTable(ObjectFrame&, Record&);
void decodeTableStyle(ObjectFrame&, Record&);
void decodeCellStyleMap(ObjectFrame&, Record&);
void decodeTableGeometry(ObjectFrame&, Record&);
void decodeTableContent(ObjectFrame&, Record&);  // table_content.cpp

// Shapes (shapes.cpp); their names are filled in from their shape files afterwards.
void decodeShape(ObjectFrame&, Record&);

// Objects (objects.cpp).
void decodeDictionary(ObjectFrame&, Record&);
void decodeDictionaryWithDefault(ObjectFrame&, Record&);
void decodeXrecord(ObjectFrame&, Record&);
void decodePlaceholder(ObjectFrame&, Record&);
void decodeDictionaryVar(ObjectFrame&, Record&);
void decodeGroup(ObjectFrame&, Record&);
void decodePlotSettings(ObjectFrame&, Record&);
void decodeLayout(ObjectFrame&, Record&);
void decodeMlineStyle(ObjectFrame&, Record&);

// Materials (materials.cpp) and visual styles (styles_visual.cpp).
void decodeMaterial(ObjectFrame&, Record&);
void decodeVisualStyle(ObjectFrame&, Record&);

// Section and detail view styles (styles_view.cpp).
void decodeSectionViewStyle(ObjectFrame&, Record&);
void decodeDetailViewStyle(ObjectFrame&, Record&);

// Clipping boundaries, suns, dimension associations and geographic data
// (objects_misc.cpp).
void decodeSpatialFilter(ObjectFrame&, Record&);
void decodeSun(ObjectFrame&, Record&);
void decodeDimAssoc(ObjectFrame&, Record&);
void decodeGeoData(ObjectFrame&, Record&);

}  // namespace dwg
