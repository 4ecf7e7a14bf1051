#include "grades/grade_windows.h"

#include <QPointer>

#include "grades/grade_conversion_window.h"
#include "grades/grade_query_window.h"

namespace grades {
namespace {

template <typename Window>
Window* showSingle(QPointer<Window>& window) {
    if (!window) window = new Window;
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

}  // namespace

GradeQueryWindow* showGradeQueryWindow() {
    static QPointer<GradeQueryWindow> window;
    return showSingle(window);
}

GradeConversionWindow* showGradeConversionWindow() {
    static QPointer<GradeConversionWindow> window;
    return showSingle(window);
}

}  // namespace grades
