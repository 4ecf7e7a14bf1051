// Where secondary windows appear: the first time a window is shown it is centred over
// the window that opened it (kept on that window's screen); afterwards it reappears
// where the user left it, for as long as the program runs (a hidden window keeps
// its position).
#pragma once

class QApplication;
class QWidget;

namespace ui {

// Shows the single-instance top-level `window` on behalf of `opener` (nullptr: the
// active window), raised and active.
void showWindow(QWidget* window, QWidget* opener);

// From now on, every top-level window shown by a plain show() is placed the same way,
// with the active window as its opener; dialogs and message boxes are left to Qt,
// which centres them over their parent. Installed once at start.
void placeSecondaryWindows(QApplication& app);

}  // namespace ui
