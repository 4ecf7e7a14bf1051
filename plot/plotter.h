// The plot service of the desktop: device "PDF" (a PDF file named like the drawing,
// beside it, never replacing a file) and every printer of the system's print service
// (CUPS), listed with their paper sizes and printable areas by Qt Print Support and
// sent the same PDF as a print job; plot style tables built in and from the plot
// style folder.
#pragma once

#include <memory>
#include <set>
#include <string>

#include "drawing/plot_service.h"

namespace plot {

inline constexpr const char* kPdfDevice = "PDF";

class Plotter : public drawing::PlotService {
public:
    // `styleFolder` holds the *.ctb and *.stb tables (<data folder>/plotstyles).
    explicit Plotter(std::string styleFolder);

    void refresh() override;
    std::vector<std::string> deviceNames() override;
    std::vector<std::string> styleTableNames() override;
    std::vector<std::string> mediaNames(const std::string& device) override;
    drawing::PlotResult plot(drawing::AcadDocument& document, const drawing::PlotSettings& settings,
                             const drawing::StopRequested& stop) override;

private:
    std::string styleFolder_;
    std::vector<std::string> printers_;
    std::set<std::string> warned_;  // tables already reported as plotted as displayed
};

// Registers a Plotter for the layouts of every document, creating the
// QGuiApplication that fonts and printers need when the process has none (on the
// offscreen platform when there is no display).
void installPlotService(const std::string& dataFolder);

}  // namespace plot
