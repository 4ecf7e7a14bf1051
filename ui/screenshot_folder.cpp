#include "ui/screenshot_folder.h"

#include <cstdio>

namespace ui {

QString screenshotFolder(const char* program) {
    const QString folder = qEnvironmentVariable("TOLVANE_SCREENSHOT_DIR");
    if (folder.isEmpty()) std::fprintf(stderr, "%s: set TOLVANE_SCREENSHOT_DIR\n", program);
    return folder;
}

}  // namespace ui
