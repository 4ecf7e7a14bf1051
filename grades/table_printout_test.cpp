// The page layout of printed tables on a 100 dpi image the size of A4 in landscape less
// its margins: columns fill the width, the font shrinks only as far as the legible
// minimum, then the columns split with the key column on every page, and rows run on
// over pages that hold no more than they can.
#include "grades/table_printout.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTest>

namespace {

constexpr double kDotsPerMetre = 100 / 0.0254;

QImage page() {
    QImage image(1090, 750, QImage::Format_RGB32);  // 277 × 190 mm
    image.setDotsPerMeterX(int(kDotsPerMetre));
    image.setDotsPerMeterY(int(kDotsPerMetre));
    return image;
}

// `columns` columns headed "列n", the second one the key, `rows` rows of `cell` texts.
grades::PrintedTable table(int columns, int rows, const QString& cell) {
    grades::PrintedTable t{QStringLiteral("世界钢号查询系统"), {}, {}, 1};
    for (int c = 0; c < columns; ++c) t.headers << QStringLiteral("列%1").arg(c);
    for (int r = 0; r < rows; ++r) {
        QStringList row;
        for (int c = 0; c < columns; ++c) row << (c == 1 ? QStringLiteral("Q%1").arg(r) : cell);
        t.rows << row;
    }
    return t;
}

double total(const QList<double>& widths) {
    double sum = 0;
    for (double w : widths) sum += w;
    return sum;
}

}  // namespace

class TablePrintoutTest : public QObject {
    Q_OBJECT

private slots:
    void columnsFillThePageShrinkingThenSplitting_data() {
        QTest::addColumn<int>("columns");
        QTest::addColumn<bool>("shrunk");
        QTest::addColumn<bool>("split");
        QTest::addRow("few columns at the preferred size") << 5 << false << false;
        QTest::addRow("more columns in a smaller font") << 16 << true << false;
        QTest::addRow("too many: split at the minimum") << 40 << true << true;
    }

    void columnsFillThePageShrinkingThenSplitting() {
        QFETCH(int, columns);
        QFETCH(bool, shrunk);
        QFETCH(bool, split);
        QImage image = page();
        const grades::PrintStyle style;
        const grades::PrintedTable t = table(columns, 10, QStringLiteral("0.06~0.12"));
        const grades::TableLayout layout =
            grades::layoutTable(t, style, &image, QSizeF(image.width(), image.height()));
        QCOMPARE(layout.pointSize < style.pointSize, shrunk);
        QVERIFY(layout.pointSize >= style.minimumPointSize);
        QCOMPARE(layout.columnGroups > 1, split);
        if (split) QCOMPARE(layout.pointSize, style.minimumPointSize);
        QCOMPARE(layout.pages.size(), layout.columnGroups);

        QFont font;
        font.setPointSizeF(layout.pointSize);
        const QFontMetricsF metrics(font, &image);
        QList<int> printed;
        for (int p = 0; p < layout.pages.size(); ++p) {
            const grades::TablePage& page = layout.pages[p];
            QVERIFY(qAbs(total(page.widths) - image.width()) < 0.01);
            for (int i = 0; i < page.columns.size(); ++i)  // a cell keeps to one line
                QVERIFY(page.widths[i] > metrics.horizontalAdvance(t.rows[0][page.columns[i]]));
            if (p > 0) QCOMPARE(page.columns.first(), t.keyColumn);
            for (int c : page.columns)
                if (c != t.keyColumn || p == 0) printed << c;
        }
        QList<int> all;
        for (int c = 0; c < columns; ++c) all << c;
        QCOMPARE(printed, all);  // every column once, in order, besides the repeated key
    }

    void rowsRunOnOverPagesTheyFit() {
        QImage image = page();
        const grades::PrintedTable t = table(60, 200, QStringLiteral("碳素结构钢"));
        const grades::TableLayout layout =
            grades::layoutTable(t, {}, &image, QSizeF(image.width(), image.height()));
        QVERIFY(layout.pages.size() > layout.columnGroups);
        int next = 0;
        for (int p = 0; p < layout.pages.size(); ++p) {
            const grades::TablePage& page = layout.pages[p];
            const bool firstOfBlock = p % layout.columnGroups == 0;
            if (firstOfBlock) {
                QCOMPARE(page.firstRow, next);
                next += page.rowCount;
            }
            double height = layout.titleHeight + layout.headerHeight;
            for (int r = page.firstRow; r < page.firstRow + page.rowCount; ++r)
                height += layout.rowHeights[r];
            QVERIFY(height <= image.height());
        }
        QCOMPARE(next, 200);

        QPainter painter(&image);  // every page paints within the image
        for (int p = 0; p < layout.pages.size(); ++p)
            grades::paintTablePage(painter, t, {}, layout, p);
    }
};

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    TablePrintoutTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "table_printout_test.moc"
