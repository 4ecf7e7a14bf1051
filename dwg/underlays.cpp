// Underlays of PDF, DWF and DGN files and the definitions naming the files they show.
#include "dwg/decoders.h"

namespace dwg {

void decodeUnderlay(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    const Point3 extrusion = d.BD3();
    const Point3 insertion = d.BD3();
    const double angle = d.BD();
    const Point3 scale = d.BD3();
    const int flags = d.RC();
    const int contrast = d.RC();
    const int fade = d.RC();
    const int64_t clipped = itemCount(d, 128);
    std::vector<Point2> clip;
    for (int64_t i = 0; i < clipped && !d.failed(); ++i) clip.push_back(d.RD2());
    std::vector<Point2> inverted;
    if (flags & 16) {
        const int n = d.BS();
        if (n < 0 || static_cast<uint64_t>(n) > d.bitsLeft() / 128) {
            d.stop();
            return;
        }
        for (int i = 0; i < n && !d.failed(); ++i) inverted.push_back(d.RD2());
    }
    const uint64_t definition = f.ref();
    proxyGraphics(f, r);
    r.marker("AcDbUnderlayReference");
    if (definition) r.hex(340, definition);
    r.point(10, insertion);
    if (scale.x != 1.0 || scale.y != 1.0 || scale.z != 1.0) {
        r.real(41, scale.x);
        r.real(42, scale.y);
        r.real(43, scale.z);
    }
    if (angle != 0.0) r.real(50, degrees(angle));
    r.extrusion(extrusion);
    r.integer(280, flags);
    r.integer(281, contrast);
    r.integer(282, fade);
    for (const Point2& p : clip) r.point(11, p);
    if (!inverted.empty()) {
        r.integer(170, static_cast<int64_t>(inverted.size()));
        for (const Point2& p : inverted) r.point(12, p);
    }
}

void decodeUnderlayDefinition(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    const std::string file = d.TV();
    const std::string name = d.TV();
    r.marker("AcDbUnderlayDefinition");
    r.text(1, file);
    r.text(2, name);
}

}  // namespace dwg
