// tolvane-cli convert: a drawing (DWG from R13 to 2018, or DXF) written as DXF of the
// same version.
#include <ostream>

#include "cli/command.h"
#include "drawing/document.h"
#include "drawing/file.h"
#include "ui/printable_name.h"

namespace {

int runConvert(const std::vector<std::string>& args, cli::CommandIo& io) {
    if (args.size() != 2 || args[0].rfind("--", 0) == 0 || args[1].rfind("--", 0) == 0) {
        io.err << "tolvane-cli convert: usage: convert IN OUT.dxf\n";
        return cli::kUsage;
    }
    const std::string in = drawing::fullPathOf(args[0]);
    const std::string out = drawing::fullPathOf(args[1]);
    drawing::Drawing drawing;
    drawing::DrawingSource source;
    const drawing::Status read = drawing::readDrawingFile(in, drawing, &source);
    if (!read.ok()) {
        io.err << "tolvane-cli convert: " << read.reason << ": " << in << "\n";
        return cli::kFailure;
    }
    for (const std::string& note : source.notes)
        io.out << "note=" << ui::printableName(in) << "|" << ui::printableName(note) << "\n";
    const drawing::Status written =
        drawing::writeDrawingFile(drawing, out, drawing::WriteMode::NewOnly);
    if (!written.ok()) {
        io.err << "tolvane-cli convert: " << written.reason << ": " << out << "\n";
        return cli::kFailure;
    }
    io.out << "saved=" << ui::printableName(out) << "\n";
    return cli::kOk;
}

const cli::CommandRegistration reg(
    "convert",
    "convert IN OUT.dxf\n"
    "Reads the drawing IN (DWG from R13 to 2018, or DXF, known by its content) and writes\n"
    "it to OUT as DXF of the same version; an existing OUT is never replaced. Prints\n"
    "note=<IN>|<text> for each kind of thing the DWG held that was not translated, then\n"
    "saved=<OUT>. Exits 1 with a message when IN cannot be read or OUT not written.",
    &runConvert);

}  // namespace
