// tolvane-cli batch: the batch run of the drawing engine without windows.
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <system_error>

#include "cadbatch/batch_run.h"
#include "cli/command.h"
#include "cli/options.h"
#include "ui/data_paths.h"

namespace {

namespace fs = std::filesystem;

bool isDrawingName(const std::string& name, bool anyCase) {
    if (name.size() < 3) return false;
    std::string end = name.substr(name.size() - 3);
    if (anyCase)
        std::transform(end.begin(), end.end(), end.begin(),
                       [](unsigned char c) { return std::tolower(c); });
    return end == "dwg" || end == "dxf";
}

// The drawings of one folder (names ending in lower-case "dwg" or "dxf"), sorted.
bool folderDrawings(const std::string& dir, std::vector<std::string>& out) {
    std::error_code ec;
    std::vector<std::string> found;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        const std::string name = it->path().filename().string();
        if (it->is_regular_file(typeError) && isDrawingName(name, false))
            found.push_back(it->path().string());
    }
    if (ec) return false;
    std::sort(found.begin(), found.end());
    out.insert(out.end(), found.begin(), found.end());
    return true;
}

// A folder's own drawings (any case) first, then those of its subfolders, depth first.
bool treeDrawings(const fs::path& dir, std::vector<std::string>& out) {
    std::error_code ec;
    std::vector<fs::path> files, folders;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->is_directory(typeError))
            folders.push_back(it->path());
        else if (isDrawingName(it->path().filename().string(), true))
            files.push_back(it->path());
    }
    if (ec) return false;
    std::sort(files.begin(), files.end());
    std::sort(folders.begin(), folders.end());
    for (const auto& f : files) out.push_back(f.string());
    for (const auto& f : folders) treeDrawings(f, out);
    return true;
}

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
    if (auto dir = opts.value("folder"); dir && !folderDrawings(*dir, drawings)) {
        io.err << "tolvane-cli batch: cannot read folder " << *dir << "\n";
        return cli::kFailure;
    }
    if (auto dir = opts.value("tree")) {
        drawings.clear();
        if (!treeDrawings(*dir, drawings)) {
            io.err << "tolvane-cli batch: cannot read folder " << *dir << "\n";
            return cli::kFailure;
        }
    }
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
