#include "grades/table_printout.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextBoundaryFinder>
#include <algorithm>
#include <numeric>

namespace grades {
namespace {

struct Fonts {
    QFont cell, header, title;
};

Fonts fontsAt(const PrintStyle& style, double pointSize) {
    Fonts f;
    if (!style.family.isEmpty()) f.cell.setFamily(style.family);
    f.cell.setPointSizeF(pointSize);
    f.header = f.cell;
    f.header.setBold(true);
    f.title = f.header;
    f.title.setPointSizeF(pointSize + 4);
    return f;
}

constexpr int kWrap = Qt::TextWordWrap;

// The room between a cell's text and its lines: less at the sides, where 21 columns
// share the page width.
QPointF padding(const QFontMetricsF& fm) { return {0.15 * fm.height(), 0.2 * fm.height()}; }

QRectF wrapped(const QFontMetricsF& fm, double width, const QString& text) {
    return fm.boundingRect(QRectF(0, 0, width, 1e9), kWrap, text);
}

// The narrowest width at which `text` wraps to at most `lines` lines, none of them
// running over.
double narrowestWidth(const QFontMetricsF& fm, const QString& text, int lines) {
    const double whole = fm.horizontalAdvance(text);
    const double step = fm.height() / 2;
    for (double w = whole / lines; w < whole; w += step) {
        const QRectF r = wrapped(fm, w, text);
        if (r.width() <= w + 0.01 && r.height() < (lines + 0.5) * fm.height()) return w;
    }
    return whole;
}

// Where a cell may wrap: at blanks, commas and between Chinese characters. A number,
// a range such as 0.06~0.12 or a designation such as 00Cr17Ni14Mo2 stays on one line.
bool wraps(const QString& text) {
    for (const QChar ch : text)
        if (ch.isSpace() || ch == u',' || ch == u'，' || ch.script() == QChar::Script_Han)
            return true;
    return false;
}

// The widest piece of `text` between two places where it may wrap.
double widestPiece(const QFontMetricsF& fm, const QString& text) {
    if (!wraps(text)) return fm.horizontalAdvance(text);
    QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, text);
    double widest = 0;
    qsizetype from = 0;
    for (qsizetype at = breaks.toNextBoundary(); at > 0; at = breaks.toNextBoundary()) {
        widest = std::max(widest, fm.horizontalAdvance(text.mid(from, at - from).trimmed()));
        from = at;
    }
    return widest;
}

// How wide each column is: `least` with long cells wrapped at the set width (never
// inside a piece that cannot break), `whole` with every cell on one line; both with
// the heading wrapped to the allowed lines and the padding on both sides.
struct ColumnWidths {
    QList<double> least, whole;
};

ColumnWidths columnWidths(const PrintedTable& table, const PrintStyle& style, const Fonts& fonts,
                          QPaintDevice* device) {
    const QFontMetricsF cell(fonts.cell, device), head(fonts.header, device);
    const double wrapAt = style.widestCellInLines * cell.height();
    const double pad = 2 * padding(cell).x();
    ColumnWidths widths;
    for (int c = 0; c < table.headers.size(); ++c) {
        const double heading = narrowestWidth(head, table.headers[c], style.headerLines);
        double least = heading, whole = heading;
        for (const QStringList& row : table.rows) {
            const double one = cell.horizontalAdvance(row.value(c));
            whole = std::max(whole, one);
            least = std::max(
                least, one <= wrapAt ? one : std::max(wrapAt, widestPiece(cell, row.value(c))));
        }
        widths.least << least + pad;
        widths.whole << whole + pad;
    }
    return widths;
}

double sum(const QList<double>& v) { return std::accumulate(v.begin(), v.end(), 0.0); }

// Columns in groups that each fit across the page; every group after the first starts
// with the key column.
QList<QList<int>> columnGroups(const QList<double>& widths, double pageWidth, int key) {
    QList<QList<int>> groups;
    QList<int> group;
    double used = 0;
    for (int c = 0; c < widths.size(); ++c) {
        const bool onlyKey = !groups.isEmpty() && group == QList<int>{key};
        if (!group.isEmpty() && !onlyKey && used + widths[c] > pageWidth) {
            groups << group;
            group.clear();
            used = 0;
            if (key >= 0 && key != c) {
                group << key;
                used = widths[key];
            }
        }
        group << c;
        used += widths[c];
    }
    if (!group.isEmpty()) groups << group;
    return groups;
}

// Widths for `group` that fill the page: wrapped columns get back as much of their whole
// width as there is room for, and when all of it fits every column grows in proportion.
QList<double> fillPage(const QList<int>& group, const ColumnWidths& widths, double pageWidth) {
    double least = 0, whole = 0;
    for (int c : group) {
        least += widths.least[c];
        whole += widths.whole[c];
    }
    QList<double> filled;
    for (int c : group) {
        if (whole <= pageWidth)
            filled << widths.whole[c] * pageWidth / whole;
        else if (least < pageWidth)
            filled << widths.least[c] + (widths.whole[c] - widths.least[c]) * (pageWidth - least) /
                                            (whole - least);
        else
            filled << widths.least[c] * pageWidth / least;
    }
    return filled;
}

double wrappedHeight(const QFontMetricsF& fm, double columnWidth, const QString& text) {
    const QPointF pad = padding(fm);
    return std::max(fm.height(), wrapped(fm, columnWidth - 2 * pad.x(), text).height()) +
           2 * pad.y();
}

}  // namespace

