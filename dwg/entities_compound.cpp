// The entities that bracket or own others: BLOCK and ENDBLK, SEQEND, block references
// (INSERT, MINSERT) with their attributes, and the old-style polylines with their
// vertices.
#include "dwg/decoders.h"

namespace dwg {
namespace {

// Up to 2000 a list of owned entities is given by its first and last; from 2004 on by
// a count (read with the data) and the handles of all of them.
void readOwned(ObjectFrame& f, Record& r, int64_t count, bool present) {
    if (present) {
        if (f.version() <= Version::R2000) {
            r.firstOwned = f.ref();
            r.lastOwned = f.ref();
        } else {
            for (int64_t i = 0; i < count && !f.failed(); ++i) r.owned.push_back(f.ref());
        }
    }
    if (present) r.seqend = f.ref();
}

int64_t readOwnedCount(ObjectFrame& f) {
    if (f.version() < Version::R2004) return 0;
    const int64_t count = f.data().BL();
    if (count < 0 || static_cast<uint64_t>(count) > f.handles().bitsLeft()) f.data().stop();
    return count;
}

void insertBody(ObjectFrame& f, Record& r, bool multiple) {
    BitReader& d = f.data();
    const Point3 insertion = d.BD3();
    Point3 scale{1, 1, 1};
    if (f.version() <= Version::R14) {
        scale = d.BD3();
    } else {
        switch (d.BB()) {
        case 3: break;
        case 1:
            scale.y = d.DD(1.0);
            scale.z = d.DD(1.0);
            break;
        case 2: scale.x = scale.y = scale.z = d.RD(); break;
        default:
            scale.x = d.RD();
            scale.y = d.DD(scale.x);
            scale.z = d.DD(scale.x);
            break;
        }
    }
    const double rotation = d.BD();
    const Point3 extrusion = d.BD3();
    const bool hasAttributes = d.B();
    const int64_t count = hasAttributes ? readOwnedCount(f) : 0;
    int columns = 1, rows = 1;
    double columnSpacing = 0, rowSpacing = 0;
    if (multiple) {
        columns = d.BS();
        rows = d.BS();
        columnSpacing = d.BD();
        rowSpacing = d.BD();
    }
    const uint64_t block = f.ref();
    readOwned(f, r, count, hasAttributes);

    r.marker(multiple ? "AcDbMInsertBlock" : "AcDbBlockReference");
    if (hasAttributes) r.integer(66, 1);
    r.nameOf(2, block);
    r.point(10, insertion);
    if (scale.x != 1.0) r.real(41, scale.x);
    if (scale.y != 1.0) r.real(42, scale.y);
    if (scale.z != 1.0) r.real(43, scale.z);
    if (rotation != 0.0) r.real(50, degrees(rotation));
    if (multiple) {
        r.integer(70, columns);
        r.integer(71, rows);
        r.real(44, columnSpacing);
        r.real(45, rowSpacing);
    }
    r.extrusion(extrusion);
}

void vertexHeader(Record& r, const char* subclass) {
    r.marker("AcDbVertex");
    r.marker(subclass);
}

void vertex3dBody(ObjectFrame& f, Record& r, const char* subclass) {
    BitReader& d = f.data();
    const int flags = d.RC();
    const Point3 point = d.BD3();
    vertexHeader(r, subclass);
    r.point(10, point);
    r.integer(70, flags);
}

// The 10 point of an old-style polyline: its elevation, or nothing but zeros.
void polylinePoint(Record& r, double elevation) { r.point(10, Point3{0, 0, elevation}); }

}  // namespace

void decodeBlock(ObjectFrame& f, Record& r) { r.name = f.data().TV(); }
void decodeEndBlock(ObjectFrame&, Record&) {}
void decodeSeqend(ObjectFrame&, Record&) {}

void decodeInsert(ObjectFrame& f, Record& r) { insertBody(f, r, false); }
void decodeMInsert(ObjectFrame& f, Record& r) { insertBody(f, r, true); }

void decodeVertex2d(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    const int flags = d.RC();
    const Point3 point = d.BD3();
    double start = d.BD();
    double end = start;
    if (start < 0) {
        start = end = -start;
    } else {
        end = d.BD();
    }
    const double bulge = d.BD();
    int64_t id = 0;
    if (f.version() >= Version::R2010) id = d.BL();
    const double tangent = d.BD();
    vertexHeader(r, "AcDb2dVertex");
    r.point(10, point);
    if (start != 0.0) r.real(40, start);
    if (end != 0.0) r.real(41, end);
    if (bulge != 0.0) r.real(42, bulge);
    if (id != 0) r.integer(91, id);
    r.integer(70, flags);
    if (flags & 2) r.real(50, degrees(tangent));
}

void decodeVertex3d(ObjectFrame& f, Record& r) { vertex3dBody(f, r, "AcDb3dPolylineVertex"); }
void decodeVertexMesh(ObjectFrame& f, Record& r) { vertex3dBody(f, r, "AcDbPolygonMeshVertex"); }
void decodeVertexPface(ObjectFrame& f, Record& r) {
    vertex3dBody(f, r, "AcDbPolyFaceMeshVertex");
}

void decodeVertexPfaceFace(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    int index[4];
    for (int& i : index) i = d.BS();
    r.marker("AcDbFaceRecord");
    polylinePoint(r, 0.0);
    r.integer(70, 128);
    // A vertex index of 0 is none: DXF of 2000 on leaves it out, of R13 and R14 only
    // the fourth.
    const int always = f.version() <= Version::R14 ? 3 : 0;
    for (int i = 0; i < 4; ++i)
        if (index[i] != 0 || i < always) r.integer(71 + i, index[i]);
}

void decodePolyline2d(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    const int flags = d.BS();
    const int curve = d.BS();
    const double start = d.BD();
    const double end = d.BD();
    const double thickness = d.BT();
    const double elevation = d.BD();
    const Point3 extrusion = d.BE();
    const int64_t count = readOwnedCount(f);
    readOwned(f, r, count, true);
    r.marker("AcDb2dPolyline");
    r.integer(66, 1);
    polylinePoint(r, elevation);
    r.thickness(thickness);
    r.integer(70, flags);
    if (start != 0.0) r.real(40, start);
    if (end != 0.0) r.real(41, end);
    if (curve != 0) r.integer(75, curve);
    r.extrusion(extrusion);
}

void decodePolyline3d(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    const int splineFlags = d.RC();
    const int closedFlags = d.RC();
    const int64_t count = readOwnedCount(f);
    readOwned(f, r, count, true);
    int flags = 8;
    int curve = 0;
    if (splineFlags & 1) curve = 5;
    if (splineFlags & 2) curve = 6;
    if (curve) flags |= 4;
    if (closedFlags & 1) flags |= 1;
    r.marker("AcDb3dPolyline");
    r.integer(66, 1);
    polylinePoint(r, 0.0);
    r.integer(70, flags);
    if (curve) r.integer(75, curve);
}

void decodePolylinePface(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    const int vertices = d.BS();
    const int faces = d.BS();
    const int64_t count = readOwnedCount(f);
    readOwned(f, r, count, true);
    r.marker("AcDbPolyFaceMesh");
    r.integer(66, 1);
    polylinePoint(r, 0.0);
    r.integer(70, 64);
    r.integer(71, vertices);
    r.integer(72, faces);
}

void decodePolylineMesh(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    const int flags = d.BS();
    const int curve = d.BS();
    const int m = d.BS();
    const int n = d.BS();
    const int mDensity = d.BS();
    const int nDensity = d.BS();
    const int64_t count = readOwnedCount(f);
    readOwned(f, r, count, true);
    r.marker("AcDbPolygonMesh");
    r.integer(66, 1);
    polylinePoint(r, 0.0);
    r.integer(70, flags | 16);
    r.integer(71, m);
    r.integer(72, n);
    if (mDensity != 0) r.integer(73, mDensity);
    if (nDensity != 0) r.integer(74, nDensity);
    if (curve != 0) r.integer(75, curve);
}

}  // namespace dwg
