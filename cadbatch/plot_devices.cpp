#include "cadbatch/plot_devices.h"

#include <cups/cups.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QGuiApplication>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>
#include <QTemporaryFile>
#include <clocale>
#include <cstdlib>
#include <filesystem>

#include "cadbatch/acad_document.h"
#include "cadbatch/plot_pdf.h"
#include "cadbatch/plot_scene.h"
#include "cadbatch/plot_styles.h"

namespace cadplot {
namespace {

using cadbatch::PlotResult;
using cadbatch::Status;
namespace reason = cadbatch::reason;

const QPageSize::PageSizeId kPdfSizes[] = {
    QPageSize::A0,    QPageSize::A1,     QPageSize::A2,    QPageSize::A3,
    QPageSize::A4,    QPageSize::Letter, QPageSize::Legal, QPageSize::Tabloid,
    QPageSize::AnsiC, QPageSize::AnsiD,  QPageSize::AnsiE,
};

std::vector<QPageSize> pageSizesOf(const std::string& device) {
    std::vector<QPageSize> sizes;
    if (device == kPdfDevice) {
        for (QPageSize::PageSizeId id : kPdfSizes) sizes.emplace_back(id);
    } else {
        const QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromStdString(device));
        for (const QPageSize& size : info.supportedPageSizes()) sizes.push_back(size);
    }
    return sizes;
}

bool writeAll(QIODevice& file, const std::string& bytes) {
    return file.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
           static_cast<qint64>(bytes.size());
}

// The PDF of the drawing: its name with ".pdf", beside it; written under a temporary
// name and renamed, so an existing PDF is replaced whole or not at all.
Status plotToPdf(cadbatch::AcadDocument& doc, const Scene& scene,
                 const cadbatch::PlotSettings& settings, const PlotStyleTable& table,
                 const QPageSize& paper, std::string& output) {
    const std::filesystem::path drawing(doc.fullName());
    output = (drawing.parent_path() / drawing.stem()).string() + ".pdf";
    const QSizeF size = paper.size(QPageSize::Point);
    const std::string bytes =
        plotPdf(scene, settings, table, {size, QRectF(QPointF(), size)}, doc.name());
    QSaveFile file(QString::fromStdString(output));
    if (!file.open(QIODevice::WriteOnly) || !writeAll(file, bytes) || !file.commit())
        return Status::failure(reason::kUnwritable, output);
    return Status{};
}

// A printer gets the same PDF, fitted to the area the printer can print on, as a job
// of the print service.
Status plotToPrinter(cadbatch::AcadDocument& doc, const Scene& scene,
                     const cadbatch::PlotSettings& settings, const PlotStyleTable& table,
                     const QPageSize& paper) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(QString::fromStdString(settings.configName));
    printer.setPageSize(paper);
    const PdfPaper page{paper.size(QPageSize::Point),
                        printer.pageLayout().paintRect(QPageLayout::Point)};
    const std::string bytes = plotPdf(scene, settings, table, page, doc.name());
    QTemporaryFile file(QDir::tempPath() + "/tolvane-plot-XXXXXX.pdf");
    if (!file.open() || !writeAll(file, bytes) || !file.flush())
        return Status::failure(reason::kUnwritable, file.fileName().toStdString());
    const std::string media = paper.key().toStdString();
    cups_option_t* options = nullptr;
    const int count = cupsAddOption("media", media.c_str(), 0, &options);
    const int job = cupsPrintFile(settings.configName.c_str(), file.fileName().toUtf8().constData(),
                                  doc.name().c_str(), count, options);
    cupsFreeOptions(count, options);
    if (job == 0)
        return Status::failure(std::string("打印失败：") + settings.configName + "（" +
                               cupsLastErrorString() + "）");
    return Status{};
}

}  // namespace

QtPlotService::QtPlotService(std::string styleFolder) : styleFolder_(std::move(styleFolder)) {
    refresh();
}

void QtPlotService::refresh() {
    printers_.clear();
    for (const QString& name : QPrinterInfo::availablePrinterNames())
        printers_.push_back(name.toStdString());
}

std::vector<std::string> QtPlotService::deviceNames() {
    std::vector<std::string> names = {kPdfDevice};
    names.insert(names.end(), printers_.begin(), printers_.end());
    return names;
}

std::vector<std::string> QtPlotService::styleTableNames() {
    return PlotStyleTable::names(styleFolder_);
}

std::vector<std::string> QtPlotService::mediaNames(const std::string& device) {
    std::vector<std::string> names;
    const auto devices = deviceNames();
    if (std::find(devices.begin(), devices.end(), device) == devices.end()) return names;
    for (const QPageSize& size : pageSizesOf(device)) names.push_back(size.name().toStdString());
    return names;
}

PlotResult QtPlotService::plot(cadbatch::AcadDocument& document,
                               const cadbatch::PlotSettings& settings) {
    PlotResult result;
    auto refuse = [&result](const char* why, const std::string& name) {
        result.status = Status::failure(std::string(why) + "：" + name);
        return result;
    };
    const auto devices = deviceNames();
    if (std::find(devices.begin(), devices.end(), settings.configName) == devices.end())
        return refuse(reason::kUnknownDevice, settings.configName);
    std::optional<QPageSize> paper;
    for (const QPageSize& size : pageSizesOf(settings.configName))
        if (size.name().toStdString() == settings.canonicalMediaName) paper = size;
    if (!paper) return refuse(reason::kUnknownMedia, settings.canonicalMediaName);
    const auto tables = styleTableNames();
    if (std::find(tables.begin(), tables.end(), settings.styleSheet) == tables.end())
        return refuse(reason::kUnknownStyle, settings.styleSheet);
    bool readable = true;
    const PlotStyleTable table = PlotStyleTable::load(settings.styleSheet, styleFolder_, readable);
    if (!readable && warned_.insert(settings.styleSheet).second)
        result.note = "打印样式表“" + settings.styleSheet + "”没有可用的颜色映射，按显示颜色打印";
    const Scene scene = buildScene(document);
    if (settings.configName == kPdfDevice) {
        result.status = plotToPdf(document, scene, settings, table, *paper, result.output);
    } else {
        result.status = plotToPrinter(document, scene, settings, table, *paper);
        result.output = settings.configName;
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
    cadbatch::registerPlotService(std::make_shared<QtPlotService>(dataFolder + "/plotstyles"));
}

}  // namespace cadplot
