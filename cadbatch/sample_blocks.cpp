#include "cadbatch/sample_blocks.h"

namespace cadbatch {

std::vector<std::string> blockReferenceNames(AcadDocument& document) {
    std::vector<std::string> names;
    for (const AcadEntity& entity : document.activeSpaceEntities())
        if (entity.isBlockReference()) names.push_back(AcadBlockReference(entity).name());
    return names;
}

SampleAttributes sampleAttributes(AcadDocument& document, std::string_view block) {
    SampleAttributes found;
    for (const AcadEntity& entity : document.activeSpaceEntities()) {
        if (!entity.isBlockReference()) continue;
        const AcadBlockReference reference(entity);
        if (reference.name() != block) continue;
        if (!reference.hasAttributes()) {
            found.withoutAttributes = true;
            break;
        }
        for (const AcadAttributeReference& attribute : reference.getAttributes()) {
            found.tags.push_back(attribute.tagString());
            found.values.push_back(attribute.textString());
        }
    }
    return found;
}

}  // namespace cadbatch
