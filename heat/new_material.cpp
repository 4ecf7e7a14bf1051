#include "heat/new_material.h"

#include "heat/conductivity_text.h"

namespace heat {
namespace {

ui::Message refusal(const std::string& text) { return {"添加数据库", text}; }

std::string trimmed(const std::string& s) {
    const size_t first = s.find_first_not_of(" \t\n");
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t\n") - first + 1);
}

}  // namespace

ui::OptionalMessage validateNewMaterial(NewMaterial& material) {
    material.name = trimmed(material.name);
    if (material.name.empty()) return refusal("请输入材料名称");
    const auto stored = parseConductivityText(material.conductivity);
    if (!stored || !stored->at(0))
        return refusal("导热系数“" + material.conductivity +
                       "”无法识别：应为 A+B*t、<数值、数值-数值 或 数值");
    if (!wholeNumber(material.density)) return refusal("容重应为数值");
    if (!wholeNumber(material.maxTemperature)) return refusal("最高使用温度应为数值");
    return std::nullopt;
}

}  // namespace heat
