// The windows' answer to a read that failed on a damaged file (table_cursor.h): the
// "数据库错误" message in a box, once per cursor and opening, shown after the operation
// that met the damage has returned (a box inside a list's or grid's read would run the
// event loop in the middle of it).
#pragma once

class QWidget;

namespace db {

class TableCursor;

void showReadFailures(TableCursor& cursor, QWidget* window);

}  // namespace db
