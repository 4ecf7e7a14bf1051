// A plot as a one-page PDF. Lines, curves and fills become PDF paths in hundredths of
// a point; texts are set in Type 3 fonts made of the outlines of the glyphs they use,
// with a map back to Unicode: the PDF shows every font the drawing names, Chinese
// included, on any machine, and its texts can still be searched and copied.
#pragma once

#include <QRectF>
#include <QSizeF>
#include <optional>
#include <string>

#include "drawing/plot_service.h"
#include "plot/budget.h"
#include "plot/scene.h"
#include "plot/styles.h"

namespace plot {

struct PdfPaper {
    QSizeF size;       // points
    QRectF printable;  // points, from the paper's top left corner
};

// The bytes of the PDF: `scene` placed in the printable area by `settings`, its pens
// coloured by `table`; `title` goes into the document information. None when the
// budget's stop ends the writing.
// REQUIRES: a QGuiApplication (glyph outlines come from the system's fonts).
std::optional<std::string> plotPdf(const Scene& scene, const drawing::PlotSettings& settings,
                                   const PlotStyleTable& table, const PdfPaper& paper,
                                   const std::string& title, PlotBudget& budget);

}  // namespace plot
