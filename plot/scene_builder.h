// Builds what a plot draws from the entities of a document's active space, each with
// the colour, lineweight and linetype it is displayed with. Block references are
// expanded (nested, arrays, attributes), dimensions drawn through their blocks, a
// paper-space layout's viewports show model space clipped to their frames, and entities
// on frozen, off or non-plotting layers are left out. Building spends from a budget
// (budget.h): a scene whose budget ends is cut short, and the budget says so.
#pragma once

#include "drawing/document.h"
#include "plot/budget.h"
#include "plot/scene.h"

namespace plot {

// REQUIRES: a QGuiApplication (texts are laid out with the system's fonts).
Scene buildScene(drawing::AcadDocument& document, PlotBudget& budget);
// With a budget of its own and no stop.
Scene buildScene(drawing::AcadDocument& document);

}  // namespace plot
