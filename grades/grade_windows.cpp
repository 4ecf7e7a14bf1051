#include "grades/grade_windows.h"

#include <QPointer>

#include "grades/grade_conversion_window.h"
#include "grades/grade_query_window.h"
#include "ui/window_placement.h"

namespace grades {
namespace {

template <typename Window>
Window* showSingle(QPointer<Window>& window, QWidget* opener) {
    if (!window) window = new Window;
    ui::showWindow(window, opener);
    return window;
}

}  // namespace

GradeQueryWindow* showGradeQueryWindow(QWidget* opener) {
    static QPointer<GradeQueryWindow> window;
    return showSingle(window, opener);
}

GradeConversionWindow* showGradeConversionWindow(QWidget* opener) {
    static QPointer<GradeConversionWindow> window;
    return showSingle(window, opener);
}

}  // namespace grades
