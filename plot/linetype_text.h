// The texts of complex linetypes ("GAS" every so often along a gas line): read from the
// linetype's elements, and set along what an entity drawn in the linetype strokes, each
// repeat of the pattern placing them again. Shapes of shape files are not drawn.
// Internal to the plot library.
#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "plot/entity.h"

namespace plot {

struct LinetypeText {
    size_t after = 0;  // the pattern element whose end the text is placed from
    QString text;
    uint64_t style = 0;   // the handle of its STYLE
    double height = 1;    // of the text, in pattern units
    double rotation = 0;  // radians, from the line's direction or, when absolute, from x
    bool absolute = false;
    double x = 0, y = 0;  // offset along the line and across it
};

// The text elements of an LTYPE record (an element's 74 has bit 2).
std::vector<LinetypeText> linetypeTexts(const EntityGroups& ltype);

// Sets `texts` along the strokes and circles of items [first, end) of `scene`, with the
// linetype's pattern `dashes` (pattern units) times `scale`; `styleOf` gives the text
// style of a STYLE handle.
void drawLinetypeTexts(Scene& scene, size_t first, const std::vector<double>& dashes,
                       const std::vector<LinetypeText>& texts, double scale,
                       const std::function<const TextStyle&(uint64_t)>& styleOf);

}  // namespace plot
