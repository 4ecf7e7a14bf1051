// The block attribute edit of a batch run: new values written into chosen attributes
// of every reference of one named block.
//
// The edit is given as two parallel lists, tags and new values, as the batch window
// collects them (a block inserted twice in the sample lists each tag twice).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "drawing/document.h"

namespace batch {

// Receives the status texts of a long operation.
using StatusSink = std::function<void(const std::string&)>;

// The value an attribute with `tag` gets: from the first index whose tag equals `tag`
// exactly and whose new value is not empty, the empty text for "NULL" or "null" and
// the value itself otherwise; nothing (keep the value) when no index qualifies.
std::optional<std::string> newAttributeValue(std::string_view tag,
                                             const std::vector<std::string>& tags,
                                             const std::vector<std::string>& values);

// Edits the attributes of every reference of `block` (name compared exactly) in the
// document's active space. Returns whether a reference of the block was found.
// `status` (may be empty) receives the progress texts.
bool editAttributes(drawing::AcadDocument& document, std::string_view block,
                    const std::vector<std::string>& tags, const std::vector<std::string>& values,
                    const StatusSink& status);

}  // namespace batch
