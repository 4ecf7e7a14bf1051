// tolvane-cli fill: smart fill of one description on a freshly opened main window.
#include <ostream>
#include <string>

#include "cli/command.h"
#include "cli/options.h"
#include "materiallist/window_entries.h"

namespace {

using materiallist::WindowEntries;

void appendMessage(std::string& out, const ui::OptionalMessage& message) {
    if (message) out += cli::messageLine(*message);
}

int runFill(const std::vector<std::string>& args, cli::CommandIo& io) {
    cli::Options opt;
    std::string error;
    if (!opt.parse(args, {}, {"calc"}, error)) {
        io.err << "tolvane-cli fill: " << error << "\n";
        return cli::kUsage;
    }
    if (opt.positional().size() != 1) {
        io.err << "tolvane-cli fill: expected one description (the clipboard text), got "
               << opt.positional().size() << "\n";
        return cli::kUsage;
    }

    WindowEntries e;
    const materiallist::FillResult fill = materiallist::smartFill(opt.positional().front());
    materiallist::applyFill(e, fill);

    std::string out;
    appendMessage(out, fill.message);
    out += "type=" + std::to_string(e.steelType) + "\n";
    out += "list=" + std::string(materiallist::listObjectName(e.visibleList)) + "\n";
    out += "item=" + std::string(materiallist::selectedItemText(e)) + "\n";
    for (std::size_t r = 0; r < e.rows.size(); ++r) {
        const materiallist::DimensionRow& row = e.rows[r];
        out += "row" + std::to_string(r + 1) + "=" + (row.visible ? "1|" : "0|") + row.caption +
               "|" + row.text + "\n";
    }
    out += "qty=" + e.quantity + "\n";
    out += "material=" + std::string(materiallist::materialText(e)) + "\n";
    if (opt.has("calc")) {
        const ui::OptionalMessage message = materiallist::calculate(e);
        out += "unit=" + e.unitText + "\ntotal=" + e.totalText + "\n";
        appendMessage(out, message);
    }
    io.out << out;
    return cli::kOk;
}

const cli::CommandRegistration reg(
    "fill",
    "fill [--calc] DESCRIPTION\n"
    "  Smart fill (智能填充) of DESCRIPTION, taken as the clipboard text, on a freshly\n"
    "  opened main window. Prints any message= line, then type=, list=, item=, row1=,\n"
    "  row2=, row3= (<1|0 visible>|<caption>|<field text>), qty= and material=.\n"
    "  --calc presses 计算 afterwards and adds unit=, total= and any message= line.",
    &runFill);

}  // namespace
