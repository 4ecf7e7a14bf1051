// A material typed into the 添加数据库 form, checked before it is added to the table.
#pragma once

#include <string>

#include "ui/message.h"

namespace heat {

struct NewMaterial {
    std::string name;            // 名称, not empty
    std::string conductivity;    // 导热系数, a text the conductivity grammar reads
    std::string density;         // 容重, kg/m³, a number
    std::string maxTemperature;  // 最高使用温度, °C, a number
};

// Nothing when `material` can be added; otherwise the message (title "添加数据库") that
// names the field at fault. Surrounding blanks of the name are removed first.
ui::OptionalMessage validateNewMaterial(NewMaterial& material);

}  // namespace heat
