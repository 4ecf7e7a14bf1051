#include "db/bound_display.h"

#include <QLabel>
#include <QLineEdit>

#include "db/table_cursor.h"

namespace db {
namespace {

template <typename Display>
void bind(TableCursor& cursor, const QString& field, Display* display) {
    const std::string name = field.toStdString();
    const auto show = [&cursor, name, display] {
        display->setText(QString::fromStdString(cursor.field(name)));
    };
    show();
    QObject::connect(&cursor, &TableCursor::rowChanged, display, show);
}

}  // namespace

void bindDisplay(TableCursor& cursor, const QString& field, QLabel* display) {
    bind(cursor, field, display);
}

void bindDisplay(TableCursor& cursor, const QString& field, QLineEdit* display) {
    bind(cursor, field, display);
}

}  // namespace db
