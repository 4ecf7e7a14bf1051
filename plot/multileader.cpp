// MULTILEADER: drawn as its context data places it. The content (an MTEXT, or a block
// with its attributes) first, then each leader line from its arrowhead (the arrow block
// the entity, the line or its style names, or a filled arrow) through its vertices, the
// dog-leg and the landing, straight or as a spline; text attached by its underline gets
// the line under it.
#include <cmath>

#include "plot/mtext.h"
#include "plot/parts.h"

namespace plot {
namespace {

constexpr int64_t kByBlockColor = 0xc1000000;

struct LeaderLine {
    std::vector<QPointF> vertices;
    int index = 0;
    int64_t color = kByBlockColor;
};

struct Leader {
    QPointF last;          // where the lines end: the landing's start
    QPointF dogleg{1, 0};  // along the landing
    double doglegLength = 0;
    bool vertical = false;  // attached at the text's top or bottom
    std::vector<LeaderLine> lines;
};

struct MultiLeader {
    // The entity's own settings.
    int leaderType = 1;  // 0 none, 1 straight, 2 spline
    int64_t leaderColor = kByBlockColor;
    uint64_t linetype = 0, arrowHead = 0, style = 0;
    bool arrowHeadSet = false;
    int lineweight = kByBlockWeight;
    bool dogleg = true, textFrame = false;
    int leftAttachment = 1, rightAttachment = 1, topAttachment = 9, bottomAttachment = 9;
    std::vector<std::pair<int, uint64_t>> arrowHeads;               // by leader line index
    std::vector<std::pair<uint64_t, std::string_view>> attributes;  // ATTDEF, value
    // The context data.
    double arrowSize = 4, landingGap = 2, charHeight = 4, scale = 1;
    bool text = false, block = false;
    std::string_view content;
    QPointF textAt, textDirection{1, 0};
    bool textFlipped = false;
    double textWidth = 0, spacing = 1;
    bool exactSpacing = false;
    int64_t textColor = kByBlockColor;
    int alignment = 1;
    uint64_t textStyle = 0, blockRecord = 0;
    QPointF blockAt, blockScale{1, 1};
    double blockRotation = 0;
    int64_t blockColor = kByBlockColor;
    std::vector<Leader> leaders;
};

// The groups in order: the entity's, the context data's ({...}), its leaders' and their
// lines', its text's and its block's; each part read in a state of its own.
MultiLeader read(const EntityGroups& g) {
    enum class In { Entity, Context, Text, Block, Leader, Line };
    MultiLeader m;
    In in = In::Entity;
    bool contextSeen = false, ownerSeen = false;
    auto integer = [](std::string_view v) { return static_cast<int64_t>(toNumber(v)); };
    for (const auto& [code, value] : g.list()) {
        const double v = toNumber(value);
        if (in == In::Text &&
            !(code == 304 || code == 11 || code == 21 || code == 31 || code == 340 || code == 12 ||
              code == 22 || code == 32 || code == 13 || code == 23 || code == 33 ||
              (code >= 42 && code <= 45) || code == 170 || code == 90 || code == 171 ||
              code == 172 || code == 91 || code == 141 || code == 92 ||
              (code >= 291 && code <= 295) || code == 173 || code == 142 || code == 143 ||
              code == 144))
            in = In::Context;
        if (in == In::Block &&
            !(code == 341 || (code >= 14 && code <= 16) || (code >= 24 && code <= 26) ||
              (code >= 34 && code <= 36) || code == 46 || code == 93 || code == 47))
            in = In::Context;
        switch (in) {
            case In::Entity:
                if (code == 300) in = In::Context, contextSeen = true;
                if (code == 170) m.leaderType = static_cast<int>(v);
                if (code == 91) m.leaderColor = integer(value);
                if (code == 341) m.linetype = drawing::parseHandle(value);
                if (code == 171) m.lineweight = static_cast<int>(v);
                if (code == 291) m.dogleg = v != 0;
                if (code == 292) m.textFrame = v != 0;
                if (code == 342) m.arrowHead = drawing::parseHandle(value), m.arrowHeadSet = true;
                if (code == 340) m.style = drawing::parseHandle(value);
                if (code == 94) m.arrowHeads.emplace_back(static_cast<int>(v), 0);
                if (code == 345 && !m.arrowHeads.empty())
                    m.arrowHeads.back().second = drawing::parseHandle(value);
                if (code == 173) m.leftAttachment = static_cast<int>(v);
                if (code == 95) m.rightAttachment = static_cast<int>(v);
                if (code == 272) m.bottomAttachment = static_cast<int>(v);
                if (code == 273) m.topAttachment = static_cast<int>(v);
                if (code == 330 && !ownerSeen)
                    ownerSeen = true;
                else if (code == 330 && contextSeen)
                    m.attributes.emplace_back(drawing::parseHandle(value), std::string_view());
                if (code == 302 && contextSeen && !m.attributes.empty())
                    m.attributes.back().second = value;
                break;
            case In::Context:
                if (code == 301) in = In::Entity;
                if (code == 302) in = In::Leader, m.leaders.emplace_back();
                if (code == 40) m.scale = v;
                if (code == 41) m.charHeight = v;
                if (code == 140) m.arrowSize = v;
                if (code == 145) m.landingGap = v;
                if (code == 290) m.text = v != 0, in = m.text ? In::Text : In::Context;
                if (code == 296) m.block = v != 0, in = m.block ? In::Block : In::Context;
                break;
            case In::Text:
                if (code == 304) m.content = value;
                if (code == 340) m.textStyle = drawing::parseHandle(value);
                if (code == 12) m.textAt.setX(v);
                if (code == 22) m.textAt.setY(v);
                if (code == 13) m.textDirection.setX(v);
                if (code == 23) m.textDirection.setY(v);
                if (code == 31) m.textFlipped = v < 0;
                if (code == 43) m.textWidth = v;
                if (code == 45) m.spacing = v;
                if (code == 170) m.exactSpacing = v == 2;
                if (code == 90) m.textColor = integer(value);
                if (code == 171) m.alignment = static_cast<int>(v);
                break;
            case In::Block:
                if (code == 341) m.blockRecord = drawing::parseHandle(value);
                if (code == 15) m.blockAt.setX(v);
                if (code == 25) m.blockAt.setY(v);
                if (code == 16) m.blockScale.setX(v);
                if (code == 26) m.blockScale.setY(v);
                if (code == 46) m.blockRotation = v;
                if (code == 93) m.blockColor = integer(value);
                break;
            case In::Leader: {
                Leader& l = m.leaders.back();
                if (code == 303) in = In::Context;
                if (code == 304) in = In::Line, l.lines.emplace_back();
                if (code == 10) l.last.setX(v);
                if (code == 20) l.last.setY(v);
                if (code == 11) l.dogleg.setX(v);
                if (code == 21) l.dogleg.setY(v);
                if (code == 40) l.doglegLength = v;
                if (code == 271) l.vertical = v != 0;
                break;
            }
            case In::Line: {
                LeaderLine& line = m.leaders.back().lines.back();
                if (code == 305) in = In::Leader;
                if (code == 10) line.vertices.emplace_back(v, 0);
                if (code == 20 && !line.vertices.empty()) line.vertices.back().setY(v);
                if (code == 91) line.index = static_cast<int>(v);
                if (code == 92) line.color = integer(value);
                break;
            }
        }
    }
    return m;
}

// A smooth curve through `p` leaving along `start` and arriving along `end`: cubic
// pieces with the neighbours' chord as tangent inside (Catmull-Rom).
std::vector<QPointF> curveThrough(const std::vector<QPointF>& p, QPointF start, QPointF end) {
    constexpr int kSteps = 16;
    const size_t n = p.size();
    auto length = [](QPointF d) { return std::hypot(d.x(), d.y()); };
    std::vector<QPointF> tangent(n);
    for (size_t i = 1; i + 1 < n; ++i) tangent[i] = (p[i + 1] - p[i - 1]) / 2;
    tangent[0] = unitDirection(start) * length(p[1] - p[0]);
    tangent[n - 1] = unitDirection(end) * length(p[n - 1] - p[n - 2]);
    std::vector<QPointF> out{p[0]};
    for (size_t i = 0; i + 1 < n; ++i)
        for (int s = 1; s <= kSteps; ++s) {
            const double t = double(s) / kSteps, t2 = t * t, t3 = t2 * t;
            out.push_back(p[i] * (2 * t3 - 3 * t2 + 1) + tangent[i] * (t3 - 2 * t2 + t) +
                          p[i + 1] * (-2 * t3 + 3 * t2) + tangent[i + 1] * (t3 - t2));
        }
    return out;
}

class MultiLeaderDrawing {
public:
    MultiLeaderDrawing(const EntityGroups& g, Parts& parts) : m_(read(g)), parts_(parts) {}

