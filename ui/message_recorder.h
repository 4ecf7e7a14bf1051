// A MessageBoxes for tests: installs itself for its lifetime, records every box and
// answers from a script. With the script empty it answers the last button of the box
// (OK, Cancel, No), the one that changes nothing.
#pragma once

#include <QList>
#include <QString>

#include "ui/message_box.h"

namespace ui {

class MessageRecorder : public MessageBoxes {
public:
    struct Box {
        QString title;
        QString text;
        Icon icon;
        Buttons buttons;
    };

    MessageRecorder();
    ~MessageRecorder() override;
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    Answer show(QWidget* parent, const QString& title, const QString& text, Icon icon,
                Buttons buttons) override;

    void queueAnswer(Answer answer) { script_.append(answer); }
    const QList<Box>& boxes() const { return boxes_; }
    void clear() { boxes_.clear(); }

private:
    QList<Box> boxes_;
    QList<Answer> script_;
};

}  // namespace ui
