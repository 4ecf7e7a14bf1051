// The entities each layout of a drawing shows: model space ("Model") first, then the
// paper space layouts in the order of their tabs. Only entities of their own count:
// attributes, vertices and end markers belong to their entity.
#pragma once

#include <string>
#include <vector>

#include "drawing/drawing.h"

namespace drawing {

struct LayoutEntities {
    std::string name;             // the layout's name, UTF-8
    std::vector<size_t> records;  // indexes of the drawing's records, in file order
};

std::vector<LayoutEntities> entitiesByLayout(const Drawing& drawing);

}  // namespace drawing
