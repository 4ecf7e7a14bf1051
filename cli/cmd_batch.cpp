// tolvane-cli batch: the batch run of the drawing engine without windows.
#include <signal.h>

#include <charconv>
#include <filesystem>
#include <iostream>
#include <system_error>

#include "batch/plot_book.h"
#include "batch/run.h"
#include "batch/worker_pool.h"
#include "cli/command.h"
#include "cli/drawing_list.h"
#include "cli/options.h"
#include "plot/plotter.h"
#include "ui/data_paths.h"
#include "ui/printable_name.h"

namespace {

namespace fs = std::filesystem;

// The layout of a new drawing, with the desktop's plot service behind it.
drawing::AcadLayout plotLayout(drawing::AcadApplication& application) {
    plot::installPlotService(ui::dataDir());
    drawing::AcadLayout layout = application.documents().add()->activeLayout();
    layout.refreshPlotDeviceInfo();
    return layout;
}

// batch devices | styles | papers DEVICE: what --plot, --style and --paper accept.
int listPlotNames(const std::vector<std::string>& args, cli::CommandIo& io) {
    const std::string& what = args[0];
    if ((what == "papers") != (args.size() == 2) || args.size() > 2) {
        io.err << "tolvane-cli batch: usage: batch devices | batch styles | batch papers DEVICE\n";
        return cli::kUsage;
    }
    drawing::AcadApplication application;
    drawing::AcadLayout layout = plotLayout(application);
    std::vector<std::string> names;
    if (what == "devices") {
        names = layout.getPlotDeviceNames();
    } else if (what == "styles") {
        names = layout.getPlotStyleTableNames();
    } else {
        if (!layout.setConfigName(args[1]).ok()) {
            io.err << "tolvane-cli batch: unknown device '" << args[1]
                   << "' (see tolvane-cli batch devices)\n";
            return cli::kUsage;
        }
        names = layout.getCanonicalMediaNames();
    }
    const std::string key = what.substr(0, what.size() - 1);
    for (const std::string& name : names) io.out << key << "=" << name << "\n";
    return cli::kOk;
}

// Whether the device, style table and paper are names the layout lists.
bool plotNamesKnown(const batch::BatchSettings& settings, cli::CommandIo& io) {
    drawing::AcadApplication application;
    drawing::AcadLayout layout = plotLayout(application);
    const char* unknown = nullptr;
    std::string name;
    if (!layout.setConfigName(settings.device).ok())
        unknown = "device", name = settings.device;
    else if (!layout.setStyleSheet(settings.styleSheet).ok())
        unknown = "plot style table", name = settings.styleSheet;
    else if (!layout.setCanonicalMediaName(settings.paper).ok())
        unknown = "paper", name = settings.paper;
    if (!unknown) return true;
    io.err << "tolvane-cli batch: unknown " << unknown << " '" << name
           << "' (see tolvane-cli batch devices|styles|papers DEVICE)\n";
    return false;
}

volatile sig_atomic_t interruptedBy = 0;

void onInterrupt(int number) { interruptedBy = number; }

// While it lives, Ctrl-C and SIGTERM stop the run (no new drawing, the drawings in hand
// abandoned) instead of ending the program at once; a second one ends it.
class InterruptWatch {
public:
    InterruptWatch() {
        struct sigaction action {};
        action.sa_handler = onInterrupt;
        action.sa_flags = SA_RESETHAND;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGINT, &action, &oldInt_);
        ::sigaction(SIGTERM, &action, &oldTerm_);
    }
    ~InterruptWatch() {
        ::sigaction(SIGINT, &oldInt_, nullptr);
        ::sigaction(SIGTERM, &oldTerm_, nullptr);
    }

private:
    struct sigaction oldInt_ {};
    struct sigaction oldTerm_ {};
};

// The whole number from 1 given as --`name`, or `value` left as it is when the option
// is absent; false after a usage line when the text is not such a number.
template <typename Number>
bool positiveOption(const cli::Options& opts, const char* name, Number& value, cli::CommandIo& io) {
    const auto text = opts.value(name);
    if (!text) return true;
    Number n = 0;
    const auto [end, ec] = std::from_chars(text->data(), text->data() + text->size(), n);
    if (ec != std::errc() || end != text->data() + text->size() || n < 1) {
        io.err << "tolvane-cli batch: --" << name << " needs a whole number from 1, got '" << *text
               << "'\n";
        return false;
    }
    value = n;
    return true;
}

