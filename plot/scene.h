// What a plot draws: items in drawing order (paths, fills, circles, texts and clips)
// in drawing units, each with the pen it is displayed with; their outlines, texts and
// glyphs in arrays of their own.
#pragma once

#include <QColor>
#include <QPainterPath>
#include <QRectF>
#include <QTransform>
#include <vector>

namespace plot {

// Pen::aci of what is painted in the paper's colour (wipeouts), whatever the plot
// style table says.
inline constexpr int kPaperAci = -1;

struct Pen {
    QColor color = Qt::black;    // as displayed (ACI 7 black)
    int aci = 7;                 // the colour's index; 0 for a true colour
    double lineweight = 0.25;    // mm on paper
    std::vector<double> dashes;  // drawing units: dash > 0, gap < 0, dot 0; empty: solid
};

// One line of text: the glyphs [glyphBegin, glyphEnd) of the scene's glyphs (ids of
// Glyphs), set from the origin along the baseline.
struct SceneText {
    uint32_t glyphBegin = 0;
    uint32_t glyphEnd = 0;
    QTransform place;  // glyph units (y down) to drawing units
    QRectF box;        // the line's box in glyph units
};

struct SceneItem {
    // ClipBegin: what follows up to its ClipEnd shows only inside its outline.
    enum class Kind : uint8_t { Stroke, Circle, Fill, Text, Infinite, ClipBegin, ClipEnd };
    Kind kind = Kind::Stroke;
    bool ray = false;      // Infinite: one-sided from the base point
    bool evenOdd = false;  // Fill: the even-odd rule (holes), else non-zero winding
    Pen pen;
    double width = 0;  // Stroke: a width in drawing units (wide polylines), 0 none
    // Stroke, Fill and ClipBegin: the outline, elements [begin, end) of the scene's elements, in
    // drawing units. Circle: its centre and a point on it. Infinite: the base point and a
    // second point along the line.
    // Text: [begin, end) is its one entry of the scene's texts.
    uint32_t begin = 0;
    uint32_t end = 0;
};

// The items in drawing order, their outlines and texts in arrays of their own.
struct Scene {
    std::vector<SceneItem> items;
    std::vector<QPainterPath::Element> elements;
    std::vector<SceneText> texts;
    std::vector<uint32_t> glyphs;
    QRectF extents;             // of everything drawn, infinite lines aside; null when nothing is
    int simplifiedHatches = 0;  // hatches whose pattern was too dense: drawn as their boundary
};

// The box of an item's outline (Stroke, Circle, Fill or ClipBegin), curves bounded
// exactly, in drawing units.
// REQUIRES: item.begin < item.end
QRectF outlineBox(const Scene& scene, const SceneItem& item);

}  // namespace plot
