// Small helpers the grade windows share: naming a control, UTF-8 texts of the cores as
// QString, and showing a core's message in a box.
#pragma once

#include <QString>
#include <QWidget>
#include <string_view>

#include "ui/message.h"
#include "ui/message_box.h"

namespace grades {

template <typename W>
W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromUtf8(name));
    return widget;
}

inline QString qs(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

inline void showMessage(QWidget* parent, const ui::Message& m, ui::Icon icon) {
    ui::showMessage(parent, QString::fromStdString(m.title), QString::fromStdString(m.text), icon);
}

}  // namespace grades
