// libFuzzer target on the plotter: any drawing the reader takes is built into a scene
// and written as a PDF, or ends on its budget, without a crash, a hang or a runaway in
// memory. The budget is a small one, so that runaway drawings end in good time.
#include <QGuiApplication>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "drawing/document.h"
#include "plot/pdf.h"
#include "plot/scene_builder.h"

namespace {

constexpr uint64_t kFuzzUnits = uint64_t{1} << 20;

}  // namespace

// Fontconfig keeps caches of its own to the end of the process: no leak of the plotter.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    new QGuiApplication(*argc, *argv);  // texts are laid out in the system's fonts
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto doc = drawing::AcadDocument::createNew("/nonexistent/fuzz.dxf");
    const std::string input(reinterpret_cast<const char*>(data), size);
    if (!drawing::Drawing::parse(input, doc->drawing()).ok()) return 0;
    plot::PlotBudget budget({}, kFuzzUnits);
    const plot::Scene scene = plot::buildScene(*doc, budget);
    if (budget.ended()) return 0;
    static const plot::PlotStyleTable table = [] {
        bool readable = true;
        return plot::PlotStyleTable::load("monochrome.ctb", "/nonexistent", readable);
    }();
    drawing::PlotSettings settings;
    settings.plotRotation = size % 4;
    settings.standardScale = size % 3 == 0;
    const std::optional<std::string> pdf = plot::plotPdf(
        scene, settings, table, {QSizeF(595, 842), QRectF(10, 10, 575, 822)}, "fuzz", budget);
    if (!pdf || pdf->compare(0, 5, "%PDF-") != 0) __builtin_trap();
    return 0;
}