    void draw() {
        if (!(std::abs(m_.scale) > 1e-9)) return;  // scaled down to nothing
        if (m_.text) text();
        if (m_.block) block();
        if (m_.leaderType == 0) return;
        for (const Leader& leader : m_.leaders) {
            for (const LeaderLine& line : leader.lines) leaderLine(leader, line);
            if (m_.text) underline(leader);
        }
    }

private:
    MTextFrame frame() const {
        MTextFrame f;
        f.text = decodeText(parts_.drawing().codec(), m_.content);
        f.insert = m_.textAt;
        f.direction = unitDirection(m_.textDirection);
        f.flipped = m_.textFlipped;
        f.height = m_.charHeight > 0 ? m_.charHeight : 2.5;
        f.width = std::max(0.0, m_.textWidth * m_.scale);
        f.attachment = std::clamp(m_.alignment, 1, 3);
        f.lineSpacing = std::clamp(m_.spacing, 0.25, 4.0);
        f.exactSpacing = m_.exactSpacing;
        return f;
    }

    // The text, and its frame the landing gap around it.
    void text() {
        const Pen pen = parts_.pen(partColor(m_.textColor));
        Out out(parts_.scene(), pen);
        const MTextFrame f = frame();
        const TextStyle& style = parts_.textStyle(m_.textStyle);
        drawMText(f, style, parts_.t(), out);
        if (!m_.textFrame) return;
        const double gap = m_.landingGap;
        QPainterPath box;
        box.addRect(mtextBox(f, style).adjusted(-gap, -gap, gap, gap));
        const Pen line = parts_.pen(partColor(m_.leaderColor),
                                    linetypeOfRecord(parts_, m_.linetype), m_.lineweight);
        Out(parts_.scene(), line).stroke(box, mtextPlacement(f) * parts_.t());
    }

