#include "batch/sample_blocks.h"

namespace batch {

std::vector<std::string> blockReferenceNames(drawing::AcadDocument& document) {
    std::vector<std::string> names;
    for (const drawing::AcadEntity& entity : document.activeSpaceEntities()) {
        if (!entity.isBlockReference()) continue;
        std::string name = drawing::AcadBlockReference(entity).name();
        if (!name.starts_with('*')) names.push_back(std::move(name));
    }
    return names;
}

SampleAttributes sampleAttributes(drawing::AcadDocument& document, std::string_view block) {
    SampleAttributes found;
    for (const drawing::AcadEntity& entity : document.activeSpaceEntities()) {
        if (!entity.isBlockReference()) continue;
        const drawing::AcadBlockReference reference(entity);
        if (reference.name() != block) continue;
        if (!reference.hasAttributes()) {
            found.withoutAttributes = true;
            break;
        }
        for (const drawing::AcadAttributeReference& attribute : reference.getAttributes()) {
            found.tags.push_back(attribute.tagString());
            found.values.push_back(attribute.textString());
        }
    }
    return found;
}

}  // namespace batch
