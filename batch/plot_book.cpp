#include "batch/plot_book.h"

#include <filesystem>

namespace batch {

PlotBook::PlotBook(const BatchSettings& settings, BatchObserver& observer)
    : target_(settings.plot ? settings.plotInto : std::string()) {
    if (target_.empty()) return;
    observer.plotted = [this, next = observer.plotted](const std::string& path,
                                                       const std::string& output) {
        pages_.push_back({output, std::filesystem::path(path).filename().string()});
        if (next) next(path, output);
    };
}

void PlotBook::bind(const BatchObserver& observer) const {
    if (target_.empty() || pages_.empty()) return;
    std::string written;
    const drawing::Status bound = plot::bindPdf(pages_, target_, written);
    if (bound.ok()) {
        if (observer.saved) observer.saved(written);
    } else if (observer.error) {
        observer.error(bound.path.empty() ? target_ : bound.path, bound.reason);
    }
}

}  // namespace batch
