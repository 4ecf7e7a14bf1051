// Subdivision meshes (MESH): their vertices, faces, edges and edge creases.
#include "dwg/decoders.h"

namespace dwg {
namespace {

// A count read from the data, or -1 (and the data stopped) when the bits left could
// not hold that many values of at least `minBits` each.
int64_t countOf(BitReader& d, size_t minBits) {
    const int64_t n = d.BL();
    if (n < 0 || static_cast<uint64_t>(n) > d.bitsLeft() / minBits) {
        d.stop();
        return -1;
    }
    return n;
}

void points(BitReader& d, int code, Record& r) {
    const int64_t n = countOf(d, 6);  // three bit doubles of two bits at least
    if (n < 0) return;
    r.integer(code, n);
    for (int64_t i = 0; i < n && !d.failed(); ++i) r.point(10, d.BD3());
}

void integers(BitReader& d, int code, int perItem, Record& r) {
    const int64_t n = countOf(d, 2 * perItem);
    if (n < 0) return;
    r.integer(code, n);
    for (int64_t i = 0; i < n * perItem && !d.failed(); ++i) r.integer(90, d.BL());
}

}  // namespace

void decodeMesh(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    proxyGraphics(f, r);
    r.marker("AcDbSubDMesh");
    r.integer(71, d.BS());
    r.integer(72, d.B());
    points(d, 91, r);     // the vertices of the subdivision levels
    points(d, 92, r);     // the vertices
    integers(d, 93, 1, r);  // the faces: each its vertex count, then its vertices
    integers(d, 94, 2, r);  // the edges, as pairs of vertices
    const int64_t creases = countOf(d, 2);
    if (creases < 0) return;
    r.integer(95, creases);
    for (int64_t i = 0; i < creases && !d.failed(); ++i) r.real(140, d.BD());
    r.integer(90, 0);  // no sub-entity overrides its properties
}

}  // namespace dwg
