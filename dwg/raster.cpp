// Raster images and wipeouts, with the objects they refer to: image definitions and
// their reactors, and the drawing-wide raster and wipeout settings. Also the annotation
// scales, the named (book) colours and the draw order tables.
#include "dwg/decoders.h"

namespace dwg {
namespace {

void imageBody(ObjectFrame& f, Record& r, bool wipeout) {
    BitReader& d = f.data();
    const int64_t version = d.BL();
    const Point3 insertion = d.BD3();
    const Point3 u = d.BD3();
    const Point3 v = d.BD3();
    const Point2 size = d.RD2();
    const int display = d.BS();
    const int clipping = d.B();
    const int brightness = d.RC();
    const int contrast = d.RC();
    const int fade = d.RC();
    int clipMode = 0;
    if (f.version() >= Version::R2010) clipMode = d.B();
    const int clipType = d.BS();
    int64_t vertices = 2;
    if (clipType != 1) vertices = d.BL();
    if (vertices < 0 || static_cast<uint64_t>(vertices) > d.bitsLeft()) {
        d.stop();
        return;
    }
    std::vector<Point2> clip;
    for (int64_t i = 0; i < vertices && !d.failed(); ++i) clip.push_back(d.RD2());
    // DXF closes a polygonal boundary by repeating its first vertex.
    if (clipType == 2 && clip.size() > 2 &&
        (clip.back().x != clip.front().x || clip.back().y != clip.front().y))
        clip.push_back(clip.front());
    const uint64_t definition = f.ref();
    const uint64_t reactor = f.ref();
    r.marker(wipeout ? "AcDbWipeout" : "AcDbRasterImage");
    r.integer(90, version);
    r.point(10, insertion);
    r.point(11, u);
    r.point(12, v);
    r.point(13, size);
    if (definition) r.hex(340, definition);
    r.integer(70, display);
    r.integer(280, clipping);
    r.integer(281, brightness);
    r.integer(282, contrast);
    r.integer(283, fade);
    if (reactor) r.hex(360, reactor);
    r.integer(71, clipType);
    r.integer(91, static_cast<int64_t>(clip.size()));
    for (const Point2& p : clip) r.point(14, p);
    if (f.version() >= Version::R2010) r.integer(290, clipMode);
}

}  // namespace

void decodeImage(ObjectFrame& f, Record& r) { imageBody(f, r, false); }
void decodeWipeout(ObjectFrame& f, Record& r) { imageBody(f, r, true); }

void decodeImageDef(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    const int64_t version = d.BL();
    const Point2 size = d.RD2();
    const std::string path = d.TV();
    const int loaded = d.B();
    const int units = d.RC();
    const Point2 pixel = d.RD2();
    r.marker("AcDbRasterImageDef");
    r.integer(90, version);
    r.text(1, path);
    r.point(10, size);
    r.point(11, pixel);
    r.integer(280, loaded);
    r.integer(281, units);
}

void decodeImageDefReactor(ObjectFrame& f, Record& r) {
    r.marker("AcDbRasterImageDefReactor");
    r.integer(90, f.data().BL());
    r.hex(330, r.owner);
}

void decodeRasterVariables(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    r.marker("AcDbRasterVariables");
    r.integer(90, d.BL());
    r.integer(70, d.BS());
    r.integer(71, d.BS());
    r.integer(72, d.BS());
}

void decodeWipeoutVariables(ObjectFrame& f, Record& r) {
    r.marker("AcDbWipeoutVariables");
    r.integer(70, f.data().BS());
}

void decodeScale(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    r.marker("AcDbScale");
    r.integer(70, d.BS());
    r.text(300, d.TV());
    r.real(140, d.BD());
    r.real(141, d.BD());
    r.integer(290, d.B());
}

void decodeDbColor(ObjectFrame& f, Record& r) {
    r.color = f.data().CMC();
    r.marker("AcDbColor");
    r.integer(62, r.color.index);
    if (r.color.hasRgb) r.integer(420, r.color.rgb);
    if (!r.color.name.empty()) r.text(430, r.color.book + "$" + r.color.name);
}

void decodeSortentsTable(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    const uint64_t block = f.ref();
    const int64_t count = d.BL();
    if (count < 0 || static_cast<uint64_t>(count) > d.bitsLeft()) {
        d.stop();
        return;
    }
    r.marker("AcDbSortentsTable");
    r.hex(330, block);
    // Each entity's sort handle stands in the data, the entity in the handles.
    for (int64_t i = 0; i < count && !f.failed(); ++i) {
        const uint64_t sort = d.H().value;
        r.hex(331, f.ref());
        r.hex(5, sort);
    }
}

}  // namespace dwg
