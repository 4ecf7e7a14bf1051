// Drawing TEXT, ATTRIB and ATTDEF, and handing MTEXT to its setter. A text's height is the height
// of its capitals; the font is scaled so that its cap height matches.
#include <algorithm>
#include <cmath>
#include <span>

#include "plot/entity.h"
#include "plot/glyphs.h"
#include "plot/mtext.h"

namespace plot {
namespace {

// One line of text: `origin` is its baseline start in the entity's local frame (x along
// the text, y up, drawing units), `advance` its length in glyph units.
struct Line {
    std::vector<uint32_t> glyphs;
    QPointF origin;
    double advance = 0;
};

// `k`: drawing units per glyph unit.
void emitLines(std::span<const Line> lines, const FontMetrics& m, double k, double widthFactor,
               double oblique, const QTransform& local, Out& out) {
    for (const Line& line : lines) {
        QTransform place = QTransform::fromScale(k * widthFactor, -k);
        place *= QTransform(1, 0, std::tan(oblique * M_PI / 180), 1, 0, 0);
        place *= QTransform::fromTranslate(line.origin.x(), line.origin.y());
        const QRectF box(0, -m.capHeight, line.advance, m.capHeight + m.descent);
        out.text(line.glyphs, place * local, box);
    }
}

// `value`: what to write in place of the entity's own text.
void drawSingleLine(const EntityGroups& g, const TextStyle& style, const QTransform& t, Out& out,
                    const QString* value = nullptr) {
    const bool attdef = g.type() == "ATTDEF";
    if ((g.type() == "ATTRIB" || attdef) && (g.integer(70) & 1)) return;  // invisible
    const QString text = value ? *value : g.text(attdef ? 2 : 1);
    if (text.trimmed().isEmpty()) return;
    const FontMetrics& m = style.metrics;
    Line line;
    line.advance = Glyphs::instance().layout(style.font, text, line.glyphs);
    double height = g.number(40, 2.5);
    if (height <= 0) height = 2.5;
    double widthFactor = g.number(41, style.widthFactor);
    if (widthFactor <= 0) widthFactor = 1;
    double rotation = g.number(50, 0);
    const int horizontal = g.integer(72), vertical = g.integer(attdef ? 74 : 73);
    const QPointF p1 = g.point(10);
    const QPointF p2 = g.has(11) ? g.point(11) : p1;
    double k = height / m.capHeight;
    double width = line.advance * k * widthFactor;
    QPointF anchor = (horizontal == 0 && vertical == 0) ? p1 : p2;
    double dx = 0;
    if (horizontal == 3 || horizontal == 5) {  // aligned / fit between the two points
        const QPointF d = p2 - p1;
        const double length = std::hypot(d.x(), d.y());
        if (length > 1e-12 && width > 0) {
            rotation = std::atan2(d.y(), d.x()) * 180 / M_PI;
            if (horizontal == 3) {
                k *= length / width;
                height *= length / width;
            } else {
                widthFactor *= length / width;
            }
            width = length;
        }
        anchor = p1;
    } else if (horizontal == 1 || horizontal == 4) {
        dx = -width / 2;
    } else if (horizontal == 2) {
        dx = -width;
    }
    double dy = 0;
    if (horizontal == 4 || vertical == 2)
        dy = -height / 2;
    else if (vertical == 3)
        dy = -height;
    else if (vertical == 1)
        dy = m.descent * k;
    const int generation = g.integer(71);
    QTransform local = QTransform::fromScale(generation & 2 ? -1 : 1, generation & 4 ? -1 : 1);
    local *= QTransform().rotate(rotation);
    local *= QTransform::fromTranslate(anchor.x(), anchor.y());
    line.origin = {dx, dy};
    emitLines({&line, 1}, m, k, widthFactor, g.number(51, style.oblique), local * g.ocs() * t, out);
}

}  // namespace

void drawAttribute(const EntityGroups& attdef, const QString& value, const TextStyle& style,
                   const QTransform& t, Out& out) {
    drawSingleLine(attdef, style, t, out, &value);
}

void drawText(const EntityGroups& g, const TextStyle& style, const QTransform& t, Out& out,
              bool wrap) {
    if (g.type() == "MTEXT")
        drawMText(mtextFrame(g, wrap), style, t, out);
    else
        drawSingleLine(g, style, t, out);
}

}  // namespace plot
