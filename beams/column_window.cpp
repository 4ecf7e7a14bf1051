#include "beams/column_window.h"

#include <QPushButton>
#include <QTime>

#include "beams/beam_report.h"
#include "ui/data_paths.h"

namespace beams {
namespace {

constexpr int kDeadWeight = 3;  // Text2(3), kept by 重新赋值

}  // namespace

ColumnWindow::ColumnWindow(int n, RowLoads rowLoads)
    : BeamWindow(BeamFamily::Column, n,
                 {{QStringLiteral("Command2"), QStringLiteral("上一窗口")},
                  {QStringLiteral("Command4"), QStringLiteral("结束")}}),
      rowLoads_(std::move(rowLoads)) {
    connect(button(QStringLiteral("Command2")), &QPushButton::clicked, this,
            &ColumnWindow::backRequested);
    connect(button(QStringLiteral("Command4")), &QPushButton::clicked, this,
            &ColumnWindow::quitRequested);
}

void ColumnWindow::calculate() {
    const std::vector<std::string> inputs = inputTexts();
    const ColumnInput input{count(), distanceTexts(), inputs, rowLoads_(inputs[0])};
    const CalculationOutcome outcome =
        calculateColumn(input, ui::reportFilePath(),
                        [this](const ui::Message& m) { return goOnAfterMismatch(m); });
    if (outcome.results)
        showRowLoad(input.rowLoad ? QString::fromStdString(plainNumber(*input.rowLoad)) : QString());
    showReportStatus(outcome);
    showOutcome(outcome);
}

// Every calculation says whether its report block went to the file, and which file:
// the report path is not one the user chose.
void ColumnWindow::showReportStatus(const CalculationOutcome& outcome) {
    const QString path = QString::fromStdString(ui::reportFilePath());
    const QString now = QTime::currentTime().toString(QStringLiteral("HH:mm:ss"));
    if (!outcome.results)
        showStatus(QString());
    else if (outcome.reportFailure)
        showStatus(QStringLiteral("%1 计算报告未能写入 %2").arg(now, path));
    else
        showStatus(QStringLiteral("%1 计算报告已追加到 %2").arg(now, path));
}

void ColumnWindow::reassign() { blankBoxes(kDeadWeight); }

}  // namespace beams
