#include "materiallist/weight.h"

#include <array>
#include <cfloat>
#include <cmath>
#include <optional>
#include <string_view>

#include "catalogue/catalogue.h"
#include "ui/number_text.h"

namespace materiallist {
namespace {

using catalogue::FastenerKind;
using catalogue::SteelType;

constexpr double kPi = 3.1415926;
constexpr std::string_view kWeightTitle = "提示信息";
constexpr std::string_view kNoNut = "你选择的不是标准螺母吧！";
constexpr std::string_view kNoWasher = "你选择的既不是标准垫片也不是参数齐全的非标垫片！";
constexpr std::string_view kNoCotterPin = "你选择的不是标准开口销GB91吧！";

ui::Message message(std::string_view text) {
    return {std::string(kWeightTitle), std::string(text)};
}

WeightResult refused(const WeightState& state, std::string text) {
    WeightResult r;
    r.state = state;
    r.message = ui::Message{std::string(kWeightTitle), std::move(text)};
    return r;
}

WeightResult fieldOutOfRange(const WeightState& state, std::string_view field) {
    return refused(state, std::string(field) + "的数值超出范围，请检查输入！");
}

WeightResult resultOutOfRange(const WeightState& state, std::string_view field) {
    return refused(state, std::string(field) + "的计算结果超出范围，请检查输入！");
}

enum class WasherForm { Standard, NonStandard, Incomplete };

// Emptiness is by length: a field holding a blank is not empty.
WasherForm washerForm(const WeightInputs& in) {
    if (in.text2.empty() && !in.text1.empty()) return WasherForm::Standard;
    if (!in.text2.empty() && !in.text3.empty()) return WasherForm::NonStandard;
    return WasherForm::Incomplete;
}

// What each dimension row means to the calculation of a type; empty = not read.
std::array<std::string_view, 3> fieldNames(SteelType type, WasherForm washer) {
    switch (type) {
        case SteelType::Plate:
            return {"长度", "宽度", "厚度"};
        case SteelType::Pipe:
            return {"长度", "外径", "厚度"};
        case SteelType::RoundBar:
            return {"长度", "外径", ""};
        case SteelType::SquareBar:
            return {"长度", "边长", ""};
        case SteelType::Flange:
            return {"厚度", "外径", "内径"};
        case SteelType::Bolt:
            return {"直径", "长度", ""};
        case SteelType::Nut:
            return {"规格", "", ""};
        case SteelType::Washer:
            if (washer == WasherForm::Standard) return {"规格", "", ""};
            if (washer == WasherForm::NonStandard) return {"外径", "内径", "厚度"};
            return {"", "", ""};
        case SteelType::CotterPin:
            return {"规格", "长度", ""};
        default:
            return {"长度", "", ""};  // the rolled sections
    }
}

double fix(double x) { return std::trunc(x); }

bool fitsSingle(double x) { return std::fabs(x) <= FLT_MAX; }

// The fastener tail's rounding to three decimals, halves to even.
double roundToGrams(double u) { return std::nearbyint(u * 1000) / 1000; }

}  // namespace

WeightResult calculateWeight(const WeightInputs& in, const WeightState& state) {
    if (in.steelType < 0 || in.steelType >= catalogue::kSteelTypeCount) {
        WeightResult unchanged;
        unchanged.state = state;
        return unchanged;
    }
    const auto type = static_cast<SteelType>(in.steelType);
    const bool fastener = in.steelType >= static_cast<int>(SteelType::Bolt);
    const WasherForm washer = washerForm(in);
    const auto names = fieldNames(type, washer);

    // The fields are read in window order; a refusal names the first bad one. L, W and
    // T are single precision; the fastener formulas read the same texts in double.
    const std::array<const std::string*, 3> texts = {&in.text1, &in.text2, &in.text3};
    std::array<double, 3> dim = {0, 0, 0};
    for (std::size_t i = 0; i < dim.size(); ++i) {
        if (names[i].empty()) continue;
        const double v = ui::readNumber(*texts[i]);
        if (!fitsSingle(v)) return fieldOutOfRange(state, names[i]);
        dim[i] = fastener ? v : static_cast<double>(static_cast<float>(v));
    }
    const double n = std::nearbyint(ui::readNumber(in.quantity));
    if (!(n >= -32768 && n <= 32767))
        return refused(state, "数量超出范围（-32768～32767），请检查输入！");
    double dh = 0;
    double z = 0;
    if (type == SteelType::Flange) {
        dh = ui::readNumber(in.holeDiameter);
        if (!std::isfinite(dh)) return fieldOutOfRange(state, "螺丝孔直径");
        z = ui::readNumber(in.holeCount);
        if (!std::isfinite(z)) return fieldOutOfRange(state, "螺丝孔数量");
    }

    const double L = dim[0];
    const double W = dim[1];
    const double T = dim[2];
    const double rho = catalogue::density(in.materialIndex).value_or(0.0);
    WeightState next = state;
    ui::OptionalMessage note;
    double u = 0;

    switch (type) {
        case SteelType::Plate: {
            const double v = W * L * T;
            if (!fitsSingle(v)) return resultOutOfRange(state, "单重");
            u = fix(static_cast<float>(v) * rho * 1e-6 * 100) / 100;
            break;
        }
        case SteelType::Pipe:
            // Mean wall diameter: pi * (D - t) * t is the wall's cross-section.
            u = fix(L * kPi * (W - T) * T * rho * 1e-6 * 100) / 100;
            break;
        case SteelType::Channel:
        case SteelType::IBeam:
        case SteelType::HBeam:
        case SteelType::EqualAngle:
        case SteelType::UnequalAngle: {
            const auto rows = catalogue::sections(*catalogue::familyOfType(in.steelType));
            if (in.listIndex >= 0 && in.listIndex < static_cast<int>(rows.size()))
                next.massPerMetre = rows[static_cast<std::size_t>(in.listIndex)].massPerMetre;
            const double m = next.massPerMetre;
            if (type == SteelType::Channel || type == SteelType::IBeam)
                u = fix(m * L * 0.001 * 100) / 100;
            else
                u = fix(m * L * 0.1) / 100;
            break;
        }
        case SteelType::RoundBar:
        case SteelType::SquareBar: {
            const double v = W * (W * L);
            if (!fitsSingle(v)) return resultOutOfRange(state, "单重");
            const double vs = static_cast<float>(v);
            u = type == SteelType::RoundBar ? fix(vs * kPi * 0.25 * rho * 1e-6 * 100) / 100
                                            : fix(vs * rho * 1e-6 * 100) / 100;
            break;
        }
        case SteelType::Flange:
            u = fix(((W * W - T * T) - dh * dh * z) * kPi * rho * L * 1e-6 * 100) / 400;
            break;
        case SteelType::Bolt: {
            const double d = dim[0];
            const double l = dim[1];
            const auto k = catalogue::fastenerValue(FastenerKind::Bolt, d);
            u = k ? *k / 100 * l : d * 1.57 * d * l * 7.85 / 1000 / 1000;
            break;
        }
        case SteelType::Nut:
            if (const auto g = catalogue::fastenerValue(FastenerKind::Nut, dim[0])) {
                u = *g / 1000;
            } else {
                u = state.unit;
                note = message(kNoNut);
            }
            break;
        case SteelType::Washer:
            u = state.unit;
            if (washer == WasherForm::Standard) {
                if (const auto g = catalogue::fastenerValue(FastenerKind::Washer, dim[0]))
                    u = *g / 1000;
            } else if (washer == WasherForm::NonStandard) {
                const double D = dim[0];
                const double d = dim[1];
                const double t = dim[2];
                if (!(d < D)) return refused(state, "非标垫片的内径不小于外径，请检查输入！");
                if (d < 0) return refused(state, "非标垫片的内径为负数，请检查输入！");
                if (!(t > 0)) return refused(state, "非标垫片的厚度不大于0，请检查输入！");
                u = (D * D - d * d) * 0.785 * t * 7.85 / 1000 / 1000;
            } else {
                note = message(kNoWasher);
            }
            break;
        case SteelType::CotterPin:
            if (const auto k = catalogue::fastenerValue(FastenerKind::CotterPin, dim[0])) {
                u = *k / 100 * dim[1];
            } else {
                u = state.unit;
                note = message(kNoCotterPin);
            }
            break;
    }

    if (fastener) u = roundToGrams(u);
    const double g = n * u;
    if (!std::isfinite(u)) return resultOutOfRange(state, "单重");
    if (!std::isfinite(g)) return resultOutOfRange(state, "总重");

    next.unit = u;
    next.total = g;
    WeightResult r;
    r.written = true;
    r.unitText = ui::shortestText(u);
    r.totalText = ui::shortestText(g);
    r.state = next;
    r.message = std::move(note);
    return r;
}

}  // namespace materiallist
