#include "batch/attribute_edit.h"

namespace batch {

std::optional<std::string> newAttributeValue(std::string_view tag,
                                             const std::vector<std::string>& tags,
                                             const std::vector<std::string>& values) {
    for (size_t j = 0; j < tags.size() && j < values.size(); ++j) {
        if (tags[j] != tag || values[j].empty()) continue;
        if (values[j] == "NULL" || values[j] == "null") return std::string();
        return values[j];
    }
    return std::nullopt;
}

bool editAttributes(drawing::AcadDocument& document, std::string_view block,
                    const std::vector<std::string>& tags, const std::vector<std::string>& values,
                    const StatusSink& status) {
    bool found = false;
    const std::string target(block);
    for (const drawing::AcadEntity& entity : document.activeSpaceEntities()) {
        if (status)
            status("正在进行属性修改： 查找目标块块 " + target + " 当前 " + entity.objectName());
        if (!entity.isBlockReference()) continue;
        const drawing::AcadBlockReference reference(entity);
        if (reference.name() != target) continue;
        if (status) status("正在进行属性修改： 已找到  " + target + " 当前正属性修改中。。。");
        found = true;
        for (drawing::AcadAttributeReference& attribute : reference.getAttributes()) {
            if (auto value = newAttributeValue(attribute.tagString(), tags, values))
                attribute.setTextString(*value);
        }
    }
    return found;
}

}  // namespace batch
