// The keys a desktop user expects in a tool window or a dialog made of a plain widget:
// Enter presses the window's main button (or the push button that has the focus, as in
// a dialog), Esc closes the window as its close button does. Both act only while the
// window is the active one; an open list or completion popup keeps its own keys.
#pragma once

class QAbstractButton;
class QWidget;

namespace ui {

// Enter and the keypad's Enter in `window` click `button` when it is enabled.
void pressOnEnter(QWidget* window, QAbstractButton* button);

// Esc in `window` closes it (close(), so its close event runs).
void closeOnEscape(QWidget* window);

}  // namespace ui
