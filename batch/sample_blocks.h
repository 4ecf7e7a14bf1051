// What the batch window's set-up panel reads from a sample drawing: the block
// references of its active space, and the attributes of every reference of one block.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "drawing/document.h"

namespace batch {

// The block name of every block reference in the document's active space, in file
// order, one entry per reference (a block inserted three times is named three times).
// Anonymous blocks (names beginning with "*", such as *U12 or *D3), which a drawing
// program makes for its own purposes and which are never title blocks, are left out.
std::vector<std::string> blockReferenceNames(drawing::AcadDocument& document);

struct SampleAttributes {
    // Tag and current value of each attribute of every reference of the block, in
    // file order and block order (a block inserted twice lists each tag twice).
    std::vector<std::string> tags;
    std::vector<std::string> values;
    // A reference of the block has no attributes: the scan stopped there.
    bool withoutAttributes = false;
};

// The attributes of the references of `block` (name compared exactly) in the
// document's active space.
SampleAttributes sampleAttributes(drawing::AcadDocument& document, std::string_view block);

}  // namespace batch
