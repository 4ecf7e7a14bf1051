// Setting MTEXT: the paragraphs' pieces become atoms (glyphs, blanks, tabs, stacks) with
// their advances in drawing units, atoms fill lines, lines fill columns, and each run of
// glyphs of one format on a line becomes one text of the scene.
#include <algorithm>
#include <cmath>

#include "plot/colors.h"
#include "plot/mtext.h"
#include "plot/mtext_format.h"

namespace plot {
namespace {

constexpr double kLinePitch = 5.0 / 3.0;  // baseline to baseline, in text heights
constexpr double kStackScale = 0.7;       // the parts of a stacked fraction
constexpr double kDefaultTab = 4;         // tab stops every 4 text heights

bool isCjk(char32_t c) {
    return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF00 && c <= 0xFFEF) ||
           (c >= 0x20000 && c <= 0x2FFFF);
}

// Punctuation that may not begin a line, and that may not end one.
bool isClosing(char32_t c) {
    static const std::u32string kClosing =
        U"!%),.:;?]}\u00b0\u2019\u201d\u2030\u3001\u3002\u3009\u300b\u300d\u300f\u3011\u3015"
        U"\uff01\uff05\uff09\uff0c\uff0e\uff1a\uff1b\uff1f\uff3d\uff5d";
    return kClosing.find(c) != std::u32string::npos;
}
bool isOpening(char32_t c) {
    static const std::u32string kOpening =
        U"([{\u2018\u201c\u3008\u300a\u300c\u300e\u3010\u3014\uff08\uff3b\uff5b";
    return kOpening.find(c) != std::u32string::npos;
}

bool isWordChar(char32_t c) {
    return c < 0x10000 ? QChar(static_cast<char16_t>(c)).isLetterOrNumber()
                       : QChar::isLetterOrNumber(c);
}

struct Stack {
    std::vector<uint32_t> upper, lower;
    double upperWidth = 0, lowerWidth = 0;  // drawing units
    QChar kind;
};

struct Atom {
    enum class Kind : uint8_t { Glyph, Blank, Tab, Stack };
    Kind kind = Kind::Glyph;
    char32_t ch = 0;
    uint32_t glyph = 0;
    double glyphAdvance = 0;  // glyph units
    double advance = 0;       // drawing units (tabs: set while lines are filled)
    int format = 0;
    int stack = -1;  // of the stacks
};

struct LineOf {
    size_t begin = 0, end = 0;  // atoms
    size_t paragraph = 0;
    bool first = false;  // the paragraph's first line
    double width = 0;
    double height = 0;  // the tallest format's height
    double x = 0, baseline = 0;
    int column = 0;
};

// The atoms of a paragraph, each format's scale and metrics known.
class Setter {
public:
    Setter(const MTextFrame& frame, const TextStyle& style) : frame_(frame) {
        MTextFormat base;
        base.font = style.font;
        base.height = frame.height;
        base.widthFactor = style.widthFactor;
        base.oblique = style.oblique;
        paragraphs_ = parseMText(frame.text, base, formats_);
        Glyphs& glyphs = Glyphs::instance();
        for (const MTextFormat& f : formats_) {
            const FontMetrics m = glyphs.metrics(f.font);
            metrics_.push_back(m);
            scale_.push_back(f.height / m.capHeight);
        }
    }

    // The box of the lines' capitals, in the frame's coordinates.
    QRectF box() {
        for (size_t p = 0; p < paragraphs_.size(); ++p) atomsOf(p);
        fillLines();
        placeLines();
        double x0 = INFINITY, x1 = -INFINITY, y0 = INFINITY, y1 = -INFINITY;
        for (const LineOf& line : lines_) {
            x0 = std::min(x0, line.x), x1 = std::max(x1, line.x + line.width);
            y0 = std::min(y0, line.baseline), y1 = std::max(y1, line.baseline + line.height);
        }
        return lines_.empty() ? QRectF() : QRectF(QPointF(x0, y0), QPointF(x1, y1));
    }

    void set(const QTransform& t, Out& out) {
        for (size_t p = 0; p < paragraphs_.size(); ++p) atomsOf(p);
        fillLines();
        placeLines();
        const QTransform local = mtextPlacement(frame_) * t;
        for (const LineOf& line : lines_) draw(line, local, out);
    }

private:
    double columnWidth() const {
        if (frame_.columns.count > 1 && frame_.columns.width > 0) return frame_.columns.width;
        return frame_.width;
    }
    bool wraps() const { return frame_.wrap && columnWidth() > 0; }

