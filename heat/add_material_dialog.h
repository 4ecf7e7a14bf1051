// The 添加数据库 form: a new insulation material (名称, 导热系数, 容重, 最高使用温度)
// handed to the window's writer for the table "heat" of insulation.db. An invalid entry,
// or one the writer refuses (a name already in the table), gets a message and the
// form keeps it. Enter presses 添加, Esc closes the form.
#pragma once

#include <QWidget>
#include <functional>

#include "heat/new_material.h"

class QLineEdit;

namespace heat {

class AddMaterialDialog : public QWidget {
    Q_OBJECT
public:
    // `write` adds a valid material and returns the refusal, if any.
    using Writer = std::function<ui::OptionalMessage(const NewMaterial&)>;
    AddMaterialDialog(QWidget* parent, Writer write);

private:
    void add();

    Writer write_;
    QLineEdit *name_, *conductivity_, *density_, *maxTemperature_;
};

}  // namespace heat
