// Where and how the programs that make the screenshots in docs/ save their pictures.
#pragma once

#include <QString>

class QWidget;

namespace ui {

// The folder named by $TOLVANE_SCREENSHOT_DIR. When it is not set, says so on stderr,
// naming `program`, and returns "".
QString screenshotFolder(const char* program);

// Saves `window` as it shows once pending events are handled, as the picture `file`;
// says on stderr which file could not be written.
bool saveScreenshot(QWidget* window, const QString& file);

}  // namespace ui
