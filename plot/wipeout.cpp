// WIPEOUT: its polygon painted in the paper's colour where it comes in drawing order, so
// what was drawn before it is masked; its frame only when the drawing asks for frames.
// The polygon is stored as an image's clipping path: in pixels of an image whose lower
// left pixel's centre is the insertion point, from the image's top left corner.
#include "plot/parts.h"

namespace plot {

namespace {
constexpr size_t kMostCorners = 1 << 16;
}  // namespace

void drawWipeout(const EntityGroups& g, Parts& parts) {
    const QPointF u = g.point(11), v = g.point(12);
    const double height = g.number(23, 1);
    const QPointF origin = g.point(10) + u * 0.5 - v * 0.5;
    std::vector<QPointF> corners;
    for (const auto& [code, value] : g.list()) {
        if (code == 14 && corners.size() < kMostCorners) corners.emplace_back(toNumber(value), 0);
        if (code == 24 && !corners.empty()) corners.back().setY(toNumber(value));
    }
    if (corners.size() == 2)  // a rectangle by two corners
        corners = {corners[0],
                   {corners[1].x(), corners[0].y()},
                   corners[1],
                   {corners[0].x(), corners[1].y()}};
    if (corners.size() < 3) return;
    QPainterPath outline;
    for (size_t i = 0; i < corners.size(); ++i) {
        const QPointF p = origin + u * corners[i].x() + v * (height - corners[i].y());
        if (i == 0)
            outline.moveTo(p);
        else
            outline.lineTo(p);
    }
    outline.closeSubpath();
    const QTransform t = parts.t();
    Pen paper = parts.entityPen();
    paper.aci = kPaperAci;
    paper.color = Qt::white;
    Out(parts.scene(), paper).fill(outline, t);
    if (parts.wipeoutFrames()) Out(parts.scene(), parts.entityPen()).stroke(outline, t);
}

}  // namespace plot
