// ACAD_TABLE: its anonymous block holds the table as drawn (grid lines and cell texts),
// placed at the table's insertion point along its direction. A table whose block is
// missing is drawn from its cell data: each cell's frame, and its text in the middle.
#include <cmath>

#include "plot/mtext.h"
#include "plot/parts.h"

namespace plot {
namespace {

constexpr size_t kMostCells = 1 << 20;

struct Cell {
    bool covered = false;  // part of a merged cell drawn by another
    int columns = 1, rows = 1;
    double height = 0;  // of the text, 0: the table's
    std::string_view text;
};

struct CellData {
    std::vector<double> rowHeights, columnWidths;
    std::vector<Cell> cells;
};

// The groups of subclass AcDbTable: row heights (141), column widths (142), then the
// cells, each opened by its type (171).
CellData cellData(const EntityGroups& g) {
    CellData data;
    bool table = false;
    for (const auto& [code, value] : g.list()) {
        if (code == 100) table = value == "AcDbTable";
        if (!table) continue;
        const double v = toNumber(value);
        if (code == 141 && data.cells.empty()) data.rowHeights.push_back(v);
        if (code == 142 && data.cells.empty()) data.columnWidths.push_back(v);
        if (code == 171 && data.cells.size() < kMostCells) data.cells.emplace_back();
        if (data.cells.empty()) continue;
        Cell& c = data.cells.back();
        if (code == 173) c.covered = v != 0;
        if (code == 175) c.columns = static_cast<int>(std::clamp(v, 1.0, 1e6));
        if (code == 176) c.rows = static_cast<int>(std::clamp(v, 1.0, 1e6));
        if (code == 140) c.height = v;
        if ((code == 302 || code == 1) && !value.empty()) c.text = value;
    }
    return data;
}

void drawCells(const EntityGroups& g, Parts& parts, const QTransform& t) {
    const CellData data = cellData(g);
    const size_t rows = data.rowHeights.size(), columns = data.columnWidths.size();
    if (rows == 0 || columns == 0) return;
    std::vector<double> x(columns + 1, 0), y(rows + 1, 0);  // grid lines, y downwards
    for (size_t c = 0; c < columns; ++c) x[c + 1] = x[c] + data.columnWidths[c];
    for (size_t r = 0; r < rows; ++r) y[r + 1] = y[r] - data.rowHeights[r];
    Out out(parts.scene(), parts.entityPen());
    const QTransform toDrawing = t * parts.t();
    const size_t cells = std::min(data.cells.size(), rows * columns);
    for (size_t k = 0; k < cells; ++k) {
        const Cell& cell = data.cells[k];
        if (cell.covered) continue;
        const size_t r = k / columns, c = k % columns;
        const size_t r1 = std::min(rows, r + static_cast<size_t>(cell.rows));
        const size_t c1 = std::min(columns, c + static_cast<size_t>(cell.columns));
        QPainterPath frame;
        frame.addRect(QRectF(QPointF(x[c], y[r]), QPointF(x[c1], y[r1])));
        out.stroke(frame, toDrawing);
        if (cell.text.empty()) continue;
        MTextFrame text;
        text.text = decodeText(parts.drawing().codec(), cell.text);
        text.height = cell.height > 0 ? cell.height : std::min(2.5, (y[r] - y[r1]) / 2);
        text.attachment = 5;
        text.insert = QPointF((x[c] + x[c1]) / 2, (y[r] + y[r1]) / 2);
        drawMText(text, parts.textStyle(0), toDrawing, out);
    }
}

}  // namespace

void drawTable(const EntityGroups& g, Parts& parts) {
    QPointF direction(1, 0);
    for (const auto& [code, value] : g.list())
        if (code == 11) {
            direction = g.point(11);
            break;
        }
    direction = unitDirection(direction);
    const QPointF at = g.point(10);
    const QTransform t(direction.x(), direction.y(), -direction.y(), direction.x(), at.x(), at.y());
    if (!parts.block(parts.ownBlock(), t, parts.entityPen())) drawCells(g, parts, t);
}

}  // namespace plot
