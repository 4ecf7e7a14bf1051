// The way into the skid-beam calculation from the main window (水冷梁计算): the
// row-count chooser Form1, and from there the row windows Form2 … Form9, the
// column-count chooser Form21 and the column windows Form22 … Form29. Every window
// is a single top-level instance created on first use and hidden, never destroyed,
// when left, so typed values and results stay until the program ends.
#pragma once

class QWidget;

namespace beams {

// Creates Form1 on first use and shows it on behalf of `opener` (ui::showWindow).
void showRowCountChooser(QWidget* opener = nullptr);

}  // namespace beams
