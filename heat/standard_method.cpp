#include "heat/standard_method.h"

#include <cmath>

#include "heat/heat_texts.h"
#include "heat/surface_coefficients.h"

namespace heat {
namespace {

struct Coefficients {
    double hc = 0, hr = 0;
};

Coefficients surfaceCoefficients(const CheckedInput& in, std::span<const AirRow> air,
                                 double surface) {
    if (in.fixedCoefficient) return {*in.fixedCoefficient, 0};
    const AirRow film = *airAt(air, (surface + in.ta) / 2);
    return {convectionCoefficient(in.location, surface, in.ta, in.length, film),
            radiationCoefficient(in.emissivity, surface, in.ta)};
}

// The layers with a thickness, in order, and where each sits in the lining.
struct Present {
    std::vector<ConductingLayer> layers;
    std::vector<int> positions;
};

Present presentLayers(const CheckedInput& in) {
    Present present;
    for (int k = 0; k < kLayerCount; ++k) {
        if (in.layers[k].thickness <= 0) continue;
        present.layers.push_back(in.layers[k]);
        present.positions.push_back(k);
    }
    return present;
}

void record(const Present& present, const LiningSolution& solution, StandardResult& result) {
    result.q = solution.q;
    double face = result.t;
    size_t next = 0;
    for (int k = 0; k < kLayerCount; ++k) {
        if (next < present.positions.size() && present.positions[next] == k) {
            face = solution.coldFaces[next++];
            result.present[k] = true;
        }
        result.coldFaces[k] = face;
    }
}

}  // namespace

double StandardResult::qKcal() const { return q / kWattsPerKcalHour; }

double StandardResult::radiationShare() const { return hc + hr > 0 ? hr / (hc + hr) : 0; }

double StandardResult::hotFace(int layer) const { return layer == 0 ? t : coldFaces[layer - 1]; }

StandardOutcome runStandardMethod(const StandardInput& input, std::span<const AirRow> air) {
    StandardOutcome out;
    const std::optional<CheckedInput> in = checkStandardInput(input, out.messages);
    if (!in) return out;
    if (!in->fixedCoefficient && air.empty()) {
        out.messages.push_back({"出错信息提示：", "空气物性表中没有数据，标准计算未进行"});
        return out;
    }

    const Present present = presentLayers(*in);
    StandardResult result;
    result.t = in->t;
    result.ta = in->ta;
    double surface = in->ta + (in->t - in->ta) / 10;
    for (int iteration = 1; iteration <= kMaxStandardIterations; ++iteration) {
        const Coefficients h = surfaceCoefficients(*in, air, surface);
        const LiningSolution solution = solveLining(present.layers, in->t, in->ta, h.hc + h.hr);
        record(present, solution, result);
        result.hc = h.hc;
        result.hr = h.hr;
        result.iterations = iteration;
        const double step = std::abs(solution.surface - surface);
        surface = solution.surface;
        if (step < kStandardTolerance) {
            out.result = result;
            return out;
        }
    }
    out.result = result;
    out.messages.push_back(notConvergedMessage());
    return out;
}

}  // namespace heat
