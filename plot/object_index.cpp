#include "plot/object_index.h"

#include "plot/entity.h"

namespace plot {

using drawing::Kind;
using drawing::Section;

ObjectIndex::ObjectIndex(const drawing::Drawing& d) {
    for (size_t i = 0; i < d.size(); ++i) {
        const drawing::Record& r = d.record(i);
        if (r.deleted || r.section == Section::Entities || r.section == Section::Header) continue;
        if (r.hasHandle) records_.emplace(r.handle, static_cast<int32_t>(i));
        if (r.kind == Kind::Layer) layers_.push_back(r.name);
        if (r.kind == Kind::Linetype) linetypes_.push_back(r.name);
        if (r.type == "WIPEOUTVARIABLES") wipeoutFrames_ = EntityGroups(d, i).integer(70) == 1;
    }
    std::string text;  // the header's setting, where there is one, counts
    if (d.header("$WIPEOUTFRAME", text)) wipeoutFrames_ = toNumber(text) == 1;
}

int32_t ObjectIndex::recordOf(uint64_t handle) const {
    const auto it = records_.find(handle);
    return it == records_.end() ? -1 : it->second;
}

uint32_t ObjectIndex::layerAt(int64_t index) const {
    return index >= 0 && index < static_cast<int64_t>(layers_.size()) ? layers_[index]
                                                                      : drawing::kNoName;
}

uint32_t ObjectIndex::linetypeAt(int64_t index) const {
    return index >= 0 && index < static_cast<int64_t>(linetypes_.size()) ? linetypes_[index]
                                                                         : drawing::kNoName;
}

}  // namespace plot