    void atomsOf(size_t p) {
        Glyphs& glyphs = Glyphs::instance();
        paragraphBegin_.push_back(atoms_.size());
        for (const MTextPiece& piece : paragraphs_[p].pieces) {
            const double k = scale_[piece.format];
            const MTextFormat& f = formats_[piece.format];
            Atom a;
            a.format = piece.format;
            if (piece.kind == MTextPiece::Kind::Tab) {
                a.kind = Atom::Kind::Tab;
                atoms_.push_back(a);
                continue;
            }
            if (piece.kind == MTextPiece::Kind::Stack) {
                Stack s;
                s.kind = piece.stack;
                const double ks = k * kStackScale * f.widthFactor;
                s.upperWidth = glyphs.layout(f.font, piece.text, s.upper) * ks;
                s.lowerWidth = glyphs.layout(f.font, piece.lower, s.lower) * ks;
                a.kind = Atom::Kind::Stack;
                a.advance = (s.kind == '#' ? s.upperWidth + s.lowerWidth + 0.5 * f.height
                                           : std::max(s.upperWidth, s.lowerWidth)) +
                            0.1 * f.height;
                a.stack = static_cast<int>(stacks_.size());
                stacks_.push_back(std::move(s));
                atoms_.push_back(a);
                continue;
            }
            std::vector<uint32_t> ids;
            glyphs.layout(f.font, piece.text, ids);
            const std::vector<Glyph> info = glyphs.glyphs(ids);
            for (size_t i = 0; i < ids.size(); ++i) {
                a.ch = info[i].character;
                a.kind = a.ch == ' ' ? Atom::Kind::Blank : Atom::Kind::Glyph;
                a.glyph = ids[i];
                a.glyphAdvance = info[i].advance;
                a.advance = info[i].advance * k * f.widthFactor * f.tracking;
                atoms_.push_back(a);
            }
        }
    }

    bool breakBefore(size_t i) const {
        const Atom& a = atoms_[i - 1];
        const Atom& b = atoms_[i];
        const bool aBlank = a.kind == Atom::Kind::Blank || a.kind == Atom::Kind::Tab;
        const bool bBlank = b.kind == Atom::Kind::Blank || b.kind == Atom::Kind::Tab;
        if (aBlank) return !bBlank;
        if (bBlank || isClosing(b.ch) || isOpening(a.ch)) return false;
        // Between two Chinese characters, or one and a sign; a word or number stays
        // with the character it touches.
        const bool aCjk = isCjk(a.ch), bCjk = isCjk(b.ch);
        return (aCjk && bCjk) || (aCjk && !isWordChar(b.ch)) || (bCjk && !isWordChar(a.ch));
    }

    double tabStop(const MTextParagraph& p, double x) const {
        for (double stop : p.tabs)
            if (stop * frame_.height > x + 1e-9) return stop * frame_.height;
        const double step = kDefaultTab * frame_.height;
        return (std::floor(x / step + 1e-9) + 1) * step;
    }

    double indentOf(const MTextParagraph& p, bool first) const {
        return (p.left + (first ? p.indent : 0)) * frame_.height;
    }

    // Lines of each paragraph: as many atoms as fit, broken where breakBefore() allows.
    void fillLines() {
        for (size_t p = 0; p < paragraphs_.size(); ++p) {
            const MTextParagraph& para = paragraphs_[p];
            const size_t end = p + 1 < paragraphs_.size() ? paragraphBegin_[p + 1] : atoms_.size();
            size_t start = paragraphBegin_[p];
            bool first = true;
            do {
                const double indent = indentOf(para, first);
                const double room =
                    wraps() ? columnWidth() - indent - para.right * frame_.height : INFINITY;
                double x = 0;
                size_t cut = 0, i = start;
                for (; i < end; ++i) {
                    if (i > start && breakBefore(i)) cut = i;
                    Atom& a = atoms_[i];
                    if (a.kind == Atom::Kind::Tab)
                        a.advance = tabStop(para, indent + x) - indent - x;
                    if (a.kind != Atom::Kind::Blank && x + a.advance > room && cut > start) break;
                    x += a.advance;
                }
                const size_t stop = i == end ? end : cut;
                addLine(start, stop, p, first);
                start = stop;
                while (start < end && atoms_[start].kind == Atom::Kind::Blank) ++start;
                first = false;
            } while (start < end);
        }
    }

