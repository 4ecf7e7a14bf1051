// The way into the grade windows from the main menu: each is a single top-level
// instance, created on first use and hidden, never destroyed, when closed, so that it
// shows the same grade and lists again when reopened.
#pragma once

class QWidget;

namespace grades {

class GradeConversionWindow;
class GradeQueryWindow;

// Creates the window on first use and shows it in front, placed over `opener` (nullptr:
// the active window) the first time.
GradeQueryWindow* showGradeQueryWindow(QWidget* opener = nullptr);
GradeConversionWindow* showGradeConversionWindow(QWidget* opener = nullptr);

}  // namespace grades
