// tolvane-cli batch: the batch run of the drawing engine without windows.
#include <filesystem>
#include <iostream>
#include <system_error>

#include "cadbatch/batch_run.h"
#include "cli/command.h"
#include "cli/drawing_list.h"
#include "cli/options.h"
#include "ui/data_paths.h"

namespace {

namespace fs = std::filesystem;

int runBatchCommand(const std::vector<std::string>& args, cli::CommandIo& io) {
    cli::Options opts;
    std::string error;
    if (!opts.parse(args, {"block", "set", "name", "log", "folder", "tree"},
                    {"purge", "audit", "status"}, error)) {
        io.err << "tolvane-cli batch: " << error << "\n";
        return cli::kUsage;
    }
    cadbatch::BatchSettings settings;
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
    if (!settings.purge && !settings.audit && !settings.editAttributes && !settings.renameCopy) {
        io.out << "message=友情提示|阁下想做什么呢？\n";
        return cli::kOk;
    }
    if (drawings.empty()) {
        io.out << "message=友情提示|忘记添加dwg图形文件了吧？\n";
        return cli::kOk;
    }
    std::error_code ec;
    fs::create_directories(fs::path(settings.errorLog).parent_path(), ec);

    const bool status = opts.has("status");
    cadbatch::BatchObserver observer;
    observer.started = [&](size_t i, size_t n, const std::string& path) {
        io.out << "file=" << i << "/" << n << "|" << path << "\n";
    };
    if (status)
        observer.status = [&](const std::string& text) { io.out << "status=" << text << "\n"; };
    observer.saved = [&](const std::string& path) { io.out << "saved=" << path << "\n"; };
    observer.error = [&](const std::string& path, const std::string& reason) {
        io.out << "error=" << path << "|" << reason << "\n";
    };
    bool logFailed = false;
    observer.logFailed = [&](const std::string&) { logFailed = true; };
    cadbatch::AcadApplication application;
    const size_t done = cadbatch::runBatch(application, drawings, settings, observer);
    io.out << "done=" << done << "\n";
    if (logFailed) {
        io.err << "tolvane-cli batch: cannot write the error log " << settings.errorLog << "\n";
        return cli::kFailure;
    }
    return cli::kOk;
}

const cli::CommandRegistration reg(
    "batch",
    "batch [--purge] [--audit] [--block NAME] [--set TAG=VALUE]... [--name tag:TAG|const:TEXT]...\n"
    "      [--log FILE] [--status] (DRAWING... | --folder DIR | --tree DIR)\n"
    "Opens each drawing (a DXF file, named .dwg or .dxf) in turn: --purge and --audit run ten\n"
    "passes each; --set writes attribute values of every reference of the --block block\n"
    "(NULL or null clears a value); --name saves a copy named from that block's attributes\n"
    "beside the drawing. Prints file=<i>/<N>|<path>, saved=<path>, error=<path>|<reason>\n"
    "and done=<N>; with --status also status=<text>. Errors also go to the error log\n"
    "(--log, default errlogoqrz.txt in the data folder).",
    &runBatchCommand);

}  // namespace
