#include "drawing/plot_service.h"

namespace drawing {
namespace {

std::shared_ptr<PlotService>& registered() {
    static std::shared_ptr<PlotService> service;
    return service;
}

}  // namespace

void registerPlotService(std::shared_ptr<PlotService> service) {
    registered() = std::move(service);
}

PlotService* plotService() { return registered().get(); }

}  // namespace drawing
