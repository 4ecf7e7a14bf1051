// tolvane-cli collect: the batch window's drawing list without the window.
#include <ostream>

#include "batch/collection.h"
#include "cli/command.h"
#include "cli/drawing_list.h"
#include "cli/options.h"
#include "drawing/document.h"

namespace {

int runCollect(const std::vector<std::string>& args, cli::CommandIo& io) {
    cli::Options opts;
    std::string error;
    if (!opts.parse(args, {"folder", "tree", "names"}, {}, error)) {
        io.err << "tolvane-cli collect: " << error << "\n";
        return cli::kUsage;
    }
    if (!opts.positional().empty()) {
        io.err << "tolvane-cli collect: unexpected argument " << opts.positional().front() << "\n";
        return cli::kUsage;
    }
    if (!opts.has("folder") && !opts.has("tree")) {
        io.err << "tolvane-cli collect: give --folder DIR or --tree DIR\n";
        return cli::kUsage;
    }
    std::vector<std::string> list;
    if (const int rc = cli::applyCollection(opts, "collect", list, io); rc != cli::kOk) return rc;
    for (const std::string& path : list) io.out << "file=" << path << "\n";
    const auto names = opts.value("names");
    if (!names || list.empty()) return cli::kOk;
    const std::string path = drawing::fullPathOf(*names);
    if (!batch::writeDrawingNameList(path, list).ok()) {
        io.err << "tolvane-cli collect: cannot write " << path << "\n";
        return cli::kFailure;
    }
    io.out << cli::messageLine(batch::nameListWrittenMessage(path));
    return cli::kOk;
}

const cli::CommandRegistration reg(
    "collect",
    "collect (--folder DIR | --tree DIR)... [--names FILE]\n"
    "Lists drawings as the batch window does: --folder adds the files of DIR whose names\n"
    "end in dwg or dxf (lower case) and sorts the whole list; --tree replaces the list with\n"
    "the drawings (*.dwg, *.dxf, any case) of DIR and its subfolders, each folder's own\n"
    "files first, in name order. Prints file=<full path> per entry; --names also writes\n"
    "the quoted bare names, CR LF, to FILE (the name list file, tempqrz.txt).",
    &runCollect);

}  // namespace
