// Drawing TEXT, ATTRIB, ATTDEF and MTEXT. A text's height is the height of its
// capitals; the font is scaled so that its cap height matches.
#include <QFontMetricsF>
#include <QHash>
#include <cmath>

#include "cadbatch/plot_entity.h"

namespace cadplot {
namespace {

constexpr double kFontPixels = 100;  // texts are laid out in a font of this size

// A font and its measures, made once per family: a drawing has few text styles and
// many texts.
struct Font {
    QFont font;
    QFontMetricsF metrics;
};

const Font& fontOf(const TextStyle& style) {
    static QHash<QString, Font> fonts;
    auto it = fonts.find(style.family);
    if (it != fonts.end()) return *it;
    QFont font;
    font.setFamilies({style.family, "DejaVu Sans", "WenQuanYi Micro Hei", "Noto Sans CJK SC"});
    font.setPixelSize(static_cast<int>(kFontPixels));
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false);
    return *fonts.insert(style.family, Font{font, QFontMetricsF(font)});
}

// One line of text: `origin` is its baseline start in the entity's local frame (x along
// the text, y up, drawing units), `k` drawing units per font pixel. Its advance in font
// pixels is kept from placing it: measuring a text shapes it, which is costly.
struct Line {
    QString text;
    QPointF origin;
    double advance = 0;
};

void emitLines(const std::vector<Line>& lines, const Font& f, double k, double widthFactor,
               double oblique, const QTransform& local, Out& out) {
    const QFontMetricsF& fm = f.metrics;
    for (const Line& line : lines) {
        if (line.text.trimmed().isEmpty()) continue;
        QTransform place = QTransform::fromScale(k * widthFactor, -k);
        place *= QTransform(1, 0, std::tan(oblique * M_PI / 180), 1, 0, 0);
        place *= QTransform::fromTranslate(line.origin.x(), line.origin.y());
        const QRectF box(0, -fm.capHeight(), line.advance, fm.capHeight() + fm.descent());
        out.text(line.text, f.font, place * local, box);
    }
}

void drawSingleLine(const EntityGroups& g, const TextStyle& style, const QTransform& t, Out& out) {
    const bool attdef = g.type() == "ATTDEF";
    if ((g.type() == "ATTRIB" || attdef) && (g.integer(70) & 1)) return;  // invisible
    const QString text = g.text(attdef ? 2 : 1);
    if (text.isEmpty()) return;
    const Font& font = fontOf(style);
    const QFontMetricsF& fm = font.metrics;
    double height = g.number(40, 2.5);
    if (height <= 0) height = 2.5;
    double widthFactor = g.number(41, style.widthFactor);
    if (widthFactor <= 0) widthFactor = 1;
    double rotation = g.number(50, 0);
    const int horizontal = g.integer(72), vertical = g.integer(attdef ? 74 : 73);
    const QPointF p1 = g.point(10);
    const QPointF p2 = g.has(11) ? g.point(11) : p1;
    double k = height / fm.capHeight();
    const double advance = fm.horizontalAdvance(text);
    double width = advance * k * widthFactor;
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
        dy = fm.descent() * k;
    const int generation = g.integer(71);
    QTransform local = QTransform::fromScale(generation & 2 ? -1 : 1, generation & 4 ? -1 : 1);
    local *= QTransform().rotate(rotation);
    local *= QTransform::fromTranslate(anchor.x(), anchor.y());
    emitLines({{text, {dx, dy}, advance}}, font, k, widthFactor, g.number(51, style.oblique),
              local * g.ocs() * t, out);
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

// `paragraph` broken into lines no wider than `width` font pixels: at blanks, or
// between any two characters of a word too long for a line (Chinese has no blanks).
QStringList wrap(const QString& paragraph, double width, const QFontMetricsF& fm) {
    if (width <= 0) return {paragraph};
    QStringList out;
    QString line;
    for (const QChar c : paragraph) {
        line += c;
        if (fm.horizontalAdvance(line) <= width || line.size() == 1) continue;
        const qsizetype blank = line.lastIndexOf(' ', line.size() - 2);
        if (blank > 0) {
            out.append(line.left(blank));
            line = line.mid(blank + 1);
        } else {
            out.append(line.left(line.size() - 1));
            line = QString(c);
        }
    }
    out.append(line);
    return out;
}

void drawMText(const EntityGroups& g, const TextStyle& style, const QTransform& t, Out& out) {
    std::string raw;
    for (const auto& [code, value] : g.list())
        if (code == 3) raw += value;
    raw += g.raw(1);
    const Font& font = fontOf(style);
    const QFontMetricsF& fm = font.metrics;
    double height = g.number(40, 2.5);
    if (height <= 0) height = 2.5;
    const double k = height / fm.capHeight();
    const double spacing = height * 5.0 / 3.0 * g.number(44, 1);
    QStringList lines;
    for (const QString& p : mtextParagraphs(decodeText(g.codec(), raw)))
        lines += wrap(p, g.number(41, 0) / k, fm);
    const int attach = std::clamp(g.integer(71, 1), 1, 9);
    const int column = (attach - 1) % 3, row = (attach - 1) / 3;
    const double total = height + (lines.size() - 1) * spacing;
    const double top = row == 0 ? 0 : row == 1 ? total / 2 : total;
    std::vector<Line> placed;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const double advance = fm.horizontalAdvance(lines[i]);
        const double w = advance * k;
        placed.push_back({lines[i],
                          {column == 0   ? 0
                           : column == 1 ? -w / 2
                                         : -w,
                           top - height - i * spacing},
                          advance});
    }
    double rotation = g.number(50, 0);
    if (g.has(11)) {
        const QPointF d = g.point(11);
        rotation = std::atan2(d.y(), d.x()) * 180 / M_PI;
    }
    QTransform local = QTransform().rotate(rotation);
    const QPointF at = g.point(10);
    local *= QTransform::fromTranslate(at.x(), at.y());
    emitLines(placed, font, k, 1, 0, local * t, out);
}

}  // namespace

void drawText(const EntityGroups& g, const TextStyle& style, const QTransform& t, Out& out) {
    if (g.type() == "MTEXT")
        drawMText(g, style, t, out);
    else
        drawSingleLine(g, style, t, out);
}

}  // namespace cadplot
