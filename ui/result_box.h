// Result boxes: text fields that a calculation writes. A result wider than its box
// shows its start (the sign and the leading digits) rather than its end, and the
// whole text is the box's tooltip.
#pragma once

class QLineEdit;

namespace ui {

// Makes `box` a result box from now on; every later change of its text, by a
// calculation or by the user, keeps the tooltip equal to the text.
void makeResultBox(QLineEdit* box);

}  // namespace ui