    void addLine(size_t begin, size_t end, size_t paragraph, bool first) {
        LineOf line;
        line.begin = begin, line.end = end, line.paragraph = paragraph, line.first = first;
        size_t last = end;  // trailing blanks do not count for the width
        while (last > begin && atoms_[last - 1].kind == Atom::Kind::Blank) --last;
        for (size_t i = begin; i < end; ++i) {
            if (i < last) line.width += atoms_[i].advance;
            line.height = std::max(line.height, formats_[atoms_[i].format].height);
        }
        if (line.height <= 0) {
            const auto& pieces = paragraphs_[paragraph].pieces;
            line.height = pieces.empty() ? frame_.height : formats_[pieces.front().format].height;
        }
        lines_.push_back(line);
    }

    // Baseline to baseline from a line `above` high: at least the text's pitch, more for
    // taller lines (the gap under a line grows with its height).
    double pitch(double above, const LineOf& line) const {
        const double normal = kLinePitch * frame_.height * frame_.lineSpacing;
        if (frame_.exactSpacing) return normal;
        return std::max(normal, (line.height + (kLinePitch - 1) * above) * frame_.lineSpacing);
    }

    double columnHeight(int column) const {
        const MTextColumns& c = frame_.columns;
        if (static_cast<size_t>(column) < c.heights.size() && c.heights[column] > 0)
            return c.heights[column];
        return c.height;
    }

    // Baselines from the top of each column (down is negative), columns side by side;
    // then the whole block moved to its attachment point.
    void placeLines() {
        const int columns = std::max(1, frame_.columns.count);
        int column = 0;
        double y = 0, depth = 0, widest = 0;
        bool fresh = true;
        double above = 0;
        for (LineOf& line : lines_) {
            const MTextParagraph& para = paragraphs_[line.paragraph];
            const bool breakHere = line.first && para.newColumn && !fresh;
            const double next = fresh ? line.height : y + pitch(above, line);
            const double limit = columnHeight(column);
            if (column + 1 < columns && (breakHere || (!fresh && limit > 0 && next > limit))) {
                ++column;
                fresh = true;
            }
            y = fresh ? line.height : y + pitch(above, line);
            fresh = false;
            above = line.height;
            line.baseline = -y;
            line.column = column;
            depth = std::max(depth, y);
            widest = std::max(widest, line.width + indentOf(para, line.first));
        }
        const double colWidth = columnWidth() > 0 ? columnWidth() : widest;
        const double boxWidth =
            columns > 1 ? columns * colWidth + (columns - 1) * frame_.columns.gutter : colWidth;
        const int attach = std::clamp(frame_.attachment, 1, 9);
        const int hor = (attach - 1) % 3, ver = (attach - 1) / 3;
        const double left = hor == 0 ? 0 : hor == 1 ? -boxWidth / 2 : -boxWidth;
        const double top = ver == 0 ? 0 : ver == 1 ? depth / 2 : depth;
        for (LineOf& line : lines_) {
            const MTextParagraph& para = paragraphs_[line.paragraph];
            const double colLeft = left + line.column * (colWidth + frame_.columns.gutter);
            const double indent = indentOf(para, line.first);
            const double room = colWidth - indent - para.right * frame_.height;
            int align = hor;
            if (para.align == MTextParagraph::Align::Left ||
                para.align == MTextParagraph::Align::Justified)
                align = 0;
            if (para.align == MTextParagraph::Align::Center) align = 1;
            if (para.align == MTextParagraph::Align::Right) align = 2;
            line.x = colLeft + indent +
                     (align == 0   ? 0
                      : align == 1 ? (room - line.width) / 2
                                   : room - line.width);
            line.baseline += top;
        }
    }

    Pen penOf(const MTextFormat& f, const Pen& base) const {
        Pen pen = base;
        if (f.trueColor) {
            pen.color = QColor::fromRgb(f.rgb);
            pen.aci = 0;
        } else if (f.aci > 0) {
            pen.color = aciColor(f.aci);
            pen.aci = f.aci;
        }
        return pen;
    }

