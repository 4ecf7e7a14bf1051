// tolvane-cli heat: the lining heat-loss calculation of the heat-transfer window, on a
// freshly opened window: the chart, convection or standard method.
#include <array>
#include <ostream>

#include "cli/command.h"
#include "cli/options.h"
#include "db/table_cursor.h"
#include "heat/convection_method.h"
#include "heat/heat_texts.h"
#include "heat/material_table.h"
#include "heat/standard_texts.h"

namespace {

int usageError(cli::CommandIo& io, const std::string& what) {
    io.err << "tolvane-cli heat: " << what << "\n";
    return cli::kUsage;
}

// The texts before and after the last "|" of a --layer or --layer-material value.
bool splitLayer(const std::string& value, std::string& first, std::string& thickness) {
    const size_t bar = value.rfind('|');
    if (bar == std::string::npos) return false;
    first = value.substr(0, bar);
    thickness = value.substr(bar + 1);
    return true;
}

std::string resultLines(const std::array<std::string, heat::kLayerCount - 1>& interfaces,
                        const std::string& tOut, const std::string& q) {
    static const char* const kInterfaceKeys[] = {"t12", "t23", "t34", "t45", "t56"};
    std::string lines;
    for (int k = 0; k < heat::kLayerCount - 1; ++k)
        lines += std::string(kInterfaceKeys[k]) + "=" + interfaces[k] + "\n";
    return lines + "tout=" + tOut + "\n" + "q=" + q + "\n";
}

std::string messageLines(const std::vector<ui::Message>& messages) {
    std::string lines;
    for (const ui::Message& m : messages) lines += cli::messageLine(m);
    return lines;
}

// A refused input prints its messages and every key empty.
std::string standardLines(const heat::StandardInput& input, const db::TableCursor& air) {
    const std::vector<heat::AirRow> rows = heat::readAirRows(air);
    const heat::StandardOutcome out = heat::runStandardMethod(input, rows);
    const heat::ShownStandard shown =
        out.result ? heat::shownStandardResults(*out.result) : heat::ShownStandard{};
    return messageLines(out.messages) + resultLines(shown.interfaces, shown.tOut, shown.q) +
           "q_w=" + shown.qW + "\n" + "hc=" + shown.hc + "\n" + "hr=" + shown.hr + "\n" +
           "iterations=" + shown.iterations + "\n";
}

// The chart method, or with `air` the convection method; a refused input likewise.
std::string chartLines(const heat::HeatInput& input, db::TableCursor* air) {
    heat::ChartOutcome out;
    if (air) {
        heat::CursorAirTable airTable(*air);
        out = heat::runConvectionMethod(input, {}, airTable);
    } else {
        out = heat::runChartMethod(input, {});
    }
    const heat::ShownResults shown =
        out.result ? heat::shownResults(*out.result) : heat::ShownResults{};
    std::string lines =
        messageLines(out.messages) + resultLines(shown.interfaces, shown.tOut, shown.q);
    if (air)
        lines += "qc=" + shown.qc + "\n" + "air_lambda=" + air->field("热导率") + "\n" +
                 "air_nu=" + air->field("运动粘度") + "\n" + "air_pr=" + air->field("普朗特准数") +
                 "\n" + "iterations=" + shown.iterations + "\n";
    return lines;
}

struct Database {
    db::Database file;
    db::TableCursor materials, air;
};

// Opens insulation.db and the two cursors, each on its table's first row.
bool openDatabase(Database& base, cli::CommandIo& io) {
    ui::OptionalMessage problem = heat::openInsulationDb(base.file);
    if (!problem) problem = base.materials.open(base.file, "heat", {"名称", "导热系数"});
    if (!problem) problem = heat::openAirTable(base.air, base.file);
    if (problem) io.err << "tolvane-cli heat: " << problem->text << "\n";
    return !problem;
}

// False, with the line on stderr, when a read of insulation.db failed on the way: a
// damaged table's empty fields are no material and no air.
bool readWithoutFailure(const Database& base, cli::CommandIo& io) {
    for (const db::TableCursor* cursor : {&base.materials, &base.air})
        if (const ui::OptionalMessage& failure = cursor->readFailure()) {
            io.err << "tolvane-cli heat: " << failure->text << "\n";
            return false;
        }
    return true;
}

int runHeat(const std::vector<std::string>& args, cli::CommandIo& io) {
    cli::Options opts;
    std::string error;
    if (!opts.parse(args,
                    {"location", "t-inner", "ambient", "layer", "layer-material", "method",
                     "emissivity", "height", "length"},
                    {}, error))
        return usageError(io, error);
    if (!opts.positional().empty())
        return usageError(io, "unexpected argument " + opts.positional()[0]);

    heat::HeatInput input;
    const std::string location = opts.value("location").value_or("-1");
    if (location != "-1" && location != "0" && location != "1" && location != "2")
        return usageError(io, "--location must be 0, 1, 2 or -1");
    input.location = static_cast<heat::SurfaceLocation>(std::stoi(location));
    input.innerTemperature = opts.value("t-inner").value_or("");
    input.ambient = opts.value("ambient").value_or("20");
    const std::string method = opts.value("method").value_or("chart");
    if (method != "chart" && method != "convection" && method != "standard")
        return usageError(io, "--method must be chart, convection or standard");
    if (method != "standard" &&
        (opts.has("emissivity") || opts.has("height") || opts.has("length")))
        return usageError(io, "--emissivity, --height and --length go with --method standard");

    std::vector<std::pair<std::string, std::string>> layers;  // (option, value) in order
    for (const auto& [name, value] : opts.ordered())
        if (name == "layer" || name == "layer-material") layers.emplace_back(name, value);
    if (layers.size() > heat::kLayerCount) return usageError(io, "at most six layers");
    for (int k = 0; k < heat::kLayerCount; ++k) input.layers[k] = {"", "0"};

    Database base;
    const bool needsDatabase = method != "chart" || opts.has("layer-material");
    if (needsDatabase && !openDatabase(base, io)) return cli::kFailure;
    for (size_t k = 0; k < layers.size(); ++k) {
        std::string first, thickness;
        if (!splitLayer(layers[k].second, first, thickness))
            return usageError(io, "--" + layers[k].first + " needs TEXT|THICKNESS");
        if (layers[k].first == "layer-material") {
            heat::chooseMaterial(base.materials, first);
            first = base.materials.field("导热系数");
        }
        input.layers[k] = {first, thickness};
    }

    std::string lines;
    if (method == "standard") {
        heat::StandardInput standard;
        standard.lining = input;
        standard.emissivity = opts.value("emissivity").value_or(standard.emissivity);
        standard.height = opts.value("height").value_or(standard.height);
        standard.length = opts.value("length").value_or(standard.length);
        lines = standardLines(standard, base.air);
    } else {
        lines = chartLines(input, method == "convection" ? &base.air : nullptr);
    }
    if (!readWithoutFailure(base, io)) return cli::kFailure;
    io.out << lines;
    return cli::kOk;
}

cli::CommandRegistration reg(
    "heat",
    "heat [--location 0|1|2|-1] [--t-inner TEXT] [--ambient TEXT]\n"
    "     [--layer \"CONDUCTIVITY|THICKNESS\" | --layer-material \"NAME|THICKNESS\"]...\n"
    "     [--method chart|convection|standard] [--emissivity E] [--height H] [--length L]\n"
    "  The heat loss of a furnace lining of up to six layers, innermost first, as the\n"
    "  heat-transfer window computes it. Location: 0 wall, 1 roof, 2 bottom, -1 none\n"
    "  (default). T inner surface temperature and ambient (default 20) in degrees C;\n"
    "  conductivity texts A+B*t, <X, LO-HI or X in kcal/(m.h.C); thickness in mm.\n"
    "  --layer-material takes the conductivity of the material NAME from insulation.db\n"
    "  (a name not in the table: the last one sorting before it). Missing layers have an\n"
    "  empty conductivity and thickness 0. Method chart (default), convection or\n"
    "  standard: layers with lambda at their mean temperature, free convection and\n"
    "  radiation at the outer surface; emissivity E (0.8), wall height H in m (3),\n"
    "  roof or bottom characteristic length L in m (2).\n"
    "  Prints any message= lines, then t12= t23= t34= t45= t56= tout= q= (kcal/(m2.h)),\n"
    "  for convection also qc= air_lambda= air_nu= air_pr= iterations=, for standard\n"
    "  also q_w= (W/m2) hc= hr= (W/(m2.K)) iterations=. Input that cannot be a lining\n"
    "  (T or the ambient outside -273.15 to 5000 C, a negative thickness) is refused:\n"
    "  its message= lines and every key empty, as for any other refused input.",
    &runHeat);

}  // namespace
