// tolvane-cli COMMAND [OPTIONS] [ARGS]: the calculations and the batch run without a
// display. Commands register themselves (cli/command.h); drawings are read as DXF or,
// through the DWG reader registered at start, as DWG.
#include <iostream>
#include <string>
#include <vector>

#include "cli/command.h"
#include "dwg/dwg_format.h"
#include "ui/data_paths.h"

namespace {

void printUsage(std::ostream& out) {
    out << "usage: tolvane-cli [--data-dir DIR] COMMAND [OPTIONS] [ARGS]\n"
           "       tolvane-cli COMMAND --help\n"
           "       tolvane-cli --version\n\ncommands:\n";
    for (const cli::Command& c : cli::commands())
        if (!c.usage.empty()) out << "  " << c.usage.substr(0, c.usage.find('\n')) << "\n";
}

}  // namespace

int main(int argc, char** argv) {
    dwg::installDwgReader();
    std::vector<std::string> args(argv + 1, argv + argc);
    // --data-dir may stand anywhere; it applies to every command.
    for (size_t i = 0; i < args.size() && args[i] != "--"; ++i) {
        if (args[i] == "--data-dir") {
            if (i + 1 >= args.size()) {
                std::cerr << "tolvane-cli: option --data-dir needs a value\n";
                return cli::kUsage;
            }
            ui::setDataDirOverride(args[i + 1]);
            args.erase(args.begin() + i, args.begin() + i + 2);
            --i;
        } else if (args[i].rfind("--data-dir=", 0) == 0) {
            ui::setDataDirOverride(args[i].substr(11));
            args.erase(args.begin() + i);
            --i;
        }
    }
    if (args.empty()) {
        printUsage(std::cerr);
        return cli::kUsage;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        printUsage(std::cout);
        return cli::kOk;
    }
    if (args[0] == "--version") {
        std::cout << "tolvane-cli " TOLVANE_VERSION "\n";
        return cli::kOk;
    }
    for (const cli::Command& c : cli::commands()) {
        if (c.name != args[0]) continue;
        std::vector<std::string> rest(args.begin() + 1, args.end());
        for (const std::string& a : rest) {
            if (a == "--") break;
            if (a == "--help" || a == "-h") {
                std::cout << "usage: tolvane-cli " << c.usage << "\n";
                return cli::kOk;
            }
        }
        cli::CommandIo io{std::cout, std::cerr};
        return c.run(rest, io);
    }
    std::cerr << "tolvane-cli: unknown command '" << args[0] << "' (see tolvane-cli --help)\n";
    return cli::kUsage;
}
