// The standard-parts window `standard` (caption "Form10"): shows the standard number
// (in the type box Combo1) and the name (Text1) of the first record of table
// "bolt_type" in standard.db. Every load reads the database afresh and closes it
// again; when the database cannot be read the window says why and stays empty.
#pragma once

#include <QWidget>

class QComboBox;
class QLineEdit;

namespace standardparts {

class StandardWindow : public QWidget {
    Q_OBJECT
public:
    explicit StandardWindow(QWidget* parent = nullptr);

    // Reads the first part type of standard.db in the folder zuvevid.ini names.
    void load();

private:
    QComboBox* type_;
    QLineEdit* name_;
};

// Creates the single window on first use, loads it and shows it in front, placed over
// `opener` (nullptr: the active window) the first time.
void showStandardWindow(QWidget* opener = nullptr);

}  // namespace standardparts