    // Glyphs [from, to) of one format set from `x` on the baseline.
    void text(const std::vector<uint32_t>& ids, double glyphAdvance, const MTextFormat& f,
              int format, QPointF origin, double scaleBy, const QTransform& local, Out& out) {
        if (ids.empty()) return;
        const double k = scale_[format] * scaleBy;
        const FontMetrics& m = metrics_[format];
        QTransform place = QTransform::fromScale(k * f.widthFactor, -k);
        place *= QTransform(1, 0, std::tan(f.oblique * M_PI / 180), 1, 0, 0);
        place *= QTransform::fromTranslate(origin.x(), origin.y());
        const QRectF box(0, -m.capHeight, glyphAdvance, m.capHeight + m.descent);
        const Pen pen = penOf(f, out.pen());
        Out(out.scene(), pen).text(ids, place * local, box);
    }

    void rule(const MTextFormat& f, double x0, double x1, double y, const QTransform& local,
              Out& out) {
        const Pen pen = penOf(f, out.pen());
        Out(out.scene(), pen).line(local.map(QPointF(x0, y)), local.map(QPointF(x1, y)));
    }

    void drawStack(const Atom& a, double x, double baseline, const QTransform& local, Out& out) {
        const Stack& s = stacks_[a.stack];
        const MTextFormat& f = formats_[a.format];
        const double h = f.height;
        const double widest = std::max(s.upperWidth, s.lowerWidth);
        const double gap = 0.05 * h;
        auto part = [&](const std::vector<uint32_t>& ids, double px, double py) {
            double advance = 0;
            for (const Glyph& g : Glyphs::instance().glyphs(ids)) advance += g.advance;
            text(ids, advance, f, a.format, {px, py}, kStackScale, local, out);
        };
        if (s.kind == '#') {  // upper part raised, a slash, lower part lowered
            part(s.upper, x + gap, baseline + 0.45 * h);
            const double slash = x + gap + s.upperWidth + 0.05 * h;
            const Pen pen = penOf(f, out.pen());
            Out(out.scene(), pen)
                .line(local.map(QPointF(slash, baseline - 0.2 * h)),
                      local.map(QPointF(slash + 0.4 * h, baseline + 1.2 * h)));
            part(s.lower, slash + 0.45 * h, baseline - 0.2 * h);
            return;
        }
        part(s.upper, x + gap + (widest - s.upperWidth) / 2, baseline + 0.55 * h);
        part(s.lower, x + gap + (widest - s.lowerWidth) / 2, baseline - 0.25 * h);
        if (s.kind == '/') rule(f, x + gap, x + gap + widest, baseline + 0.5 * h, local, out);
    }

    void draw(const LineOf& line, const QTransform& local, Out& out) {
        double x = line.x;
        size_t i = line.begin;
        while (i < line.end) {
            const Atom& a = atoms_[i];
            const MTextFormat& f = formats_[a.format];
            if (a.kind == Atom::Kind::Stack) {
                drawStack(a, x, line.baseline, local, out);
                x += a.advance, ++i;
                continue;
            }
            if (a.kind == Atom::Kind::Tab) {
                x += a.advance, ++i;
                continue;
            }
            // A run of glyphs and blanks of one format; tracked glyphs go one by one. The
            // blanks that end a line are not drawn.
            size_t j = i;
            double width = 0;
            while (j < line.end && atoms_[j].format == a.format &&
                   (atoms_[j].kind == Atom::Kind::Glyph || atoms_[j].kind == Atom::Kind::Blank) &&
                   (f.tracking == 1 || j == i))
                width += atoms_[j++].advance;
            size_t visible = j;
            if (j == line.end)
                while (visible > i && atoms_[visible - 1].kind == Atom::Kind::Blank) --visible;
            std::vector<uint32_t> ids;
            double glyphAdvance = 0, ruled = 0;
            for (size_t k = i; k < visible; ++k) {
                ids.push_back(atoms_[k].glyph);
                glyphAdvance += atoms_[k].glyphAdvance;
                ruled += atoms_[k].advance;
            }
            const double start = x;
            const bool inked =
                std::any_of(atoms_.begin() + i, atoms_.begin() + visible,
                            [](const Atom& b) { return b.kind == Atom::Kind::Glyph; });
            if (inked) text(ids, glyphAdvance, f, a.format, {start, line.baseline}, 1, local, out);
            const double h = f.height;
            if (inked && f.underline)
                rule(f, start, start + ruled, line.baseline - 0.2 * h, local, out);
            if (inked && f.overline)
                rule(f, start, start + ruled, line.baseline + 1.2 * h, local, out);
            if (inked && f.strike)
                rule(f, start, start + ruled, line.baseline + 0.5 * h, local, out);
            x += width;
            i = j;
        }
    }

