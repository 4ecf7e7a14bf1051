// A table printed so that an engineer can read it: the window's caption heads every
// page, columns are as wide as their widest cell and together fill the page width, the
// font shrinks (down to a legible minimum) until every column fits across the page,
// and beyond that the columns are split over pages side by side, each of which repeats
// the key column (the grade) so that a row can be followed from page to page. Rows run
// on over as many pages as they need, with the column headings repeated. Qt Gui only:
// it draws on a printer, a PDF writer or an image alike.
//
// Sizes are in the device units of the paint device the layout is made for.
#pragma once

#include <QList>
#include <QPageLayout>
#include <QSizeF>
#include <QString>
#include <QStringList>

class QPagedPaintDevice;
class QPaintDevice;
class QPainter;

namespace grades {

struct PrintedTable {
    QString title;  // heads every page: the caption of the window that prints
    QStringList headers;
    QList<QStringList> rows;  // each as long as headers
    int keyColumn = -1;       // repeated on every page of a split; -1: none
};

struct PrintStyle {
    QString family;                 // of the application font; "" the default family
    double pointSize = 10;          // the size used when every column fits with it
    double minimumPointSize = 6.5;  // the smallest legible size; below it columns split
    int headerLines = 4;            // a heading may wrap to this many lines
    double widestCellInLines = 4;   // a cell wider than this many line heights wraps
};

struct TablePage {
    int firstRow = 0;
    int rowCount = 0;
    QList<int> columns;    // the table's columns on this page, in order
    QList<double> widths;  // their widths, adding up to the page width
};

struct TableLayout {
    QSizeF page;           // the printable area of one page
    double pointSize = 0;  // the size chosen for the cells
    int columnGroups = 1;  // pages side by side for one block of rows
    QList<TablePage> pages;
    QList<double> rowHeights;  // of every table row
    double headerHeight = 0;
    double titleHeight = 0;
};

// Lays `table` out on pages of the printable size `page` of `device`.
TableLayout layoutTable(const PrintedTable& table, const PrintStyle& style, QPaintDevice* device,
                        QSizeF page);

// Paints page `index` (0-based) of `layout` with the page's top-left at the painter's
// origin; the painter draws on the device the layout was made for.
void paintTablePage(QPainter& painter, const PrintedTable& table, const PrintStyle& style,
                    const TableLayout& layout, int index);

// Sets `device` to A4 in `orientation` and prints every page of `table` on it. Returns
// the number of pages, 0 when the device could not be painted on.
int printTable(QPagedPaintDevice& device, QPageLayout::Orientation orientation,
               const PrintedTable& table, const PrintStyle& style);

}  // namespace grades
