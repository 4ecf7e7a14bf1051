// tolvane-cli beam: the continuous-beam model on its own, for a layout and a load
// given directly.
#include <ostream>

#include "beams/beam_calculation.h"
#include "cli/command.h"
#include "cli/options.h"
#include "ui/number_text.h"

namespace {

std::vector<double> numbers(const std::string& text) {
    std::vector<double> values;
    for (const std::string& field : cli::split(text, ",")) values.push_back(ui::readNumber(field));
    return values;
}

int usageError(cli::CommandIo& io, const std::string& what) {
    io.err << "tolvane-cli beam: " << what << "\n";
    return cli::kUsage;
}

int runBeam(const std::vector<std::string>& args, cli::CommandIo& io) {
    cli::Options opts;
    std::string error;
    if (!opts.parse(args, {"lengths", "total", "q", "slab", "column", "pattern"}, {}, error))
        return usageError(io, error);
    if (!opts.positional().empty())
        return usageError(io, "unexpected argument " + opts.positional()[0]);
    if (!opts.has("lengths") || !opts.has("total"))
        return usageError(io, "--lengths and --total are required");
    const int loads = opts.has("q") + opts.has("slab") + opts.has("column");
    if (loads != 1) return usageError(io, "give exactly one of --q, --slab, --column");
    const std::string pattern = opts.value("pattern").value_or("###.0");
    if (pattern != "###.0" && pattern != "####0.0")
        return usageError(io, "--pattern must be \"###.0\" or \"####0.0\"");

    beams::BeamLayout layout;
    layout.L = numbers(*opts.value("lengths"));
    layout.n = static_cast<int>(layout.L.size()) - 1;
    if (layout.n < 2 || layout.n > 9)
        return usageError(io, "--lengths needs 3 to 10 numbers (2 to 9 supports)");
    layout.Ltot = ui::readNumber(*opts.value("total"));

    std::string lengthLabel = "总长度(cm)";
    if (opts.has("q")) {
        layout.q = ui::readNumber(*opts.value("q"));
    } else if (opts.has("slab")) {
        const std::vector<double> ts = numbers(*opts.value("slab"));
        if (ts.size() != 2) return usageError(io, "--slab needs T,S");
        layout.q = beams::slabLoad(ts[0], ts[1]);
        lengthLabel = "板坯长度(cm)";
    } else {
        const std::vector<std::string> gps = cli::split(*opts.value("column"), ",");
        if (gps.size() != 3) return usageError(io, "--column needs G,P,S (P may be empty)");
        const double span = ui::readNumber(gps[2]);
        if (span == 0) {
            io.out << cli::messageLine(beams::zeroLoadSpanRefusal());
            return cli::kOk;
        }
        std::optional<double> rowLoad;
        if (!gps[1].empty()) rowLoad = ui::readNumber(gps[1]);
        layout.q = beams::columnLoad(ui::readNumber(gps[0]), rowLoad, span);
        lengthLabel = "梁的长度(cm)";
    }

    io.out << "q=" << ui::shortestText(layout.q) << "\n";
    io.out << "lengths=" << (beams::LengthsAddUp(layout) ? "ok" : "mismatch") << "\n";
    const beams::SolveOutcome solved = beams::solveOrRefuse(layout, lengthLabel);
    if (solved.refusal) {
        io.out << cli::messageLine(*solved.refusal);
        return cli::kOk;
    }
    for (int k = 0; k < layout.n; ++k)
        io.out << "M" << k + 1 << "=" << ui::patternText(solved.result.M[k], pattern) << "\n";
    for (int k = 0; k < layout.n; ++k)
        io.out << "R" << k + 1 << "=" << ui::patternText(solved.result.R[k], pattern) << "\n";
    return cli::kOk;
}

cli::CommandRegistration reg(
    "beam",
    "beam --lengths L0,L1,...,Ln --total LTOT (--q Q | --slab T,S | --column G,P,S)"
    " [--pattern ###.0|####0.0]\n"
    "  The continuous beam on n = 2...9 supports: L0 and Ln are the overhangs, L1...Ln-1\n"
    "  the spans (cm), LTOT the total length as entered. Load per cm: Q, or T*0.00785*S\n"
    "  for a slab of thickness T on a skid-beam span S, or (G+P)/S for a skid beam with\n"
    "  dead weight G, row load P (may be empty) and span S.\n"
    "  Prints q=, lengths=ok|mismatch, M1...Mn (kg.cm) and R1...Rn (kg); a layout that\n"
    "  would divide by zero prints message=提示|... instead of the results.",
    &runBeam);

}  // namespace
