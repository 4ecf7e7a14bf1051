#include "plot/linetype_text.h"

#include <algorithm>
#include <cmath>

#include "plot/mtext.h"

namespace plot {
namespace {

constexpr double kMostRepeats = 2000;  // per stroke: a denser pattern reads as a line
constexpr int kMostTexts = 5000;       // per entity
constexpr int kCurveSteps = 8;
constexpr int kCircleSteps = 72;

// The subpaths of a stroke or circle item as polylines, curves flattened.
std::vector<std::vector<QPointF>> polylinesOf(const Scene& scene, const SceneItem& item) {
    std::vector<std::vector<QPointF>> out;
    const QPainterPath::Element* e = scene.elements.data() + item.begin;
    const size_t n = item.end - item.begin;
    if (item.kind == SceneItem::Kind::Circle) {
        const QPointF c = e[0];
        const double r = std::hypot(e[1].x - e[0].x, e[1].y - e[0].y);
        out.emplace_back();
        for (int k = 0; k <= kCircleSteps; ++k) {
            const double a = 2 * M_PI * k / kCircleSteps;
            out.back().push_back(c + QPointF(std::cos(a), std::sin(a)) * r);
        }
        return out;
    }
    for (size_t i = 0; i < n; ++i) {
        if (e[i].isMoveTo() || out.empty()) out.emplace_back();
        if (e[i].isCurveTo() && i + 2 < n && !out.back().empty()) {
            const QPointF p0 = out.back().back(), p1 = e[i], p2 = e[i + 1], p3 = e[i + 2];
            for (int s = 1; s <= kCurveSteps; ++s) {
                const double t = double(s) / kCurveSteps, u = 1 - t;
                out.back().push_back(p0 * u * u * u + p1 * 3 * u * u * t + p2 * 3 * u * t * t +
                                     p3 * t * t * t);
            }
            i += 2;
            continue;
        }
        out.back().push_back(e[i]);
    }
    return out;
}

}  // namespace

std::vector<LinetypeText> linetypeTexts(const EntityGroups& ltype) {
    std::vector<LinetypeText> texts;
    size_t elements = 0;
    bool inText = false;  // the groups after a text element's 74 describe it
    for (const auto& [code, value] : ltype.list()) {
        const double v = toNumber(value);
        if (code == 49) ++elements, inText = false;
        if (code == 74 && elements > 0) {
            const int flags = static_cast<int>(v);
            inText = flags & 2;
            if (inText) texts.push_back({elements - 1, {}, 0, 1, 0, (flags & 1) != 0, 0, 0});
            continue;
        }
        if (!inText) continue;
        LinetypeText& t = texts.back();
        if (code == 340) t.style = drawing::parseHandle(value);
        if (code == 46) t.height = v;
        if (code == 50) t.rotation = std::fmod(v, 2 * M_PI);
        if (code == 44) t.x = v;
        if (code == 45) t.y = v;
        if (code == 9) t.text = decodeText(ltype.codec(), value);
    }
    texts.erase(std::remove_if(texts.begin(), texts.end(),
                               [](const LinetypeText& t) { return t.text.trimmed().isEmpty(); }),
                texts.end());
    return texts;
}

void drawLinetypeTexts(Scene& scene, size_t first, const std::vector<double>& dashes,
                       const std::vector<LinetypeText>& texts, double scale,
                       const std::function<const TextStyle&(uint64_t)>& styleOf) {
    std::vector<double> ends;  // of each pattern element, in drawing units
    double period = 0;
    for (double d : dashes) ends.push_back(period += std::abs(d) * scale);
    if (!(period > 0) || !std::isfinite(period)) return;
    const size_t last = scene.items.size();
    int budget = kMostTexts;
    for (size_t k = first; k < last && budget > 0; ++k) {
        const SceneItem item = scene.items[k];
        if (item.begin == item.end || (item.kind != SceneItem::Kind::Circle &&
                                       (item.kind != SceneItem::Kind::Stroke || item.width > 0)))
            continue;
        Pen pen = item.pen;
        pen.dashes.clear();
        for (const std::vector<QPointF>& line : polylinesOf(scene, item)) {
            std::vector<double> at{0};  // the distance along the line of each point
            for (size_t i = 1; i < line.size(); ++i)
                at.push_back(at.back() + std::hypot(line[i].x() - line[i - 1].x(),
                                                    line[i].y() - line[i - 1].y()));
            const double length = at.back();
            if (!(length > 0) || length / period > kMostRepeats) continue;
            for (double start = 0; start < length && budget > 0; start += period)
                for (const LinetypeText& t : texts) {
                    if (t.after >= ends.size() || budget-- <= 0) continue;
                    const double d = start + ends[t.after] + t.x * scale;
                    if (d < 0 || d > length) continue;
                    const size_t i = std::clamp<size_t>(
                        std::upper_bound(at.begin(), at.end(), d) - at.begin(), 1, line.size() - 1);
                    const QPointF a = line[i - 1], b = line[i];
                    const double piece = at[i] - at[i - 1];
                    const QPointF along = piece > 0 ? (b - a) / piece : QPointF(1, 0);
                    const QPointF across(-along.y(), along.x());
                    const double angle =
                        (t.absolute ? 0 : std::atan2(along.y(), along.x())) + t.rotation;
                    MTextFrame frame;
                    frame.text = QString(t.text)
                                     .replace('\\', "\\\\")
                                     .replace('{', "\\{")
                                     .replace('}', "\\}")
                                     .replace('^', "^ ");
                    frame.insert = a + along * (d - at[i - 1]) + across * (t.y * scale);
                    frame.direction = QPointF(std::cos(angle), std::sin(angle));
                    frame.height = t.height * scale;
                    frame.attachment = 7;  // from the start of its baseline
                    frame.wrap = false;
                    if (!(frame.height > 0)) continue;
                    Out out(scene, pen);
                    drawMText(frame, styleOf(t.style), QTransform(), out);
                }
        }
    }
}

}  // namespace plot
