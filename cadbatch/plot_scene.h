// What a plot draws: the entities of a document's active space turned into paths,
// fills and texts in drawing units, each with the colour, lineweight and linetype it
// is displayed with. Block references are expanded (nested, arrays, attributes),
// dimensions drawn through their blocks, and entities on frozen, off or non-plotting
// layers left out.
#pragma once

#include <QColor>
#include <QPainterPath>
#include <QRectF>
#include <QTransform>
#include <vector>

#include "cadbatch/acad_document.h"

namespace cadplot {

struct Pen {
    QColor color = Qt::black;    // as displayed (ACI 7 black)
    int aci = 7;                 // the colour's index; 0 for a true colour
    double lineweight = 0.25;    // mm on paper
    std::vector<double> dashes;  // drawing units: dash > 0, gap < 0, dot 0; empty: solid
};

struct SceneItem {
    enum class Kind { Stroke, Fill, Text, Infinite };
    Kind kind = Kind::Stroke;
    Pen pen;
    // Stroke and Fill: the outline in drawing units. Infinite: the base point and a
    // second point along the line.
    QPainterPath path;
    double width = 0;  // Stroke: a width in drawing units (wide polylines), 0 none
    bool ray = false;  // Infinite: one-sided from the base point
    // Text: one line, the glyphs [glyphBegin, glyphEnd) of the scene's glyphs (ids of
    // Glyphs) set from the origin along the baseline.
    uint32_t glyphBegin = 0;
    uint32_t glyphEnd = 0;
    QTransform place;  // Text: glyph units (y down) to drawing units
    QRectF box;        // Text: the line's box in glyph units, for the extents
};

struct Scene {
    std::vector<SceneItem> items;
    std::vector<uint32_t> glyphs;
    QRectF extents;  // of everything drawn, infinite lines aside; null when nothing is
};

// REQUIRES: a QGuiApplication (texts are laid out with the system's fonts).
Scene buildScene(cadbatch::AcadDocument& document);

}  // namespace cadplot
