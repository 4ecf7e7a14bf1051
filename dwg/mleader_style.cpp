// Multileader styles (MLEADERSTYLE).
#include "dwg/decoders.h"

namespace dwg {
namespace {

// Up to 2007 a style stores its text angle and its left alignment only when it is of
// the second version of the class, which the extended data of ACAD_MLEADERVER marks
// (a 1070 group of 2); from 2010 on the version is stored.
bool mleaderStyleVersion2(const Record& r) {
    for (const Group& g : r.xdata)
        if (g.code == 1070 && g.value == "2") return true;
    return false;
}

}  // namespace

void decodeMLeaderStyle(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    r.marker("AcDbMLeaderStyle");
    int classVersion = mleaderStyleVersion2(r) ? 2 : 1;
    if (f.version() >= Version::R2010) {
        classVersion = d.BS();
        r.integer(179, classVersion);
    }
    r.integer(170, d.BS());
    r.integer(171, d.BS());
    r.integer(172, d.BS());
    r.integer(90, d.BL());
    r.real(40, d.BD());
    r.real(41, d.BD());
    r.integer(173, d.BS());
    r.integer(91, mleaderColor(d.CMC()));
    r.hex(340, f.ref());
    r.integer(92, d.BL());
    r.integer(290, d.B());
    r.real(42, d.BD());
    r.integer(291, d.B());
    r.real(43, d.BD());
    r.text(3, d.TV());
    if (const uint64_t arrow = f.ref()) r.hex(341, arrow);
    r.real(44, d.BD());
    r.text(300, d.TV());
    r.hex(342, f.ref());
    r.integer(174, d.BS());
    r.integer(178, d.BS());
    r.integer(175, classVersion >= 2 ? d.BS() : 0);
    r.integer(176, d.BS());
    r.integer(93, mleaderColor(d.CMC()));
    r.real(45, d.BD());
    r.integer(292, d.B());
    r.integer(297, classVersion >= 2 ? d.B() : 0);
    r.real(46, d.BD());
    if (const uint64_t block = f.ref()) r.hex(343, block);
    r.integer(94, mleaderColor(d.CMC()));
    const Point3 scale = d.BD3();
    r.real(47, scale.x);
    r.real(49, scale.y);
    r.real(140, scale.z);
    r.integer(293, d.B());
    r.real(141, d.BD());
    r.integer(294, d.B());
    r.integer(177, d.BS());
    r.real(142, d.BD());
    // Stored as annotative, then changed; DXF writes them the other way round.
    const bool annotative = d.B();
    r.integer(295, d.B());
    r.integer(296, annotative);
    r.real(143, d.BD());
    if (f.version() >= Version::R2010) {
        r.integer(271, d.BS());
        const int top = d.BS();
        r.integer(272, d.BS());
        r.integer(273, top);
    }
    if (f.version() >= Version::R2013) r.integer(298, d.B());
}

}  // namespace dwg