    const MTextFrame& frame_;
    std::vector<MTextFormat> formats_;
    std::vector<FontMetrics> metrics_;
    std::vector<double> scale_;  // drawing units per glyph unit, by format
    std::vector<MTextParagraph> paragraphs_;
    std::vector<size_t> paragraphBegin_;
    std::vector<Atom> atoms_;
    std::vector<Stack> stacks_;
    std::vector<LineOf> lines_;
};

}  // namespace

MTextFrame mtextFrame(const EntityGroups& g, bool wrap) {
    MTextFrame frame;
    frame.wrap = wrap;
    std::string raw, last;
    bool columns = false;  // the groups after 75 describe the columns
    QPointF direction;
    double rotation = 0;
    MTextColumns& c = frame.columns;
    auto count = [](std::string_view v) {
        return std::clamp(static_cast<int>(toNumber(v)), 0, 1000);
    };
    // R2018 keeps the columns in the embedded copy of the data.
    for (const auto& [code, value] : g.embedded()) {
        const double v = toNumber(value);
        if (code == 72) c.count = count(value);
        if (code == 44) c.width = v;
        if (code == 45) c.gutter = v;
        if (code == 46 && c.heights.size() < 1000) c.heights.push_back(v);
    }
    for (const auto& [code, value] : g.list()) {
        const double v = toNumber(value);
        switch (code) {
            case 1:
                last = value;
                break;
            case 3:
                raw += value;
                break;
            case 10:
                frame.insert.setX(v);
                break;
            case 20:
                frame.insert.setY(v);
                break;
            case 11:
                direction.setX(v);
                break;
            case 21:
                direction.setY(v);
                break;
            case 40:
                frame.height = v;
                break;
            case 41:
                frame.width = std::max(0.0, v);
                break;
            case 44:
                frame.lineSpacing = std::clamp(v, 0.25, 4.0);
                break;
            case 46:
                c.height = std::max(0.0, v);
                break;
            case 48:
                c.width = v;
                break;
            case 49:
                c.gutter = v;
                break;
            case 50:  // after the column type: a column's height
                if (!columns)
                    rotation = v;
                else if (c.heights.size() < 1000)
                    c.heights.push_back(v);
                break;
            case 75:
                columns = true;
                break;
            case 71:
                frame.attachment = static_cast<int>(v);
                break;
            case 73:
                frame.exactSpacing = v == 2;
                break;
            case 76:
                c.count = count(value);
                break;
            default:
                break;
        }
    }
    frame.text = decodeText(g.codec(), raw + last);
    if (!(frame.height > 0)) frame.height = 2.5;
    // The direction is in world coordinates; an angle turns the object's x axis.
    const QTransform ocs = g.ocs();
    if (direction.isNull())
        direction =
            ocs.map(QPointF(std::cos(rotation * M_PI / 180), std::sin(rotation * M_PI / 180)));
    frame.direction = unitDirection(direction);
    frame.flipped = ocs.determinant() < 0;
    if (c.count > 1 && !(c.width > 0)) c.count = 0;
    return frame;
}

QRectF mtextBox(const MTextFrame& frame, const TextStyle& style) {
    return Setter(frame, style).box();
}

QTransform mtextPlacement(const MTextFrame& frame) {
    const QPointF d = frame.direction;
    const double up = frame.flipped ? -1 : 1;
    return QTransform(d.x(), d.y(), -up * d.y(), up * d.x(), frame.insert.x(), frame.insert.y());
}

void drawMText(const MTextFrame& frame, const TextStyle& style, const QTransform& t, Out& out) {
    Setter(frame, style).set(t, out);
}

}  // namespace plot
