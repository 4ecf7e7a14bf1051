// The records that the parts of entities point at, read once for a plot: table entries,
// blocks and objects by handle, layers and linetypes in the order of their tables, and
// whether wipeouts show their frames. Internal to the plot library.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "drawing/drawing.h"

namespace plot {

class ObjectIndex {
public:
    explicit ObjectIndex(const drawing::Drawing& d);

    // The record with `handle` outside the entities; -1 when there is none.
    int32_t recordOf(uint64_t handle) const;
    // The name of the layer or linetype at `index` of its table; kNoName past the end.
    uint32_t layerAt(int64_t index) const;
    uint32_t linetypeAt(int64_t index) const;
    // $WIPEOUTFRAME, or the frame setting of the ACAD_WIPEOUT_VARS object, is 1.
    bool wipeoutFrames() const { return wipeoutFrames_; }

private:
    std::unordered_map<uint64_t, int32_t> records_;
    std::vector<uint32_t> layers_, linetypes_;
    bool wipeoutFrames_ = false;
};

}  // namespace plot
