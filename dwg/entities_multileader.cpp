// Multileaders (MULTILEADER). The DWG stores the context data (the leaders first, then
// the content); DXF writes the content first and the leaders within it, so the leaders
// are gathered apart and placed where DXF has them.
#include "dwg/decoders.h"

namespace dwg {
namespace {

// Least bits of one leader root, one leader line, one point pair as stored.
constexpr size_t kMleaderRootBits = 22;
constexpr size_t kMleaderLineBits = 6;
constexpr size_t kMleaderPointBits = 6;

// The overrides a leader line of 2010 on may carry, by the bit of its flags.
enum MleaderLineOverride : uint32_t {
    kOverrideType = 1,
    kOverrideColor = 2,
    kOverrideLinetype = 4,
    kOverrideWeight = 8,
    kOverrideArrowSize = 16,
    kOverrideArrow = 32,
};

// Pairs of break points (DXF `startCode`, `startCode` + 1).
void mleaderBreaks(BitReader& d, Record& out, int startCode) {
    const int64_t count = d.BL();
    if (!mleaderCountFits(d, count, 2 * kMleaderPointBits)) return;
    for (int64_t i = 0; i < count && !d.failed(); ++i) {
        out.point(startCode, d.BD3());
        out.point(startCode + 1, d.BD3());
    }
}

void mleaderLine(ObjectFrame& f, Record& out) {
    BitReader& d = f.data();
    out.text(304, "LEADER_LINE{");
    const int64_t points = d.BL();
    if (!mleaderCountFits(d, points, kMleaderPointBits)) return;
    for (int64_t i = 0; i < points && !d.failed(); ++i) out.point(10, d.BD3());
    if (d.BL() > 0) {  // the line's breaks: a segment and its pairs
        out.integer(90, d.BL());
        mleaderBreaks(d, out, 11);
    }
    out.integer(91, d.BL());
    if (f.version() >= Version::R2010) {
        const int type = d.BS();
        const Color color = d.CMC();
        const uint64_t linetype = f.ref();
        const int32_t weight = d.BL();
        const double arrowSize = d.BD();
        const uint64_t arrow = f.ref();
        const uint32_t overrides = static_cast<uint32_t>(d.BL());
        if (overrides & kOverrideType) out.integer(170, type);
        if (overrides & kOverrideColor) out.integer(92, mleaderColor(color));
        if (overrides & kOverrideLinetype) out.hex(340, linetype);
        if (overrides & kOverrideWeight) out.integer(171, weight);
        if (overrides & kOverrideArrowSize) out.real(40, arrowSize);
        if (overrides & kOverrideArrow) out.hex(341, arrow);
    }
    out.text(305, "}");
}

void mleaderRoot(ObjectFrame& f, Record& out) {
    BitReader& d = f.data();
    out.text(302, "LEADER{");
    out.integer(290, d.B());
    out.integer(291, d.B());
    out.point(10, d.BD3());
    out.point(11, d.BD3());
    mleaderBreaks(d, out, 12);
    out.integer(90, d.BL());
    out.real(40, d.BD());
    const int64_t lines = d.BL();
    if (!mleaderCountFits(d, lines, kMleaderLineBits)) return;
    for (int64_t i = 0; i < lines && !d.failed(); ++i) mleaderLine(f, out);
    if (f.version() >= Version::R2010) out.integer(271, d.BS());
    out.text(303, "}");
}

void mleaderText(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    r.text(304, d.TV());
    r.point(11, d.BD3());
    r.hex(340, f.ref());
    r.point(12, d.BD3());
    r.point(13, d.BD3());
    r.real(42, d.BD());
    r.real(43, d.BD());
    r.real(44, d.BD());
    r.real(45, d.BD());
    r.integer(170, d.BS());
    r.integer(90, mleaderColor(d.CMC()));
    r.integer(171, d.BS());
    r.integer(172, d.BS());
    r.integer(91, mleaderColor(d.CMC()));
    r.real(141, d.BD());
    r.integer(92, d.BL());
    r.integer(291, d.B());
    r.integer(292, d.B());
    r.integer(173, d.BS());
    r.integer(293, d.B());
    r.real(142, d.BD());
    r.real(143, d.BD());
    r.integer(294, d.B());
    const int64_t columns = d.BL();
    if (!mleaderCountFits(d, columns, 2)) return;
    for (int64_t i = 0; i < columns && !d.failed(); ++i) r.real(144, d.BD());
    r.integer(295, d.B());
    d.B();
}

void mleaderBlock(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    r.hex(341, f.ref());
    r.point(14, d.BD3());
    r.point(15, d.BD3());
    r.point(16, d.BD3());
    r.real(46, d.BD());
    r.integer(93, mleaderColor(d.CMC()));
    for (int i = 0; i < 16 && !d.failed(); ++i) r.real(47, d.BD());
}

// The context data, content first and the leaders at their place in DXF.
void mleaderContext(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    const int64_t roots = d.BL();
    if (!mleaderCountFits(d, roots, kMleaderRootBits)) return;
    Record leaders;
    for (int64_t i = 0; i < roots && !d.failed(); ++i) mleaderRoot(f, leaders);
    r.text(300, "CONTEXT_DATA{");
    r.real(40, d.BD());
    r.point(10, d.BD3());
    r.real(41, d.BD());
    r.real(140, d.BD());
    r.real(145, d.BD());
    r.integer(174, d.BS());
    r.integer(175, d.BS());
    r.integer(176, d.BS());
    r.integer(177, d.BS());
    const bool text = d.B();
    r.integer(290, text);
    bool block = false;
    if (text) {
        mleaderText(f, r);
    } else {
        block = d.B();
    }
    r.integer(296, block);
    if (block) mleaderBlock(f, r);
    r.point(110, d.BD3());
    r.point(111, d.BD3());
    r.point(112, d.BD3());
    r.integer(297, d.B());
    for (Group& g : leaders.groups) r.groups.push_back(std::move(g));
    if (f.version() >= Version::R2010) {  // stored top, then bottom; DXF has 272 bottom first
        const int top = d.BS();
        r.integer(272, d.BS());
        r.integer(273, top);
    }
    r.text(301, "}");
}

}  // namespace

int32_t mleaderColor(const Color& c) {
    uint32_t v = 0xc3000000u | (static_cast<uint32_t>(c.index) & 0xff);
    if (c.hasRgb) {
        v = 0xc2000000u | c.rgb;
    } else if (c.index == 256) {
        v = 0xc0000000u;
    } else if (c.index == 0) {
        v = 0xc1000000u;
    }
    return static_cast<int32_t>(v);
}

bool mleaderCountFits(BitReader& d, int64_t count, size_t leastBits) {
    if (count >= 0 && static_cast<uint64_t>(count) <= d.bitsLeft() / leastBits) return true;
    d.stop();
    return false;
}

void decodeMultiLeader(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    r.marker("AcDbMLeader");
    if (f.version() >= Version::R2010) r.integer(270, d.BS());
    mleaderContext(f, r);
    if (d.failed()) return;
    r.hex(340, f.ref());
    r.integer(90, d.BL());
    r.integer(170, d.BS());
    r.integer(91, mleaderColor(d.CMC()));
    r.hex(341, f.ref());
    r.integer(171, d.BL());
    r.integer(290, d.B());
    r.integer(291, d.B());
    r.real(41, d.BD());
    if (const uint64_t arrow = f.ref()) r.hex(342, arrow);
    r.real(42, d.BD());
    r.integer(172, d.BS());
    r.hex(343, f.ref());
    r.integer(173, d.BS());
    r.integer(95, d.BS());
    r.integer(174, d.BS());
    r.integer(175, d.BS());
    r.integer(92, mleaderColor(d.CMC()));
    r.integer(292, d.B());
    if (const uint64_t block = f.ref()) r.hex(344, block);
    r.integer(93, mleaderColor(d.CMC()));
    r.point(10, d.BD3());
    r.real(43, d.BD());
    r.integer(176, d.BS());
    r.integer(293, d.B());
    if (f.version() <= Version::R2007) {
        const int64_t arrows = d.BL();
        if (!mleaderCountFits(d, arrows, 1)) return;
        for (int64_t i = 0; i < arrows && !d.failed(); ++i) {
            r.integer(94, d.B());
            r.hex(345, f.ref());
        }
    }
    const int64_t labels = d.BL();
    if (!mleaderCountFits(d, labels, 4)) return;
    for (int64_t i = 0; i < labels && !d.failed(); ++i) {
        r.hex(330, f.ref());
        const std::string text = d.TV();
        r.integer(177, d.BS());
        r.real(44, d.BD());
        r.text(302, text);
    }
    r.integer(294, d.B());
    r.integer(178, d.BS());
    r.integer(179, d.BS());
    r.real(45, d.BD());
    if (f.version() >= Version::R2010) {
        r.integer(271, d.BS());
        const int top = d.BS();
        r.integer(272, d.BS());
        r.integer(273, top);
    }
    if (f.version() >= Version::R2013) r.integer(295, d.B());
}

}  // namespace dwg
