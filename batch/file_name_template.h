// The file-name template of a batch run: up to 20 slots, each an attribute tag or the
// word "const" followed by a constant text, assembled from the first reference of the
// target block into the name a drawing's copy is saved under.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "batch/attribute_edit.h"

namespace batch {

class FileNameTemplate {
public:
    static constexpr size_t kSlots = 20;

    // Fill the first empty slot; false (and nothing changes) when all 20 are full.
    bool addTag(std::string tag) { return add(std::move(tag)); }
    bool addConstant(std::string_view text) { return add("const" + std::string(text)); }
    void clear() { slots_.clear(); }
    const std::vector<std::string>& slots() const { return slots_; }

private:
    bool add(std::string slot);
    std::vector<std::string> slots_;
};

// The name the slots give for a reference with these (tag, value) attributes in block
// order: a slot starting with "const" adds the rest of its text, any other the value of
// the first attribute with that tag (nothing when there is none).
std::string assembleFileName(const std::vector<std::string>& slots,
                             const std::vector<std::pair<std::string, std::string>>& attributes);

// The name built from the first reference of `block` in the document's active space;
// nothing when the drawing has no reference of the block.
std::optional<std::string> buildFileName(drawing::AcadDocument& document, std::string_view block,
                                         const FileNameTemplate& name, const StatusSink& status);

// `name` made safe as the name of a file in the drawing's folder: "..", "/", "\",
// control characters and <>:"|?* each become "_".
std::string safeFileName(std::string_view name);

}  // namespace batch
