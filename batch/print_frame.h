// The frame "打印" (Frame2) of the batch window: the printer, plot style table and
// paper lists filled from the drawing engine's layout, the paper units, and for the PDF
// printer the choice of one PDF for the whole run; the window keeps them in its settings.
#pragma once

#include <QGroupBox>

#include "batch/run.h"
#include "ui/message.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QRadioButton;
class QSettings;

namespace drawing {
class AcadApplication;
class AcadDocument;
}  // namespace drawing

namespace batch {

class PrintFrame : public QGroupBox {
    Q_OBJECT

public:
    PrintFrame(drawing::AcadApplication& acad, QWidget* parent);

    // 打印 ticked: enables the lists and the units, adds a new drawing and appends the
    // layout's devices and plot style tables to the lists (without clearing them).
    void setUp();
    // The check before a run that plots: the message for the first empty list.
    ui::OptionalMessage check();
    // The chosen printer, plot style table, paper and units.
    void apply(BatchSettings& settings) const;
    // "合并为一个PDF" is ticked (it can be only while the printer is PDF): the run's plots
    // are also bound into one PDF.
    bool bindsIntoOne() const;
    // Forgets the drawing of the set-up (the run closes every drawing).
    void forgetDocument() { document_ = nullptr; }

    // The chosen printer, style table, paper and units, in `settings`' current group.
    void saveSettings(QSettings& settings) const;
    // Chooses them again after setUp() where the lists still offer them; the paper list
    // is filled for the printer first.
    void restoreSettings(const QSettings& settings);

Q_SIGNALS:
    // A printer, a plot style table or a paper was chosen.
    void listChosen();

private:
    void printerChosen(int index);

    drawing::AcadApplication& acad_;
    drawing::AcadDocument* document_ = nullptr;  // the drawing the set-up added
    QComboBox* printers_;                        // Combo2
    QComboBox* styles_;                          // Combo3
    QComboBox* papers_;                          // Combo4
    QRadioButton* inches_;                       // Option2
    QCheckBox* book_;                            // CheckBook: 合并为一个PDF
    QList<QWidget*> controls_;                   // labels, lists and unit options
};

}  // namespace batch
