// The view tables: named views, UCSs and viewports, and the view data the first and
// the last share.
#include "dwg/decoders.h"
#include "dwg/table_entry.h"

namespace dwg {
namespace {

int readViewMode(BitReader& d) {
    int mode = d.B() ? 1 : 0;
    if (d.B()) mode |= 2;
    if (d.B()) mode |= 4;
    if (!d.B()) mode |= 16;
    return mode;
}

// What views and viewports store alike: the view itself, and from 2007 on its lights.
struct View {
    double height = 0, width = 0, twist = 0, lens = 0, front = 0, back = 0;
    Point2 center;
    Point3 target, direction;
    int mode = 0, render = 0;
};

View readView(ObjectFrame& f) {
    BitReader& d = f.data();
    View v;
    v.height = d.BD();
    v.width = d.BD();
    v.center = d.RD2();
    v.target = d.BD3();
    v.direction = d.BD3();
    v.twist = d.BD();
    v.lens = d.BD();
    v.front = d.BD();
    v.back = d.BD();
    v.mode = readViewMode(d);
    if (f.version() >= Version::R2000) v.render = d.RC();
    if (f.version() >= Version::R2007) {
        f.ref();  // background
        f.ref();  // visual style
        f.ref();  // sun
        d.B();    // the default lights, their kind, brightness, contrast and colour
        d.RC();
        d.BD();
        d.BD();
        d.CMC();
    }
    return v;
}

// A UCS of a view or viewport: origin, axes, elevation and orthographic kind.
struct Ucs {
    Point3 origin, xAxis{1, 0, 0}, yAxis{0, 1, 0};
    double elevation = 0;
    int ortho = 0;
};

Ucs readUcs(BitReader& d) {
    Ucs u;
    u.origin = d.BD3();
    u.xAxis = d.BD3();
    u.yAxis = d.BD3();
    u.elevation = d.BD();
    u.ortho = d.BS();
    return u;
}

void writeUcs(const Ucs& u, Record& r) {
    r.point(110, u.origin);
    r.point(111, u.xAxis);
    r.point(112, u.yAxis);
    r.integer(79, u.ortho);
    r.real(146, u.elevation);
}

}  // namespace

void decodeView(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    int flags = readEntryStart(f, r);
    const View v = readView(f);
    if (d.B()) flags |= 1;  // a paper space view
    bool hasUcs = false;
    Ucs ucs;
    if (f.version() >= Version::R2000) {
        hasUcs = d.B();
        if (hasUcs) {
            ucs = readUcs(d);
            f.ref();  // base UCS
            f.ref();  // named UCS
        }
    }
    if (f.version() >= Version::R2007) {
        d.B();    // camera plottable
        f.ref();  // live section
    }
    entryMarkers(r, "AcDbViewTableRecord");
    r.text(2, r.name);
    r.integer(70, flags);
    r.real(40, v.height);
    r.point(10, v.center);
    r.real(41, v.width);
    r.point(11, v.direction);
    r.point(12, v.target);
    r.real(42, v.lens);
    r.real(43, v.front);
    r.real(44, v.back);
    r.real(50, degrees(v.twist));
    r.integer(71, v.mode);
    if (f.version() >= Version::R2000) {
        r.integer(281, v.render);
        r.integer(72, hasUcs ? 1 : 0);
        if (hasUcs) writeUcs(ucs, r);
    }
}

void decodeUcs(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    const int flags = readEntryStart(f, r);
    const Point3 origin = d.BD3();
    const Point3 xAxis = d.BD3();
    const Point3 yAxis = d.BD3();
    entryMarkers(r, "AcDbUCSTableRecord");
    r.text(2, r.name);
    r.integer(70, flags);
    r.point(10, origin);
    r.point(11, xAxis);
    r.point(12, yAxis);
    if (f.version() >= Version::R2000) {
        const double elevation = d.BD();
        const int ortho = d.BS();
        f.ref();  // base UCS
        f.ref();  // named UCS
        const int count = d.BS();
        r.integer(79, ortho);
        r.real(146, elevation);
        for (int i = 0; i < count && !d.failed(); ++i) {
            r.integer(71, d.BS());
            r.point(13, d.BD3());
        }
    }
}

void decodeVport(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    const int flags = readEntryStart(f, r);
    const View v = readView(f);
    int mode = v.mode;
    const Point2 lowerLeft = d.RD2();
    const Point2 upperRight = d.RD2();
    if (d.B()) mode |= 8;  // UCSFOLLOW
    const int circleZoom = d.BS();
    const int fastZoom = d.B();
    const int ucsIcon = d.BB();
    const int grid = d.B();
    const Point2 gridSpacing = d.RD2();
    const int snap = d.B();
    const int snapStyle = d.B();
    const int isoPair = d.BS();
    const double snapRotation = d.BD();
    const Point2 snapBase = d.RD2();
    const Point2 snapSpacing = d.RD2();
    int ucsPerViewport = 0;
    Ucs ucs;
    if (f.version() >= Version::R2000) {
        d.B();
        ucsPerViewport = d.B();
        ucs = readUcs(d);
    }
    if (f.version() >= Version::R2007) {
        d.BS();  // the grid's flags and major lines
        d.BS();
    }
    if (f.version() >= Version::R2000) {
        f.ref();  // named UCS
        f.ref();  // base UCS
    }
    entryMarkers(r, "AcDbViewportTableRecord");
    r.text(2, r.name);
    r.integer(70, flags);
    r.point(10, lowerLeft);
    r.point(11, upperRight);
    r.point(12, v.center);
    r.point(13, snapBase);
    r.point(14, snapSpacing);
    r.point(15, gridSpacing);
    r.point(16, v.direction);
    r.point(17, v.target);
    r.real(40, v.height);
    r.real(41, v.height != 0.0 ? v.width / v.height : 0.0);
    r.real(42, v.lens);
    r.real(43, v.front);
    r.real(44, v.back);
    r.real(50, degrees(snapRotation));
    r.real(51, degrees(v.twist));
    r.integer(71, mode);
    r.integer(72, circleZoom);
    r.integer(73, fastZoom);
    r.integer(74, ucsIcon);
    r.integer(75, snap);
    r.integer(76, grid);
    r.integer(77, snapStyle);
    r.integer(78, isoPair);
    if (f.version() >= Version::R2000) {
        r.integer(281, v.render);
        r.integer(65, ucsPerViewport);
        writeUcs(ucs, r);
    }
}

}  // namespace dwg
