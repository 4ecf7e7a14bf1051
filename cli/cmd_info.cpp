// tolvane-cli info: what a drawing file holds, by layout, and what a DWG held that was
// not translated.
#include <map>
#include <ostream>

#include "cli/command.h"
#include "drawing/document.h"
#include "drawing/file.h"
#include "drawing/layout_entities.h"
#include "ui/printable_name.h"

namespace {

int runInfo(const std::vector<std::string>& args, cli::CommandIo& io) {
    if (args.size() != 1 || args[0].rfind("--", 0) == 0) {
        io.err << "tolvane-cli info: usage: info FILE\n";
        return cli::kUsage;
    }
    const std::string path = drawing::fullPathOf(args[0]);
    drawing::Drawing drawing;
    drawing::DrawingSource source;
    const drawing::Status read = drawing::readDrawingFile(path, drawing, &source);
    if (!read.ok()) {
        io.err << "tolvane-cli info: " << read.reason << ": " << path << "\n";
        return cli::kFailure;
    }
    std::string codePage;
    drawing.header("$DWGCODEPAGE", codePage);
    io.out << "version=" << drawing.version() << "\n";
    io.out << "codepage=" << codePage << "\n";
    for (const drawing::LayoutEntities& layout : drawing::entitiesByLayout(drawing)) {
        std::map<std::string, int> kinds;
        for (size_t i : layout.records) ++kinds[drawing.record(i).type];
        for (const auto& [kind, count] : kinds)
            io.out << "entities=" << ui::printableName(layout.name) << "|" << kind << "|" << count
                   << "\n";
    }
    for (const std::string& note : source.notes)
        io.out << "note=" << ui::printableName(path) << "|" << ui::printableName(note) << "\n";
    return cli::kOk;
}

const cli::CommandRegistration reg(
    "info",
    "info FILE\n"
    "Reads the drawing FILE (DWG from R13 to 2018, or DXF) and prints version=<$ACADVER>,\n"
    "codepage=<$DWGCODEPAGE>, one entities=<layout>|<kind>|<count> line per kind of entity\n"
    "in each layout (model space first), and note=<FILE>|<text> for each kind of thing a\n"
    "DWG held that was not translated.",
    &runInfo);

}  // namespace
