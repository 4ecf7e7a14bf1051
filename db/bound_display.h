// Displays bound to a cursor: each shows one field of the cursor's current row at once
// and again after every row change, and is empty while the cursor has no row. The
// binding ends when the display or the cursor is destroyed.
#pragma once

#include <QString>

class QLabel;
class QLineEdit;

namespace db {

class TableCursor;

void bindDisplay(TableCursor& cursor, const QString& field, QLabel* display);
void bindDisplay(TableCursor& cursor, const QString& field, QLineEdit* display);

}  // namespace db
