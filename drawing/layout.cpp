// The layout's plot members, through the registered plot service.
#include <algorithm>

#include "drawing/document.h"

namespace drawing {
namespace {

bool listed(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// Sets `field` to `name` when `names` holds it.
Status choose(std::string& field, const std::vector<std::string>& names, const std::string& name,
              const char* unknown) {
    if (!plotService()) return Status::failure(reason::kNoPlotService);
    if (!listed(names, name)) return Status::failure(std::string(unknown) + "：" + name);
    field = name;
    return Status{};
}

}  // namespace

void AcadLayout::refreshPlotDeviceInfo() {
    if (PlotService* service = plotService()) service->refresh();
}

std::vector<std::string> AcadLayout::getPlotDeviceNames() const {
    PlotService* service = plotService();
    return service ? service->deviceNames() : std::vector<std::string>{};
}

std::vector<std::string> AcadLayout::getPlotStyleTableNames() const {
    PlotService* service = plotService();
    return service ? service->styleTableNames() : std::vector<std::string>{};
}

std::vector<std::string> AcadLayout::getCanonicalMediaNames() const {
    PlotService* service = plotService();
    return service ? service->mediaNames(settings_->configName) : std::vector<std::string>{};
}

Status AcadLayout::setConfigName(const std::string& device) {
    return choose(settings_->configName, getPlotDeviceNames(), device, reason::kUnknownDevice);
}

Status AcadLayout::setStyleSheet(const std::string& table) {
    return choose(settings_->styleSheet, getPlotStyleTableNames(), table, reason::kUnknownStyle);
}

Status AcadLayout::setCanonicalMediaName(const std::string& paper) {
    return choose(settings_->canonicalMediaName, getCanonicalMediaNames(), paper,
                  reason::kUnknownMedia);
}

PlotResult AcadPlot::plotToDevice(const StopRequested& stop) {
    PlotService* service = plotService();
    if (!service) return PlotResult{Status::failure(reason::kNoPlotService), {}, {}};
    const AcadLayout layout = document_->activeLayout();
    return service->plot(*document_, layout.plotSettings(), stop);
}

}  // namespace drawing
