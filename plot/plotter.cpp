#include "plot/plotter.h"

#include <cups/cups.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QGuiApplication>
#include <QPageSize>
#include <QTemporaryFile>
#include <clocale>
#include <cstdlib>
#include <filesystem>

#include "drawing/document.h"
#include "drawing/file.h"
#include "plot/pdf.h"
#include "plot/scene_builder.h"
#include "plot/styles.h"

namespace plot {
namespace {

using drawing::PlotResult;
using drawing::Status;
namespace reason = drawing::reason;

const QPageSize::PageSizeId kPdfSizes[] = {
    QPageSize::A0,    QPageSize::A1,     QPageSize::A2,    QPageSize::A3,
    QPageSize::A4,    QPageSize::Letter, QPageSize::Legal, QPageSize::Tabloid,
    QPageSize::AnsiC, QPageSize::AnsiD,  QPageSize::AnsiE,
};

// A paper a device offers: its size, the area printed on (points from the top left),
// and for a printer the media name its print service knows it by.
struct Paper {
    QPageSize size;
    QRectF printable;
    std::string media;
};

constexpr double kPointsPerHundredthMm = 72.0 / 2540.0;

// A printer's papers as its print service lists them, each standard size once under
// its standard name (borderless and other variants of a size add nothing to a plot).
std::vector<Paper> printerPapers(const std::string& printer) {
    std::vector<Paper> papers;
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, printer.c_str(), nullptr);
    if (!dest) return papers;
    if (cups_dinfo_t* info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest)) {
        const int count = cupsGetDestMediaCount(CUPS_HTTP_DEFAULT, dest, info, 0);
        for (int i = 0; i < count; ++i) {
            cups_size_t media;
            if (!cupsGetDestMediaByIndex(CUPS_HTTP_DEFAULT, dest, info, i, 0, &media)) continue;
            const QSizeF mm(media.width / 100.0, media.length / 100.0);
            const QPageSize size(mm, QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch);
            if (!size.isValid() || std::any_of(papers.begin(), papers.end(), [&](const Paper& p) {
                    return p.size.name() == size.name();
                }))
                continue;
            const QSizeF points = size.size(QPageSize::Point);
            const QRectF printable(
                QPointF(media.left * kPointsPerHundredthMm, media.top * kPointsPerHundredthMm),
                QPointF(points.width() - media.right * kPointsPerHundredthMm,
                        points.height() - media.bottom * kPointsPerHundredthMm));
            papers.push_back(
                {size, printable.isValid() ? printable : QRectF(QPointF(), points), media.media});
        }
        cupsFreeDestInfo(info);
    }
    cupsFreeDests(1, dest);
    return papers;
}

std::vector<Paper> papersOf(const std::string& device) {
    if (device != kPdfDevice) return printerPapers(device);
    std::vector<Paper> papers;
    for (QPageSize::PageSizeId id : kPdfSizes) {
        const QPageSize size(id);
        papers.push_back({size, QRectF(QPointF(), size.size(QPageSize::Point)), {}});
    }
    return papers;
}

bool writeAll(QIODevice& file, const std::string& bytes) {
    return file.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
           static_cast<qint64>(bytes.size());
}

// The PDF of the drawing beside it: its name with ".pdf", or with " (2).pdf" and so on
// where that name is taken (the user's own file, or the plot of a drawing of the same
// name); an existing file is never replaced. The file appears whole or not at all.
Status plotToPdf(const drawing::AcadDocument& doc, const std::string& bytes,
                 std::string& output) {
    const std::filesystem::path drawing(doc.fullName());
    return drawing::writeNewFile(bytes, (drawing.parent_path() / drawing.stem()).string() + ".pdf",
                                 output);
}

// A printer gets the same PDF, fitted to the area the printer can print on, as a job
// of the print service.
Status plotToPrinter(const drawing::AcadDocument& doc, const std::string& bytes,
                     const drawing::PlotSettings& settings, const Paper& paper) {
    QTemporaryFile file(QDir::tempPath() + "/tolvane-plot-XXXXXX.pdf");
    if (!file.open() || !writeAll(file, bytes) || !file.flush())
        return Status::failure(reason::kUnwritable, file.fileName().toStdString());
    cups_option_t* options = nullptr;
    const int count = cupsAddOption("media", paper.media.c_str(), 0, &options);
    const int job = cupsPrintFile(settings.configName.c_str(), file.fileName().toUtf8().constData(),
                                  doc.name().c_str(), count, options);
    cupsFreeOptions(count, options);
    if (job == 0)
        return Status::failure(std::string("打印失败：") + settings.configName + "（" +
                               cupsLastErrorString() + "）");
    return Status{};
}

}  // namespace

