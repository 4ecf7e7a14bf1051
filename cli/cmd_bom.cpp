// tolvane-cli bom: a whole parts list through smart fill and the weight calculation.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ostream>
#include <string>

#include "cli/command.h"
#include "cli/options.h"
#include "materiallist/bom.h"
#include "ui/number_text.h"

namespace {

// The whole of `file` ("-": standard input); false with `error` set when it cannot be read.
bool readAll(const std::string& path, std::string& text, std::string& error) {
    const bool stdinput = path == "-";
    std::FILE* f = stdinput ? stdin : std::fopen(path.c_str(), "rb");
    if (!f) {
        error = std::strerror(errno);
        return false;
    }
    char buffer[1 << 16];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
    const bool failed = std::ferror(f);
    if (failed) error = std::strerror(errno);
    if (!stdinput) std::fclose(f);
    return !failed;
}

int runBom(const std::vector<std::string>& args, cli::CommandIo& io) {
    cli::Options opt;
    std::string error;
    if (!opt.parse(args, {}, {}, error)) {
        io.err << "tolvane-cli bom: " << error << "\n";
        return cli::kUsage;
    }
    if (opt.positional().size() != 1) {
        io.err << "tolvane-cli bom: expected one parts-list file (or - for standard input)\n";
        return cli::kUsage;
    }
    const std::string& path = opt.positional().front();
    std::string text;
    if (!readAll(path, text, error)) {
        io.err << "tolvane-cli bom: cannot read " << (path == "-" ? "standard input" : path) << ": "
               << error << "\n";
        return cli::kFailure;
    }

    // The report goes out in blocks of whole lines so that a long list needs little memory.
    constexpr std::size_t kBlock = 1 << 20;
    std::string out;
    out.reserve(kBlock * 2);
    materiallist::BomSummary total;
    std::string_view rest = text;
    // Editors on Windows start UTF-8 files with a byte-order mark; it is no part of the
    // first description (which could then not start with its keyword).
    if (rest.starts_with("\xEF\xBB\xBF")) rest.remove_prefix(3);
    while (!rest.empty()) {
        std::size_t cut = rest.size() > kBlock ? rest.find('\n', kBlock) : std::string_view::npos;
        cut = cut == std::string_view::npos ? rest.size() : cut + 1;
        const materiallist::BomSummary part =
            materiallist::appendBomReport(rest.substr(0, cut), out, total.lines + 1);
        total.lines += part.lines;
        total.totalWeight += part.totalWeight;
        io.out.write(out.data(), static_cast<std::streamsize>(out.size()));
        out.clear();
        rest.remove_prefix(cut);
    }
    io.out << "total_weight=" << ui::shortestText(total.totalWeight) << "\n";
    return cli::kOk;
}

const cli::CommandRegistration reg(
    "bom",
    "bom FILE\n"
    "  Reads a parts list, one item description per line (FILE - reads standard input),\n"
    "  runs smart fill and the weight calculation on each line as on a freshly opened\n"
    "  main window, with the quantity from a trailing *N or ×N (else 1). Prints per line,\n"
    "  tab-separated: line number, description, steel type, designation or dimensions,\n"
    "  unit weight, quantity, total weight and the message text if any; then\n"
    "  total_weight=<sum of the totals>.",
    &runBom);

}  // namespace
