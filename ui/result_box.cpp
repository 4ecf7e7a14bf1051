#include "ui/result_box.h"

#include <QLineEdit>

namespace ui {

void makeResultBox(QLineEdit* box) {
    QObject::connect(box, &QLineEdit::textChanged, box, [box](const QString& text) {
        box->setToolTip(text);
        // A user typing into the box keeps the cursor where the typing happens.
        if (!box->hasFocus()) box->setCursorPosition(0);
    });
}

}  // namespace ui
