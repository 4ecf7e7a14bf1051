// The column window for a skid beam on N columns (Form22 … Form29): distances, the
// key of the beam row whose calculated load P is added, beam length, span and dead
// weight G in; the moment over every column and the load on every column out
// (q = (G + P) / span); every successful calculation appends a block to the report
// file (ui::reportFilePath()) and says so, with the file's path, in the status line.
#pragma once

#include <functional>
#include <optional>

#include "beams/beam_window.h"

namespace beams {

class ColumnWindow : public BeamWindow {
    Q_OBJECT
public:
    // The calculated load of the row a key names, or nothing (empty P).
    using RowLoads = std::function<std::optional<double>(const std::string& key)>;

    ColumnWindow(int n, RowLoads rowLoads);

signals:
    void backRequested();  // 上一窗口
    void quitRequested();  // 结束

protected:
    void calculate() override;
    void reassign() override;

private:
    void showReportStatus(const CalculationOutcome& outcome);

    RowLoads rowLoads_;
};

}  // namespace beams
