// The drawing that "add a new drawing" starts from: an empty R12 DXF in GBK with the
// table entries every drawing must have, model and paper space.
#pragma once

#include <string>

namespace drawing {

std::string newDrawingBytes();

}  // namespace drawing
