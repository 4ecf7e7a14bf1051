// Arc length dimensions: the data every dimension shares, then the arc's points and
// angles. DXF names them ARC_DIMENSION and marks them an angular dimension (type 5);
// they are drawn, as every dimension, through their anonymous block. DXF of R13 and R14
// has no such entity: there it is the INSERT of that block, as the drawing program
// writes it.
#include "dwg/decoders.h"

namespace dwg {

void decodeArcDimension(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    DimensionCommon m = readDimensionCommon(f, 5);
    const Point3 arcPoint = d.BD3();
    const Point3 extension1 = d.BD3();
    const Point3 extension2 = d.BD3();
    const Point3 centre = d.BD3();
    const int partial = d.B();
    const double start = d.BD();
    const double end = d.BD();
    const int leader = d.B();
    const Point3 leader1 = d.BD3();
    const Point3 leader2 = d.BD3();
    if (f.version() <= Version::R14) {
        m.style = f.ref();
        m.block = f.ref();
        r.type = "INSERT";
        r.marker("AcDbBlockReference");
        r.nameOf(2, m.block);
        r.point(10, Point3{});
        return;
    }
    proxyGraphics(f, r);  // the drawing program keeps them for readers without the class
    writeDimensionCommon(f, m, arcPoint, r);
    r.marker("AcDbArcDimension");
    r.point(13, extension1);
    r.point(14, extension2);
    r.point(15, centre);
    r.integer(70, partial);
    r.real(40, start);
    r.real(41, end);
    r.integer(71, leader);
    r.point(16, leader1);
    r.point(17, leader2);
}

}  // namespace dwg
