// Where the programs that make the screenshots in docs/ write their pictures.
#pragma once

#include <QString>

namespace ui {

// The folder named by $TOLVANE_SCREENSHOT_DIR. When it is not set, says so on stderr,
// naming `program`, and returns "".
QString screenshotFolder(const char* program);

}  // namespace ui
