// Small helpers the grade windows share: naming a control, UTF-8 texts of the cores as
// QString, showing a core's message in a box, and the grade boxes' completion.
#pragma once

#include <QComboBox>
#include <QCompleter>
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

// The designations holding what is typed are offered in a list under the grade box,
// and the text stays as typed until one of them is picked: a search or a query looks
// for what the user typed, never for a completion the box made up.
inline void offerCompletions(QComboBox* box) {
    box->completer()->setCompletionMode(QCompleter::PopupCompletion);
    box->completer()->setFilterMode(Qt::MatchContains);
}

}  // namespace grades