Plotter::Plotter(std::string styleFolder) : styleFolder_(std::move(styleFolder)) { refresh(); }

void Plotter::refresh() {
    printers_.clear();
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    for (int i = 0; i < count; ++i)
        if (!dests[i].instance) printers_.emplace_back(dests[i].name);
    cupsFreeDests(count, dests);
}

std::vector<std::string> Plotter::deviceNames() {
    std::vector<std::string> names = {kPdfDevice};
    names.insert(names.end(), printers_.begin(), printers_.end());
    return names;
}

std::vector<std::string> Plotter::styleTableNames() { return PlotStyleTable::names(styleFolder_); }

std::vector<std::string> Plotter::mediaNames(const std::string& device) {
    std::vector<std::string> names;
    const auto devices = deviceNames();
    if (std::find(devices.begin(), devices.end(), device) == devices.end()) return names;
    for (const Paper& paper : papersOf(device)) names.push_back(paper.size.name().toStdString());
    return names;
}

PlotResult Plotter::plot(drawing::AcadDocument& document, const drawing::PlotSettings& settings,
                         const drawing::StopRequested& stop) {
    PlotResult result;
    auto refuse = [&result](const char* why, const std::string& name) {
        result.status = Status::failure(std::string(why) + "：" + name);
        return result;
    };
    const auto devices = deviceNames();
    if (std::find(devices.begin(), devices.end(), settings.configName) == devices.end())
        return refuse(reason::kUnknownDevice, settings.configName);
    std::optional<Paper> paper;
    for (const Paper& p : papersOf(settings.configName))
        if (p.size.name().toStdString() == settings.canonicalMediaName) paper = p;
    if (!paper) return refuse(reason::kUnknownMedia, settings.canonicalMediaName);
    const auto tables = styleTableNames();
    if (std::find(tables.begin(), tables.end(), settings.styleSheet) == tables.end())
        return refuse(reason::kUnknownStyle, settings.styleSheet);
    bool readable = true;
    const PlotStyleTable table = PlotStyleTable::load(settings.styleSheet, styleFolder_, readable);
    if (!readable && warned_.insert(settings.styleSheet).second)
        result.note = "打印样式表“" + settings.styleSheet + "”没有可用的颜色映射，按显示颜色打印";
    PlotBudget budget(stop);
    const Scene scene = buildScene(document, budget);
    if (scene.simplifiedHatches > 0)
        result.note += (result.note.empty() ? "" : "；") + std::to_string(scene.simplifiedHatches) +
                       " 个填充图案过密，只打印了边界";
    if (budget.ended()) {
        result.status = budget.failure(document.fullName());
        return result;
    }
    const bool toPdf = settings.configName == kPdfDevice;
    if (!toPdf) result.output = settings.configName;
    const std::optional<std::string> bytes =
        plotPdf(scene, settings, table, {paper->size.size(QPageSize::Point), paper->printable},
                document.name(), budget);
    if (!bytes) {
        result.status = budget.failure(document.fullName());
    } else if (toPdf) {
        result.status = plotToPdf(document, *bytes, result.output);
    } else {
        result.status = plotToPrinter(document, *bytes, settings, *paper);
    }
    return result;
}

void installPlotService(const std::string& dataFolder) {
    if (!QGuiApplication::instance()) {
        if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") &&
            !std::getenv("QT_QPA_PLATFORM"))
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
        if (!std::getenv("XDG_RUNTIME_DIR")) {  // the folder Qt would pick, without its warning
            const std::string runtime = "/tmp/runtime-" + std::to_string(::getuid());
            ::mkdir(runtime.c_str(), 0700);
            setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        }
        static int argc = 1;
        static char name[] = "tolvane";
        static char* argv[] = {name, nullptr};
        new QGuiApplication(argc, argv);  // lives as long as the process
        // Qt adopts the system locale; numbers in files keep the C form.
        std::setlocale(LC_NUMERIC, "C");
    }
    drawing::registerPlotService(std::make_shared<Plotter>(dataFolder + "/plotstyles"));
}

}  // namespace plot