int runBatchCommand(const std::vector<std::string>& args, cli::CommandIo& io) {
    if (!args.empty() && (args[0] == "devices" || args[0] == "styles" || args[0] == "papers"))
        return listPlotNames(args, io);
    cli::Options opts;
    std::string error;
    if (!opts.parse(args,
                    {"block", "set", "name", "log", "folder", "tree", "plot", "style", "paper",
                     "jobs", "drawing-timeout", "drawing-memory", "plot-into"},
                    {"purge", "audit", "status"}, error)) {
        io.err << "tolvane-cli batch: " << error << "\n";
        return cli::kUsage;
    }
    batch::WorkerOptions workers = batch::defaultWorkerOptions();
    if (!positiveOption(opts, "jobs", workers.workers, io) ||
        !positiveOption(opts, "drawing-timeout", workers.drawingTimeoutSeconds, io) ||
        !positiveOption(opts, "drawing-memory", workers.drawingMemoryMegabytes, io))
        return cli::kUsage;
    batch::BatchSettings settings;
    settings.plot = opts.has("plot");
    settings.device = opts.value("plot").value_or("");
    settings.styleSheet = opts.value("style").value_or("");
    settings.paper = opts.value("paper").value_or("");
    if (!settings.plot && (opts.has("style") || opts.has("paper"))) {
        io.err << "tolvane-cli batch: --style and --paper go with --plot\n";
        return cli::kUsage;
    }
    settings.purge = opts.has("purge");
    settings.audit = opts.has("audit");
    settings.block = opts.value("block").value_or("");
    for (const std::string& set : opts.all("set")) {
        const size_t eq = set.find('=');
        if (eq == std::string::npos) {
            io.err << "tolvane-cli batch: --set needs TAG=VALUE, got '" << set << "'\n";
            return cli::kUsage;
        }
        settings.tags.push_back(set.substr(0, eq));
        settings.values.push_back(set.substr(eq + 1));
    }
    settings.editAttributes = opts.has("set");
    for (const std::string& slot : opts.all("name")) {
        if (slot.rfind("tag:", 0) == 0) {
            settings.name.addTag(slot.substr(4));
        } else if (slot.rfind("const:", 0) == 0) {
            settings.name.addConstant(slot.substr(6));
        } else {
            io.err << "tolvane-cli batch: --name needs tag:TAG or const:TEXT, got '" << slot
                   << "'\n";
            return cli::kUsage;
        }
    }
    settings.renameCopy = opts.has("name");
    settings.errorLog = opts.value("log").value_or(ui::dataDir() + "/errlogoqrz.txt");

    std::vector<std::string> drawings = opts.positional();
    if (const int rc = cli::applyCollection(opts, "batch", drawings, io); rc != cli::kOk) return rc;
    if (!settings.plot && !settings.purge && !settings.audit && !settings.editAttributes &&
        !settings.renameCopy) {
        io.out << "message=友情提示|阁下想做什么呢？\n";
        return cli::kOk;
    }
    if (drawings.empty()) {
        io.out << "message=友情提示|忘记添加dwg图形文件了吧？\n";
        return cli::kOk;
    }
    if (settings.plot) {
        if (const auto message = batch::plotChoiceMessage(settings)) {
            io.out << cli::messageLine(*message);
            return cli::kOk;
        }
        if (!plotNamesKnown(settings, io)) return cli::kUsage;
    }
    if (const auto book = opts.value("plot-into")) {
        if (settings.device != plot::kPdfDevice) {
            io.err << "tolvane-cli batch: --plot-into needs --plot PDF\n";
            return cli::kUsage;
        }
        settings.plotInto = drawing::fullPathOf(*book);
    }
    std::error_code ec;
    fs::create_directories(fs::path(settings.errorLog).parent_path(), ec);

    const bool status = opts.has("status");
    batch::BatchObserver observer;
    // Names come from the file system and the drawings: each is escaped, so that one
    // drawing is one line whatever its name holds.
    using ui::printableName;
    observer.started = [&](size_t i, size_t n, const std::string& path) {
        // Flushed as each drawing starts: a program reading the lines follows the run.
        io.out << "file=" << i << "/" << n << "|" << printableName(path) << "\n" << std::flush;
    };
    if (status)
        observer.status = [&](const std::string& text) {
            io.out << "status=" << printableName(text) << "\n";
        };
    observer.saved = [&](const std::string& path) {
        io.out << "saved=" << printableName(path) << "\n";
    };
    observer.plotted = [&](const std::string& path, const std::string& output) {
        io.out << "plotted=" << printableName(path) << "|" << printableName(output) << "\n";
    };
    observer.note = [&](const std::string& text) {
        io.out << "note=" << printableName(text) << "\n";
    };
    observer.drawingNote = [&](const std::string& path, const std::string& text) {
        io.out << "note=" << printableName(path) << "|" << printableName(text) << "\n";
    };
    observer.error = [&](const std::string& path, const std::string& reason) {
        io.out << "error=" << printableName(path) << "|" << printableName(reason) << "\n";
    };
    bool logFailed = false;
    observer.logFailed = [&](const std::string&) { logFailed = true; };
    InterruptWatch interrupt;
    interruptedBy = 0;
    observer.stopRequested = [] { return interruptedBy != 0; };
    const batch::PlotBook book(settings, observer);
    drawing::AcadApplication application;
    size_t done = 0;
    std::string failure;
    if (workers.workers == 1) {
        done = batch::runBatch(application, drawings, settings, observer);
    } else {
        const batch::PoolResult result =
            batch::runBatchInWorkers(application, drawings, settings, observer, workers);
        done = result.taken;
        failure = result.failure;
    }
    book.bind(observer);  // --plot-into: every plot as a page of one PDF
    io.out << "done=" << done << "\n";
    if (!failure.empty()) {
        io.err << "tolvane-cli batch: " << failure << "\n";
        return cli::kFailure;
    }
    if (logFailed) {
        io.err << "tolvane-cli batch: cannot write the error log "
               << ui::printableName(settings.errorLog) << "\n";
        return cli::kFailure;
    }
    // Stopped by a signal: the exit status a shell expects of a program it ended.
    if (interruptedBy) return 128 + interruptedBy;
    return cli::kOk;
}