    void block() {
        const uint32_t name = blockOfRecord(parts_, m_.blockRecord);
        if (name == drawing::kNoName) return;
        QTransform t = QTransform::fromScale(m_.blockScale.x(), m_.blockScale.y());
        t *= QTransform().rotateRadians(m_.blockRotation);
        t *= QTransform::fromTranslate(m_.blockAt.x(), m_.blockAt.y());
        const Pen pen = parts_.pen(partColor(m_.blockColor));
        parts_.block(name, t, pen);
        // The attributes, where their definitions stand in the block.
        Out out(parts_.scene(), pen);
        for (const auto& [handle, value] : m_.attributes) {
            const int32_t record = parts_.recordOf(handle);
            if (record < 0 || parts_.drawing().record(record).type != "ATTDEF") continue;
            const EntityGroups attdef(parts_.drawing(), static_cast<size_t>(record));
            drawAttribute(attdef, decodeText(parts_.drawing().codec(), value),
                          parts_.styleOfRecord(static_cast<size_t>(record)), t * parts_.t(), out);
        }
    }

    // The arrow block for leader line `index`: its own, the entity's, its style's.
    uint32_t arrowBlock(int index) const {
        for (const auto& [at, handle] : m_.arrowHeads)
            if (at == index) return blockOfRecord(parts_, handle);
        if (m_.arrowHeadSet) return blockOfRecord(parts_, m_.arrowHead);
        const int32_t style = parts_.recordOf(m_.style);
        if (style < 0 || parts_.drawing().record(style).type != "MLEADERSTYLE")
            return drawing::kNoName;
        return blockOfRecord(parts_,
                             drawing::parseHandle(EntityGroups(parts_.drawing(), style).raw(341)));
    }

