// tolvane-cli weight: the material-list calculation on a freshly opened main window.
#include <optional>
#include <ostream>
#include <set>
#include <span>
#include <string>
#include <string_view>

#include "catalogue/catalogue.h"
#include "cli/command.h"
#include "cli/options.h"
#include "materiallist/window_entries.h"

namespace {

using materiallist::WindowEntries;

// `text` as a list position: all digits and within the list, or an entry's exact text.
std::optional<int> pickEntry(std::span<const std::string_view> entries, const std::string& text) {
    const bool digits = !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
    if (digits) {
        if (text.size() > 9) return std::nullopt;
        const int index = std::stoi(text);
        return index < static_cast<int>(entries.size()) ? std::optional<int>(index) : std::nullopt;
    }
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i] == text) return static_cast<int>(i);
    return std::nullopt;
}

int usage(cli::CommandIo& io, const std::string& text) {
    io.err << "tolvane-cli weight: " << text << "\n";
    return cli::kUsage;
}

int runWeight(const std::vector<std::string>& args, cli::CommandIo& io) {
    cli::Options opt;
    std::string error;
    if (!opt.parse(
            args,
            {"type", "item", "material", "text1", "text2", "text3", "qty", "hole-d", "hole-n"}, {},
            error))
        return usage(io, error);
    if (!opt.positional().empty())
        return usage(io, "unexpected argument '" + opt.positional().front() + "'");

    WindowEntries e;
    if (const auto type = opt.value("type")) {
        const auto index = pickEntry(catalogue::steelTypeTexts(), *type);
        if (!index) return usage(io, "--type: no steel type '" + *type + "' (0-13 or its name)");
        materiallist::selectSteelType(e, *index);
    }
    if (const auto item = opt.value("item")) {
        if (e.visibleList < 0)
            return usage(io, "--item: the chosen steel type has no list of its own");
        const auto index = pickEntry(materiallist::listTexts(e.visibleList), *item);
        if (!index)
            return usage(io, "--item: no entry '" + *item + "' in the list " +
                                 std::string(materiallist::listObjectName(e.visibleList)));
        e.listSelection[static_cast<std::size_t>(e.visibleList)] = *index;
    }
    if (const auto material = opt.value("material")) {
        const auto index = *material == "none"
                               ? std::optional<int>(-1)
                               : pickEntry(catalogue::materialGradeTexts(), *material);
        if (!index)
            return usage(io, "--material: no material '" + *material + "' (0-3, its name or none)");
        e.materialIndex = *index;
    }
    const char* rowOptions[] = {"text1", "text2", "text3"};
    for (std::size_t r = 0; r < e.rows.size(); ++r)
        if (const auto text = opt.value(rowOptions[r])) e.rows[r].text = *text;
    e.quantity = opt.value("qty").value_or(e.quantity);
    e.holeDiameter = opt.value("hole-d").value_or(e.holeDiameter);
    e.holeCount = opt.value("hole-n").value_or(e.holeCount);

    const ui::OptionalMessage message = materiallist::calculate(e);
    std::string out = "unit=" + e.unitText + "\ntotal=" + e.totalText + "\n";
    if (message) out += cli::messageLine(*message);
    io.out << out;
    return cli::kOk;
}

const cli::CommandRegistration reg(
    "weight",
    "weight [--type I|NAME] [--item I|TEXT] [--material I|TEXT|none] [--text1 S] [--text2 S]\n"
    "       [--text3 S] [--qty S] [--hole-d S] [--hole-n S]\n"
    "  The weight calculation (计算) on a freshly opened main window. --type selects the\n"
    "  steel type (0-13 or its text; absent: nothing selected), --item the entry of that\n"
    "  type's own list (index or exact text), --material the section material (default\n"
    "  1 \"Q235-A\"; none: nothing selected). The texts are the fields as typed.\n"
    "  Prints unit=<unit weight field>, total=<total weight field>, then any message= line.",
    &runWeight);

}  // namespace
