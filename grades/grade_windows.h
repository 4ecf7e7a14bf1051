// The way into the grade windows from the main menu: each is a single top-level
// instance, created on first use and hidden, never destroyed, when closed, so that it
// shows the same grade and lists again when reopened.
#pragma once

namespace grades {

class GradeConversionWindow;
class GradeQueryWindow;

// Creates the window on first use, shows it and brings it to the front.
GradeQueryWindow* showGradeQueryWindow();
GradeConversionWindow* showGradeConversionWindow();

}  // namespace grades
