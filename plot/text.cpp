// Drawing TEXT, ATTRIB, ATTDEF and MTEXT. A text's height is the height of its
// capitals; the font is scaled so that its cap height matches.
#include <algorithm>
#include <cmath>
#include <span>

#include "plot/entity.h"
#include "plot/glyphs.h"

namespace plot {
namespace {

// One line of text: `origin` is its baseline start in the entity's local frame (x along
// the text, y up, drawing units), `advance` its length in glyph units.
struct Line {
    std::vector<uint32_t> glyphs;
    QPointF origin;
    double advance = 0;
    bool blank = false;  // nothing to draw
};

// `k`: drawing units per glyph unit.
void emitLines(std::span<const Line> lines, const FontMetrics& m, double k, double widthFactor,
               double oblique, const QTransform& local, Out& out) {
    for (const Line& line : lines) {
        if (line.blank) continue;
        QTransform place = QTransform::fromScale(k * widthFactor, -k);
        place *= QTransform(1, 0, std::tan(oblique * M_PI / 180), 1, 0, 0);
        place *= QTransform::fromTranslate(line.origin.x(), line.origin.y());
        const QRectF box(0, -m.capHeight, line.advance, m.capHeight + m.descent);
        out.text(line.glyphs, place * local, box);
    }
}

void drawSingleLine(const EntityGroups& g, const TextStyle& style, const QTransform& t, Out& out) {
    const bool attdef = g.type() == "ATTDEF";
    if ((g.type() == "ATTRIB" || attdef) && (g.integer(70) & 1)) return;  // invisible
    const QString text = g.text(attdef ? 2 : 1);
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

// The paragraphs of an MTEXT value with its formatting codes taken out.
QStringList mtextParagraphs(const QString& s) {
    QStringList lines{QString()};
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == '{' || c == '}') continue;
        if (c != '\\' || i + 1 >= s.size()) {
            lines.back() += c;
            continue;
        }
        const QChar code = s[++i];
        if (code == 'P' || code == 'N' || code == 'X') {
            lines.append(QString());
        } else if (code == '~') {
            lines.back() += ' ';
        } else if (code == '\\' || code == '{' || code == '}') {
            lines.back() += code;
        } else if (code == 'S') {  // stacked fraction a^b; a/b; a#b;
            const qsizetype end = s.indexOf(';', i);
            QString stack = s.mid(i + 1, (end < 0 ? s.size() : end) - i - 1);
            stack.replace('^', '/').replace('#', '/');
            lines.back() += stack;
            i = end < 0 ? s.size() : end;
        } else if (QString("ACcFfHQTWp").contains(code)) {
            const qsizetype end = s.indexOf(';', i);
            i = end < 0 ? s.size() : end;
        }
        // \L \l \O \o \K \k: under-, over- and strike-lines, not drawn
    }
    return lines;
}

// A paragraph of glyphs `ids` (`info` each) broken into lines no wider than `width`
// glyph units: at blanks, or between any two characters of a word too long for a line
// (Chinese has no blanks). No width: one line.
std::vector<Line> wrap(const std::vector<uint32_t>& ids, const std::vector<Glyph>& info,
                       double width) {
    std::vector<Line> out;
    auto add = [&](size_t begin, size_t end) {
        Line line;
        line.glyphs.assign(ids.begin() + begin, ids.begin() + end);
        line.blank = true;
        for (size_t i = begin; i < end; ++i) {
            line.advance += info[i].advance;
            line.blank = line.blank && QChar::isSpace(info[i].character);
        }
        out.push_back(std::move(line));
    };
    size_t from = 0;  // the first glyph of the line being filled
    double advance = 0;
    for (size_t i = 0; i < ids.size(); ++i) {
        advance += info[i].advance;
        if (width <= 0 || advance <= width || i == from) continue;
        size_t space = i;  // a break after the last blank past the line's first glyph
        while (space > from + 1 && info[space - 1].character != ' ') --space;
        if (space > from + 1) {
            add(from, space - 1);
            from = space;
        } else {
            add(from, i);
            from = i;
        }
        advance = 0;
        for (size_t k = from; k <= i; ++k) advance += info[k].advance;
    }
    add(from, ids.size());
    return out;
}

void drawMText(const EntityGroups& g, const TextStyle& style, const QTransform& t, Out& out) {
    std::string raw;
    for (const auto& [code, value] : g.list())
        if (code == 3) raw += value;
    raw += g.raw(1);
    Glyphs& glyphs = Glyphs::instance();
    const FontMetrics& m = style.metrics;
    double height = g.number(40, 2.5);
    if (height <= 0) height = 2.5;
    const double k = height / m.capHeight;
    const double spacing = height * 5.0 / 3.0 * g.number(44, 1);
    std::vector<Line> lines;
    for (const QString& p : mtextParagraphs(decodeText(g.codec(), raw))) {
        std::vector<uint32_t> ids;
        glyphs.layout(style.font, p, ids);
        for (Line& line : wrap(ids, glyphs.glyphs(ids), g.number(41, 0) / k))
            lines.push_back(std::move(line));
    }
    const int attach = std::clamp(g.integer(71, 1), 1, 9);
    const int column = (attach - 1) % 3, row = (attach - 1) / 3;
    const double total = height + static_cast<double>(lines.size() - 1) * spacing;
    const double top = row == 0 ? 0 : row == 1 ? total / 2 : total;
    for (size_t i = 0; i < lines.size(); ++i) {
        const double w = lines[i].advance * k;
        lines[i].origin = {column == 0   ? 0
                           : column == 1 ? -w / 2
                                         : -w,
                           top - height - static_cast<double>(i) * spacing};
    }
    double rotation = g.number(50, 0);
    if (g.has(11)) {
        const QPointF d = g.point(11);
        rotation = std::atan2(d.y(), d.x()) * 180 / M_PI;
    }
    QTransform local = QTransform().rotate(rotation);
    const QPointF at = g.point(10);
    local *= QTransform::fromTranslate(at.x(), at.y());
    emitLines(lines, m, k, 1, 0, local * t, out);
}

}  // namespace

void drawText(const EntityGroups& g, const TextStyle& style, const QTransform& t, Out& out) {
    if (g.type() == "MTEXT")
        drawMText(g, style, t, out);
    else
        drawSingleLine(g, style, t, out);
}

}  // namespace plot