TableLayout layoutTable(const PrintedTable& table, const PrintStyle& style, QPaintDevice* device,
                        QSizeF page) {
    TableLayout layout;
    layout.page = page;
    ColumnWidths widths;
    for (double size = style.pointSize;; size -= 0.5) {
        layout.pointSize = std::max(size, style.minimumPointSize);
        widths = columnWidths(table, style, fontsAt(style, layout.pointSize), device);
        if (sum(widths.least) <= page.width() || layout.pointSize <= style.minimumPointSize) break;
    }
    const QList<QList<int>> groups = columnGroups(widths.least, page.width(), table.keyColumn);
    layout.columnGroups = int(groups.size());

    // A column on several pages wraps to its narrowest there.
    QList<QList<double>> groupWidths;
    QList<double> narrowest(widths.least.size(), page.width());
    for (const QList<int>& group : groups) {
        groupWidths << fillPage(group, widths, page.width());
        for (int i = 0; i < group.size(); ++i)
            narrowest[group[i]] = std::min(narrowest[group[i]], groupWidths.last()[i]);
    }

    const Fonts fonts = fontsAt(style, layout.pointSize);
    const QFontMetricsF cell(fonts.cell, device), head(fonts.header, device),
        title(fonts.title, device);
    layout.titleHeight = 1.6 * title.lineSpacing();
    for (int c = 0; c < table.headers.size(); ++c)
        layout.headerHeight =
            std::max(layout.headerHeight, wrappedHeight(head, narrowest[c], table.headers[c]));
    for (const QStringList& row : table.rows) {
        double h = 0;
        for (int c = 0; c < table.headers.size(); ++c)
            h = std::max(h, wrappedHeight(cell, narrowest[c], row.value(c)));
        layout.rowHeights << h;
    }

    // Blocks of rows that fit below the title and the headings; each block is printed
    // once per column group, the groups of one block on consecutive pages.
    const double room = page.height() - layout.titleHeight - layout.headerHeight;
    int first = 0;
    do {
        int count = 0;
        double used = 0;
        while (first + count < int(table.rows.size()) &&
               (count == 0 || used + layout.rowHeights[first + count] <= room))
            used += layout.rowHeights[first + count++];
        for (int g = 0; g < groups.size(); ++g)
            layout.pages << TablePage{first, count, groups[g], groupWidths[g]};
        first += count;
    } while (first < int(table.rows.size()));
    return layout;
}

void paintTablePage(QPainter& painter, const PrintedTable& table, const PrintStyle& style,
                    const TableLayout& layout, int index) {
    const TablePage& page = layout.pages[index];
    const Fonts fonts = fontsAt(style, layout.pointSize);
    const QPointF pad = padding(QFontMetricsF(fonts.cell, painter.device()));
    const double line = painter.device()->logicalDpiX() * 0.2 / 25.4;  // 0.2 mm
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, std::max(1.0, line)));

    const QRectF titleRow(0, 0, layout.page.width(), layout.titleHeight);
    painter.setFont(fonts.title);
    painter.drawText(titleRow, Qt::AlignLeft | Qt::AlignTop, table.title);
    painter.setFont(fonts.cell);
    painter.drawText(titleRow, Qt::AlignRight | Qt::AlignTop,
                     QStringLiteral("第 %1 页，共 %2 页").arg(index + 1).arg(layout.pages.size()));

    const auto drawRow = [&](double y, double height, const QFont& font, int align,
                             const auto& textOf) {
        painter.setFont(font);
        double x = 0;
        for (int i = 0; i < page.columns.size(); ++i) {
            const QRectF cell(x, y, page.widths[i], height);
            painter.drawRect(cell);
            painter.drawText(cell.adjusted(pad.x(), pad.y(), -pad.x(), -pad.y()), align | kWrap,
                             textOf(page.columns[i]));
            x += page.widths[i];
        }
    };
    double y = layout.titleHeight;
    painter.fillRect(QRectF(0, y, sum(page.widths), layout.headerHeight), QColor(230, 230, 230));
    drawRow(y, layout.headerHeight, fonts.header, Qt::AlignCenter,
            [&](int c) { return table.headers[c]; });
    y += layout.headerHeight;
    for (int r = page.firstRow; r < page.firstRow + page.rowCount; ++r) {
        drawRow(y, layout.rowHeights[r], fonts.cell, Qt::AlignLeft | Qt::AlignVCenter,
                [&](int c) { return table.rows[r].value(c); });
        y += layout.rowHeights[r];
    }
    painter.restore();
}

int printTable(QPagedPaintDevice& device, QPageLayout::Orientation orientation,
               const PrintedTable& table, const PrintStyle& style) {
    device.setPageOrientation(orientation);
    const TableLayout layout =
        layoutTable(table, style, &device, QSizeF(device.width(), device.height()));
    QPainter painter;
    if (!painter.begin(&device)) return 0;
    for (int i = 0; i < layout.pages.size(); ++i) {
        if (i > 0) device.newPage();
        paintTablePage(painter, table, style, layout, i);
    }
    painter.end();
    return int(layout.pages.size());
}

}  // namespace grades
