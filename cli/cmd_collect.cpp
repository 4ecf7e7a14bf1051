// tolvane-cli collect: the batch window's drawing list without the window.
#include <ostream>

#include "batch/collection.h"
#include "cli/command.h"
#include "cli/drawing_list.h"
#include "cli/options.h"
#include "drawing/document.h"
#include "ui/printable_name.h"

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
    for (const std::string& path : list) io.out << "file=" << ui::printableName(path) << "\n";
    const auto names = opts.value("names");
    if (!names || list.empty()) return cli::kOk;
    const std::string path = drawing::fullPathOf(*names);
    if (!batch::writeDrawingNameList(path, list).ok()) {
        io.err << "tolvane-cli collect: cannot write " << ui::printableName(path) << "\n";
        return cli::kFailure;
    }
    const ui::Message written = batch::nameListWrittenMessage(path);
    io.out << cli::messageLine({written.title, ui::printableName(written.text)});
    return cli::kOk;
}

const cli::CommandRegistration reg(
    "collect",
    "collect (--folder DIR | --tree DIR)... [--names FILE]\n"
    "Lists drawings as the batch window does: --folder adds the files of DIR whose names\n"
    "end in dwg or dxf (lower case) and sorts the whole list; --tree replaces the list with\n"
    "the drawings (*.dwg, *.dxf, any case) of DIR and its subfolders, each folder's own\n"
    "files first, in name order. Prints file=<full path> per entry; --names also writes\n"
    "the quoted bare names, CR LF, to FILE (the name list file, tempqrz.txt). Only regular\n"
    "files are listed. Paths are printed so that each stays on one line: a backslash is\n"
    "written \\\\, a line break \\n, a carriage return \\r, a tab \\t, and any other control\n"
    "character or byte that is not UTF-8 as \\x and its two hexadecimal digits (\\xFF).",
    &runCollect);

}  // namespace
