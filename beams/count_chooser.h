// The count choosers: Form1 picks the number of skid-beam rows under a slab, Form21
// the number of columns under a skid beam. 下一窗口 (Command1) reports the count of
// the item picked from the list, 2 … 9; items beyond 9, and text typed into the box
// without picking an item, report nothing. Command2 (结束 on Form1, 返回 on Form21)
// is only reported; the caller decides what it does. Enter presses 下一窗口, Esc closes
// the window.
#pragma once

#include <QString>
#include <QWidget>
#include <optional>

#include "beams/beam_texts.h"

class QComboBox;

namespace beams {

class CountChooser : public QWidget {
    Q_OBJECT
public:
    explicit CountChooser(BeamFamily family);

signals:
    void countChosen(int n);
    void secondButtonClicked();

private:
    void next();

    QComboBox* combo_;
    std::optional<QString> typed_;  // the box's text when it was typed, not picked
};

}  // namespace beams
