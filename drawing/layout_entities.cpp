#include "drawing/layout_entities.h"

#include <algorithm>
#include <map>

namespace drawing {
namespace {

struct Layout {
    std::string name;
    int order = 0;
    std::vector<size_t> records;
};

}  // namespace

std::vector<LayoutEntities> entitiesByLayout(const Drawing& d) {
    // Each layout by the handle of its block record (the 330 of its AcDbLayout part).
    std::map<uint64_t, Layout> byBlockRecord;
    uint64_t modelRecord = 0, paperRecord = 0;
    for (size_t i = 0; i < d.size(); ++i) {
        const Record& r = d.record(i);
        if (r.deleted) continue;
        if (r.kind == Kind::BlockRecord) {
            std::string name;
            d.value(i, 2, name);
            const std::string folded = foldName(name, d.codec());
            if (folded == "*MODEL_SPACE") modelRecord = r.handle;
            if (folded == "*PAPER_SPACE") paperRecord = r.handle;
        }
        if (r.kind != Kind::Layout) continue;
        Layout layout;
        uint64_t block = 0;
        bool inLayoutPart = false;
        for (const Group& g : d.groups(i)) {
            if (g.code == 100) inLayoutPart = valueText(g, d.format()) == "AcDbLayout";
            if (!inLayoutPart) continue;
            if (g.code == 1) layout.name = d.codec().toUtf8(valueText(g, d.format()));
            if (g.code == 71) layout.order = static_cast<int>(valueInt(g, d.format()));
            if (g.code == 330) block = valueHandle(g);
        }
        if (block) byBlockRecord[block] = std::move(layout);
    }
    Layout model{"Model", -1, {}};
    Layout paper{"Layout1", 0, {}};
    const auto layoutOf = [&](uint64_t blockRecord, bool isPaper) -> Layout& {
        if (blockRecord == modelRecord && !isPaper) return model;
        const auto it = byBlockRecord.find(blockRecord);
        if (it != byBlockRecord.end()) return it->second;
        return isPaper ? paper : model;
    };
    for (size_t i = 0; i < d.size(); ++i) {
        const Record& r = d.record(i);
        if (r.deleted || !isOwnEntity(r)) continue;
        if (r.section == Section::Entities) {
            layoutOf(r.paperSpace ? paperRecord : modelRecord, r.paperSpace).records.push_back(i);
        } else if (r.section == Section::Blocks && r.block >= 0) {
            // The entities of the other paper space layouts sit in their blocks.
            std::string name;
            d.value(static_cast<size_t>(r.block), 2, name);
            const std::string folded = foldName(name, d.codec());
            if (folded.rfind("*PAPER_SPACE", 0) != 0 || folded == "*PAPER_SPACE") continue;
            const Record& block = d.record(static_cast<size_t>(r.block));
            const auto it = byBlockRecord.find(block.owner);
            if (it != byBlockRecord.end()) it->second.records.push_back(i);
        }
    }
    // Model space's own layout object carries the name "Model" too.
    if (const auto it = byBlockRecord.find(modelRecord); it != byBlockRecord.end()) {
        model.name = it->second.name;
        byBlockRecord.erase(it);
    }
    std::vector<Layout> papers;
    for (auto& [handle, layout] : byBlockRecord) papers.push_back(std::move(layout));
    if (!paper.records.empty()) papers.push_back(std::move(paper));
    std::stable_sort(papers.begin(), papers.end(),
                     [](const Layout& a, const Layout& b) { return a.order < b.order; });
    std::vector<LayoutEntities> out;
    out.push_back({model.name, std::move(model.records)});
    for (Layout& l : papers) out.push_back({std::move(l.name), std::move(l.records)});
    return out;
}

}  // namespace drawing