    QPointF landingEnd(const Leader& leader) const {
        return leader.last + unitDirection(leader.dogleg) * leader.doglegLength;
    }

    void leaderLine(const Leader& leader, const LeaderLine& line) {
        std::vector<QPointF> v = line.vertices;
        const bool dogleg = m_.dogleg && m_.leaderType != 2;
        if (!leader.vertical) {
            if (dogleg) v.push_back(leader.last);
            v.push_back(landingEnd(leader));
        } else {
            v.push_back(leader.last);
        }
        if (v.size() < 2) return;
        const Pen pen =
            parts_.pen(partColor(line.color != kByBlockColor ? line.color : m_.leaderColor),
                       linetypeOfRecord(parts_, m_.linetype), m_.lineweight);
        Out out(parts_.scene(), pen);
        arrow(v[0], unitDirection(v[1] - v[0]), arrowBlock(line.index), pen, out);
        const QPointF end = leader.vertical ? v.back() - v[v.size() - 2] : leader.dogleg;
        const std::vector<QPointF> points =
            m_.leaderType == 2 ? curveThrough(v, v[1] - v[0], end) : v;
        QPainterPath path(points[0]);
        for (size_t i = 1; i < points.size(); ++i) path.lineTo(points[i]);
        out.stroke(path, parts_.t());
    }

    // An arrow with its tip at `tip`, its body along `direction`.
    void arrow(QPointF tip, QPointF direction, uint32_t block, const Pen& pen, Out& out) {
        const double size = m_.arrowSize;
        if (!(size > 0)) return;
        QTransform t = QTransform::fromScale(size, size);
        t *= QTransform(-direction.x(), -direction.y(), direction.y(), -direction.x(), tip.x(),
                        tip.y());
        if (block != drawing::kNoName && parts_.block(block, t, pen)) return;
        QPainterPath filled;
        filled.moveTo(0, 0);
        filled.lineTo(-1, 1.0 / 6);
        filled.lineTo(-1, -1.0 / 6);
        filled.closeSubpath();
        out.fill(filled, t * parts_.t());
    }

    // Text attached by its underline (left or right attachment 5, 6 or 8) has the
    // landing drawn on under it, as far as the text is wide.
    void underline(const Leader& leader) {
        if (leader.vertical) return;
        const QPointF at = landingEnd(leader);
        const QPointF direction = unitDirection(m_.textDirection);
        const QPointF toText = m_.textAt - at;
        const bool textRight = toText.x() * direction.x() + toText.y() * direction.y() >= 0;
        const int attachment = textRight ? m_.leftAttachment : m_.rightAttachment;
        if (attachment != 5 && attachment != 6 && attachment != 8) return;
        const double length =
            mtextBox(frame(), parts_.textStyle(m_.textStyle)).width() + m_.landingGap;
        const Pen pen = parts_.pen(partColor(m_.leaderColor), linetypeOfRecord(parts_, m_.linetype),
                                   m_.lineweight);
        Out(parts_.scene(), pen)
            .line(parts_.t().map(at),
                  parts_.t().map(at + direction * (textRight ? length : -length)));
    }

    const MultiLeader m_;
    Parts& parts_;
};

}  // namespace

void drawMultiLeader(const EntityGroups& g, Parts& parts) { MultiLeaderDrawing(g, parts).draw(); }

}  // namespace plot
