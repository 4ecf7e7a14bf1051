#include "beams/beam_calculation.h"

#include <cmath>

#include "beams/beam_report.h"
#include "beams/beam_texts.h"
#include "ui/number_text.h"

namespace beams {
namespace {

const char* kTitle = "提示";

bool allFinite(const std::vector<double>& values) {
    for (double v : values)
        if (!std::isfinite(v)) return false;
    return true;
}

std::vector<double> readAll(const std::vector<std::string>& texts) {
    std::vector<double> values;
    for (const std::string& t : texts) values.push_back(ui::readNumber(t));
    return values;
}

ShownResults showResults(const BeamResult& r, const std::string& pattern) {
    ShownResults shown;
    for (double m : r.M) shown.moments.push_back(ui::patternText(m, pattern));
    for (double f : r.R) shown.forces.push_back(ui::patternText(f, pattern));
    return shown;
}

// The steps shared by both families once q is known.
CalculationOutcome solveForWindow(BeamFamily family, const BeamLayout& layout,
                                  const GoOnAfterMismatch& goOn) {
    if (!LengthsAddUp(layout) && !goOn({kTitle, lengthMessage(family, layout.n)})) return {};
    SolveOutcome solved = solveOrRefuse(layout, inputLabels(family)[1]);
    if (solved.refusal) return {solved.refusal, std::nullopt, std::nullopt};
    return {std::nullopt, showResults(solved.result, resultPattern(family, layout.n)),
            std::nullopt, momentDiagram(layout, solved.result)};
}

}  // namespace

SolveOutcome solveOrRefuse(const BeamLayout& layout, const std::string& lengthLabel) {
    if (const int k = firstZeroSpan(layout))
        return {ui::Message{kTitle, distanceLabel(layout.n, k) + "为0,无法计算!"}, {}};
    if (endSupportsCoincide(layout))
        return {ui::Message{kTitle, lengthLabel + "减去两端外悬距离为0,无法计算!"}, {}};
    const ui::Message tooLarge{kTitle, "输入的数值太大,无法计算!"};
    if (!allFinite(layout.L) || !std::isfinite(layout.Ltot) || !std::isfinite(layout.q))
        return {tooLarge, {}};
    BeamResult result = SolveBeam(layout);
    if (!allFinite(result.M) || !allFinite(result.R)) return {tooLarge, {}};
    return {std::nullopt, std::move(result)};
}

ui::Message zeroLoadSpanRefusal() {
    return {kTitle, inputLabels(BeamFamily::Column)[2] + "为0,无法计算!"};
}

CalculationOutcome calculateRow(const RowInput& input, const GoOnAfterMismatch& goOn) {
    const std::vector<double> slab = readAll(input.slab);
    const BeamLayout layout{input.n, readAll(input.distances), slab[1], slabLoad(slab[0], slab[2])};
    return solveForWindow(BeamFamily::Row, layout, goOn);
}

CalculationOutcome calculateColumn(const ColumnInput& input, const std::string& reportPath,
                                   const GoOnAfterMismatch& goOn) {
    const std::vector<double> beam = readAll(input.beam);
    const double span = beam[2];
    if (span == 0) return {zeroLoadSpanRefusal(), std::nullopt, std::nullopt};
    const BeamLayout layout{input.n, readAll(input.distances), beam[1],
                            columnLoad(beam[3], input.rowLoad, span)};
    CalculationOutcome outcome = solveForWindow(BeamFamily::Column, layout, goOn);
    if (outcome.results)
        outcome.reportFailure = appendReport(reportPath, reportBlock(input, *outcome.results));
    return outcome;
}

std::optional<int> rowKeyNumber(const std::string& key, int rows) {
    if (key.size() == 1 && key[0] >= '1' && key[0] - '0' <= rows) return key[0] - '0';
    return std::nullopt;
}

}  // namespace beams