const cli::CommandRegistration reg(
    "batch",
    "batch [--plot DEVICE --style STYLE --paper PAPER] [--purge] [--audit] [--block NAME]\n"
    "      [--set TAG=VALUE]... [--name tag:TAG|const:TEXT]... [--log FILE] [--status]\n"
    "      [--jobs N] [--drawing-timeout S] [--drawing-memory MB] [--plot-into FILE.pdf]\n"
    "      (DRAWING... | --folder DIR | --tree DIR)\n"
    "      batch devices | batch styles | batch papers DEVICE\n"
    "Opens each drawing (DXF, or DWG from R13 to 2018; named .dwg or .dxf) in turn: --plot\n"
    "plots its active layout fit to the paper, centred and turned by 90 degrees (device PDF\n"
    "writes NAME.pdf beside the drawing, or NAME (2).pdf and so on where that name is taken:\n"
    "no file is replaced); --purge and --audit run ten passes each; --set writes attribute\n"
    "values of every reference of the --block block (NULL or null clears a value); --name\n"
    "saves a copy named from that block's attributes beside the drawing. A changed DWG is\n"
    "saved as NAME.dxf beside it (never over an existing file) and copies of a DWG are DXF;\n"
    "the DWG itself is never written. Prints file=<i>/<N>|<path>, plotted=<path>|<PDF file\n"
    "written or printer>, note=<text>, note=<path>|<what a DWG held that was not\n"
    "translated>, saved=<path>, error=<path>|<reason> and done=<N>; with --status also\n"
    "status=<text>. Errors and notes also go to the error log (--log, default errlogoqrz.txt\n"
    "in the data folder). A drawing that is not a regular file (a folder, a named pipe, a\n"
    "device) is refused with an error. The drawings go to --jobs worker processes (default:\n"
    "one per core; 1 runs them in this process, with no limits); a drawing whose worker\n"
    "crashes, works longer than --drawing-timeout seconds (600) or needs more than\n"
    "--drawing-memory MB (half the memory) gets error=<path>|处理中断：... and the run goes\n"
    "on. The output is the same whatever the number of workers. --plot-into (with --plot\n"
    "PDF) binds every plot of the run into FILE.pdf, one page per drawing at its own paper\n"
    "size with a bookmark named after the drawing's file, written as a new file like the\n"
    "plots (saved= names it). Ctrl-C or SIGTERM starts no new drawing and leaves the\n"
    "drawings in hand unchanged. The sub-commands list the devices, the plot style tables\n"
    "and a device's paper sizes.\n"
    "Every path and text is printed so that it stays on one line: a backslash is written\n"
    "\\\\, a line break \\n, a carriage return \\r, a tab \\t, and any other control character\n"
    "or byte that is not UTF-8 as \\x and its two hexadecimal digits (\\x1B, \\xFF); the\n"
    "error log writes them the same way.",
    &runBatchCommand);

}  // namespace
