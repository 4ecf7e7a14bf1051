#include "ui/message_recorder.h"

namespace ui {

MessageRecorder::MessageRecorder() { setMessageBoxes(this); }

MessageRecorder::~MessageRecorder() { setMessageBoxes(nullptr); }

Answer MessageRecorder::show(QWidget*, const QString& title, const QString& text, Icon icon,
                             Buttons buttons) {
    boxes_.append({title, text, icon, buttons});
    if (!script_.isEmpty()) return script_.takeFirst();
    switch (buttons) {
        case Buttons::Ok:
        case Buttons::OkOpenLog: return Answer::Ok;
        case Buttons::OkCancel: return Answer::Cancel;
        case Buttons::YesNo: return Answer::No;
    }
    return Answer::Ok;
}

}  // namespace ui
