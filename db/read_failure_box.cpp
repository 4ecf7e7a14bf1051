#include "db/read_failure_box.h"

#include <QWidget>

#include "db/table_cursor.h"
#include "ui/message_box.h"

namespace db {

void showReadFailures(TableCursor& cursor, QWidget* window) {
    QObject::connect(
        &cursor, &TableCursor::readFailed, window,
        [&cursor, window] {
            if (const ui::OptionalMessage& failure = cursor.readFailure())
                ui::showMessage(window, QString::fromStdString(failure->title),
                                QString::fromStdString(failure->text), ui::Icon::Warning);
        },
        Qt::QueuedConnection);
}

}  // namespace db
