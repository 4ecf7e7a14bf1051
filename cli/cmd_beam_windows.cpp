// tolvane-cli beam-row and beam-column: 开始计算 on a freshly opened row window
// (Form2 … Form9) or column window (Form22 … Form29) with the boxes' texts as typed.
#include <ostream>

#include "beams/beam_calculation.h"
#include "cli/command.h"
#include "cli/options.h"
#include "ui/data_paths.h"
#include "ui/number_text.h"

namespace {

struct WindowArgs {
    int n = 0;
    std::vector<std::string> text1, text2;
    bool goOn = true;  // --answer cancel
    cli::Options opts;
};

// Parses "N --text1 … --text2 … [--answer ok|cancel]" plus `extra` options; returns
// an empty string or the usage error.
std::string parseWindowArgs(const std::vector<std::string>& args, size_t inputBoxes,
                            const std::set<std::string>& extra, WindowArgs& w) {
    std::set<std::string> valued{"text1", "text2", "answer", "text1-sep", "text2-sep"};
    valued.insert(extra.begin(), extra.end());
    std::string error;
    if (!w.opts.parse(args, valued, {}, error)) return error;
    const auto& pos = w.opts.positional();
    if (pos.size() != 1 || pos[0].size() != 1 || pos[0][0] < '2' || pos[0][0] > '9')
        return "give the number of supports N = 2...9";
    w.n = pos[0][0] - '0';
    const std::string sep1 = w.opts.value("text1-sep").value_or(",");
    const std::string sep2 = w.opts.value("text2-sep").value_or(",");
    if (sep1.empty() || sep2.empty()) return "a separator must not be empty";
    w.text1 = w.opts.has("text1") ? cli::split(*w.opts.value("text1"), sep1)
                                  : std::vector<std::string>(w.n + 1);
    w.text2 = w.opts.has("text2") ? cli::split(*w.opts.value("text2"), sep2)
                                  : std::vector<std::string>(inputBoxes);
    if (w.text1.size() != static_cast<size_t>(w.n + 1))
        return "--text1 needs " + std::to_string(w.n + 1) + " texts for N = " + std::to_string(w.n);
    if (w.text2.size() != inputBoxes)
        return "--text2 needs " + std::to_string(inputBoxes) + " texts";
    const std::string answer = w.opts.value("answer").value_or("cancel");
    if (answer != "ok" && answer != "cancel") return "--answer must be ok or cancel";
    w.goOn = answer == "cancel";
    return {};
}

// Prints the messages and then the result boxes (empty when nothing was calculated).
void printOutcome(std::ostream& out, int n, const std::vector<ui::Message>& asked,
                  const beams::CalculationOutcome& outcome) {
    for (const ui::Message& m : asked) out << cli::messageLine(m);
    for (const auto& m : {outcome.refusal, outcome.reportFailure})
        if (m) out << cli::messageLine(*m);
    for (int k = 0; k < n; ++k)
        out << "M" << k + 1 << "=" << (outcome.results ? outcome.results->moments[k] : "") << "\n";
    for (int k = 0; k < n; ++k)
        out << "R" << k + 1 << "=" << (outcome.results ? outcome.results->forces[k] : "") << "\n";
}

int runBeamRow(const std::vector<std::string>& args, cli::CommandIo& io) {
    WindowArgs w;
    if (const std::string error = parseWindowArgs(args, 3, {}, w); !error.empty()) {
        io.err << "tolvane-cli beam-row: " << error << "\n";
        return cli::kUsage;
    }
    std::vector<ui::Message> asked;
    const auto outcome = beams::calculateRow({w.n, w.text1, w.text2}, [&](const ui::Message& m) {
        asked.push_back(m);
        return w.goOn;
    });
    printOutcome(io.out, w.n, asked, outcome);
    return cli::kOk;
}

int runBeamColumn(const std::vector<std::string>& args, cli::CommandIo& io) {
    WindowArgs w;
    if (const std::string error = parseWindowArgs(args, 4, {"row-load", "report"}, w);
        !error.empty()) {
        io.err << "tolvane-cli beam-column: " << error << "\n";
        return cli::kUsage;
    }
    // The row key names a row of up to nine; its load is what --row-load supplies.
    std::optional<double> rowLoad;
    const std::string given = w.opts.value("row-load").value_or("");
    if (!given.empty() && beams::rowKeyNumber(w.text2[0], 9)) rowLoad = ui::readNumber(given);
    const std::string report = w.opts.value("report").value_or(ui::reportFilePath());

    std::vector<ui::Message> asked;
    const auto outcome =
        beams::calculateColumn({w.n, w.text1, w.text2, rowLoad}, report, [&](const ui::Message& m) {
            asked.push_back(m);
            return w.goOn;
        });
    printOutcome(io.out, w.n, asked, outcome);
    if (outcome.reportFailure) {
        io.err << "tolvane-cli beam-column: cannot write the report file " << report << "\n";
        return cli::kFailure;
    }
    return cli::kOk;
}

cli::CommandRegistration rowReg(
    "beam-row",
    "beam-row N --text1 t0,...,tN --text2 thickness,length,span [--answer ok|cancel]\n"
    "  开始计算 in the row window for N = 2...9 rows with the boxes' texts as typed.\n"
    "  --text1-sep / --text2-sep choose another separator than \",\". --answer answers\n"
    "  the length question (default cancel: go on). Prints message= lines, then M1...MN\n"
    "  and R1...RN as the result boxes show them.",
    &runBeamRow);

cli::CommandRegistration columnReg(
    "beam-column",
    "beam-column N --text1 t0,...,tN --text2 rowkey,length,span,deadweight [--row-load P]"
    " [--report FILE] [--answer ok|cancel]\n"
    "  开始计算 in the column window for N = 2...9 columns with the boxes' texts as typed.\n"
    "  --row-load P is the calculated load of the row the key \"1\"...\"9\" names (empty\n"
    "  otherwise). Appends the report block (GBK, CR LF) to FILE, by default the skid-beam\n"
    "  report ($TOLVANE_REPORT_FILE or ~/Documents/水冷梁计算.doc). --text1-sep /\n"
    "  --text2-sep choose another separator. Prints message= lines, then M1...MN and\n"
    "  R1...RN as the result boxes show them.",
    &runBeamColumn);

}  // namespace
