// Subdivision meshes (MESH): their vertices, faces, edges and edge creases.
#include "dwg/decoders.h"

namespace dwg {
namespace {

void meshPoints(BitReader& d, int code, Record& r) {
    const int64_t n = itemCount(d, 6);  // three bit doubles of two bits at least
    r.integer(code, n);
    for (int64_t i = 0; i < n && !d.failed(); ++i) r.point(10, d.BD3());
}

void meshIndices(BitReader& d, int code, size_t perItem, Record& r) {
    const int64_t n = itemCount(d, 2 * perItem);
    r.integer(code, n);
    for (int64_t i = 0; i < n * static_cast<int64_t>(perItem) && !d.failed(); ++i)
        r.integer(90, d.BL());
}

}  // namespace

void decodeMesh(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    proxyGraphics(f, r);
    r.marker("AcDbSubDMesh");
    r.integer(71, d.BS());
    r.integer(72, d.B());
    meshPoints(d, 91, r);      // the vertices of the subdivision levels
    meshPoints(d, 92, r);      // the vertices
    meshIndices(d, 93, 1, r);  // the faces: each its vertex count, then its vertices
    meshIndices(d, 94, 2, r);  // the edges, as pairs of vertices
    const int64_t creases = itemCount(d, 2);
    r.integer(95, creases);
    for (int64_t i = 0; i < creases && !d.failed(); ++i) r.real(140, d.BD());
    r.integer(90, 0);  // no sub-entity overrides its properties
}

}  // namespace dwg
