// Opening the tables the grade windows read, and the text a query result is saved as.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "db/table_cursor.h"
#include "ui/message.h"

namespace grades {

// Opens `table` of the database file `file` (schema.h) in the data folder on `cursor`,
// which is positioned on the first row. On failure (missing or damaged file, missing
// table, or a column the schema names missing) returns the message naming the file; the cursor is
// then empty and its displays show nothing.
ui::OptionalMessage openTable(db::TableCursor& cursor, std::string_view file,
                              const std::string& table);

// A query result as CSV for spreadsheet programs: UTF-8 with a byte-order mark, CRLF
// line ends, the header "项目,内容" and one line per display with its caption (without
// the trailing colon) and its text; fields holding a comma, quote or line break are
// quoted.
std::string resultCsv(const std::vector<std::pair<std::string, std::string>>& captionsAndTexts);

}  // namespace grades
