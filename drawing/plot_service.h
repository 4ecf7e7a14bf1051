// The layout's plot settings and the service that plots them.
//
// The drawing engine knows no devices itself: a plot library registers a PlotService
// (devices, plot style tables, paper sizes and the rendering), and the layout reaches
// them through it. Without a registered service the lists are empty and plotting fails
// with a reason, so the engine stays usable on a machine without a display.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "drawing/status.h"

namespace drawing {

class AcadDocument;

// The values of the layout's plot members, with the meanings of the object model.
struct PlotSettings {
    std::string configName;          // device: "PDF" or a printer of the print service
    std::string styleSheet;          // plot style table, e.g. "monochrome.ctb"
    std::string canonicalMediaName;  // paper size, a name the device lists
    int paperUnits = 1;              // 0 inches, 1 millimetres
    bool centerPlot = false;
    int plotType = 1;       // 1 extents (the only area the plotter knows)
    int standardScale = 0;  // 0 scale to fit; anything else plots at 1:1 in paper units
    bool scaleLineweights = false;
    int plotRotation = 0;  // 0 none, 1 90°, 2 180°, 3 270° counter-clockwise
};

struct PlotResult {
    Status status;
    std::string output;  // the file written or the print job, when plotted
    std::string note;    // something the user should know although the plot went out
};

// Asked while a plot runs (from any of its threads); true ends the plot without output.
using StopRequested = std::function<bool()>;

class PlotService {
public:
    virtual ~PlotService() = default;
    // Asks the system again which printers and paper sizes there are.
    virtual void refresh() = 0;
    // "PDF" first, then the printers of the print service.
    virtual std::vector<std::string> deviceNames() = 0;
    virtual std::vector<std::string> styleTableNames() = 0;
    // The paper sizes `device` offers; empty for an unknown device.
    virtual std::vector<std::string> mediaNames(const std::string& device) = 0;
    // Plots the active layout of `document` with `settings`. A plot that `stop` ends, or
    // whose drawing expands past what one plot may draw, fails and writes nothing.
    virtual PlotResult plot(AcadDocument& document, const PlotSettings& settings,
                            const StopRequested& stop) = 0;
};

// Makes `service` the one the layouts use (nullptr removes it).
void registerPlotService(std::shared_ptr<PlotService> service);
PlotService* plotService();

namespace reason {
inline constexpr const char* kNoPlotService = "没有可用的打印服务";
inline constexpr const char* kUnknownDevice = "打印设备不存在";
inline constexpr const char* kUnknownStyle = "打印样式表不存在";
inline constexpr const char* kUnknownMedia = "该打印设备没有此图纸尺寸";
inline constexpr const char* kPlotTooLarge =
    "图形展开后过于庞大（块引用、阵列或曲线），超出打印限度，未打印";
inline constexpr const char* kPlotStopped = "打印已终止，未打印";
}  // namespace reason

}  // namespace drawing
