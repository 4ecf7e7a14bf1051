// Programs the main window starts: a desktop calculator and the help text viewer.
#pragma once

class QWidget;

namespace app {

// Starts the first calculator found on PATH (gnome-calculator, kcalc, mate-calc,
// galculator, qalculate-gtk, xcalc). Finding none, or failing to start it, is ignored.
void startCalculator();

// Shows help.txt of the data folder read-only in a viewer window owned by `parent`.
// A missing help file shows nothing.
void showHelpText(QWidget* parent);

}  // namespace app
