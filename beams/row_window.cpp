#include "beams/row_window.h"

#include <QPushButton>

namespace beams {

RowWindow::RowWindow(int n)
    : BeamWindow(BeamFamily::Row, n,
                 {{QString::fromStdString(rowCompareButton(n)), QStringLiteral("结果比较")},
                  {QString::fromStdString(rowBackButton(n)), QStringLiteral("返回")}}) {
    connect(button(QString::fromStdString(rowCompareButton(n))), &QPushButton::clicked, this,
            &RowWindow::compareRequested);
    connect(button(QString::fromStdString(rowBackButton(n))), &QPushButton::clicked, this,
            &RowWindow::backRequested);
}

void RowWindow::calculate() {
    const CalculationOutcome outcome =
        calculateRow({count(), distanceTexts(), inputTexts()},
                     [this](const ui::Message& m) { return goOnAfterMismatch(m); });
    if (outcome.results) lastForces_ = outcome.results->forces;
    showOutcome(outcome);
}

void RowWindow::reassign() { blankBoxes(-1); }

}  // namespace beams
