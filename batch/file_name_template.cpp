#include "batch/file_name_template.h"

namespace batch {

bool FileNameTemplate::add(std::string slot) {
    if (slots_.size() >= kSlots) return false;
    slots_.push_back(std::move(slot));
    return true;
}

std::string assembleFileName(const std::vector<std::string>& slots,
                             const std::vector<std::pair<std::string, std::string>>& attributes) {
    std::string name;
    for (const std::string& slot : slots) {
        if (slot.empty()) continue;
        if (slot.compare(0, 5, "const") == 0) {
            name += slot.substr(5);
            continue;
        }
        for (const auto& [tag, value] : attributes) {
            if (tag == slot) {
                name += value;
                break;
            }
        }
    }
    return name;
}

std::optional<std::string> buildFileName(drawing::AcadDocument& document, std::string_view block,
                                         const FileNameTemplate& name, const StatusSink& status) {
    const std::string target(block);
    for (const drawing::AcadEntity& entity : document.activeSpaceEntities()) {
        if (status)
            status("正在进行文件名提取： 查找目标块块 " + target + " 当前 " + entity.objectName());
        if (!entity.isBlockReference()) continue;
        const drawing::AcadBlockReference reference(entity);
        if (reference.name() != target) continue;
        if (status) status("正在进行文件名提取： 已找到  " + target + " 当前正属性提取中。。。");
        std::vector<std::pair<std::string, std::string>> attributes;
        for (const drawing::AcadAttributeReference& a : reference.getAttributes())
            attributes.emplace_back(a.tagString(), a.textString());
        return assembleFileName(name.slots(), attributes);
    }
    return std::nullopt;
}

std::string safeFileName(std::string_view name) {
    std::string out;
    for (size_t i = 0; i < name.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (name.compare(i, 2, "..") == 0) {
            out += '_';
            ++i;
        } else if (c < 0x20 || c == 0x7f ||
                   std::string_view("/\\<>:\"|?*").find(static_cast<char>(c)) !=
                       std::string_view::npos) {
            out += '_';
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

}  // namespace batch
