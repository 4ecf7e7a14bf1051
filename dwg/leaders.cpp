#include "dwg/leaders.h"

#include <cmath>
#include <cstdlib>

namespace dwg {
namespace {

double number(const Group& g) { return std::strtod(g.value.c_str(), nullptr); }

// A value of the dimension style, overridden by the leader's own ACAD DSTYLE data.
double styleValue(const DwgDrawing& d, const Record& leader, uint64_t style, int code,
                  double fallback) {
    for (size_t i = 0; i + 1 < leader.xdata.size(); ++i)
        if (leader.xdata[i].code == 1070 && std::atoi(leader.xdata[i].value.c_str()) == code &&
            leader.xdata[i + 1].code == 1040)
            return number(leader.xdata[i + 1]);
    if (const Record* s = d.find(style))
        for (const Group& g : s->groups)
            if (g.code == code) return number(g);
    return fallback;
}

void complete(const DwgDrawing& d, Record& r) {
    std::vector<size_t> xs;  // the indexes of the points' x groups
    uint64_t style = 0, annotation = 0;
    int type = 3, path = 0, hookOnX = 0;
    Point3 xDirection{1, 0, 0};
    size_t count = 0, hook = 0, boxHeight = 0, boxWidth = 0;
    for (size_t i = 0; i < r.groups.size(); ++i) {
        const Group& g = r.groups[i];
        switch (g.code) {
        case 3: style = g.ref; break;
        case 10: xs.push_back(i); break;
        case 40: boxHeight = i; break;
        case 41: boxWidth = i; break;
        case 72: path = std::atoi(g.value.c_str()); break;
        case 73: type = std::atoi(g.value.c_str()); break;
        case 74: hookOnX = std::atoi(g.value.c_str()); break;
        case 75: hook = i; break;
        case 76: count = i; break;
        case 211: xDirection.x = number(g); break;
        case 221: xDirection.y = number(g); break;
        case 340: annotation = std::strtoull(g.value.c_str(), nullptr, 16); break;
        default: break;
        }
    }
    const Record* text = d.find(annotation);
    if (text && text->type == "MTEXT" && number(r.groups[boxHeight]) == 0.0 &&
        number(r.groups[boxWidth]) == 0.0) {
        r.groups[boxHeight].value = realText(text->extents.y);
        r.groups[boxWidth].value = realText(text->extents.x);
    }
    // A straight leader to an annotation ends in a hook along its x direction, one
    // arrow size long, unless its last segment already runs that way.
    if (type == 3 || path != 0 || !annotation || xs.size() < 2) return;
    const size_t last = xs.back();
    const double ex = number(r.groups[last]), ey = number(r.groups[last + 1]);
    const double px = number(r.groups[xs[xs.size() - 2]]);
    const double py = number(r.groups[xs[xs.size() - 2] + 1]);
    const double cross = (ex - px) * xDirection.y - (ey - py) * xDirection.x;
    if (std::fabs(cross) <= 1e-9 * std::max(1.0, std::hypot(ex - px, ey - py))) {
        r.groups[hook].value = "1";
        return;
    }
    double scale = styleValue(d, r, style, 40, 1.0);
    if (scale == 0.0) scale = 1.0;
    const double length = styleValue(d, r, style, 41, 0.18) * scale;
    const double sign = hookOnX ? 1.0 : -1.0;
    const double ez = number(r.groups[last + 2]);
    std::vector<Group> point = {
        Group{10, false, realText(ex + sign * length * xDirection.x), 0},
        Group{20, false, realText(ey + sign * length * xDirection.y), 0},
        Group{30, false, realText(ez), 0},
    };
    r.groups.insert(r.groups.begin() + static_cast<long>(last), point.begin(), point.end());
    r.groups[hook].value = "1";
    r.groups[count].value = std::to_string(xs.size() + 1);
}

}  // namespace

void completeLeaders(DwgDrawing& drawing) {
    for (Record& r : drawing.records)
        if (r.type == "LEADER") complete(drawing, r);
}

}  // namespace dwg
