// `GradeQueryWindow` (caption "世界钢号查询系统"): looks up one Chinese steel grade in
// table "CNA_STEEL" and shows its category, composition, mechanical properties and heat
// treatment in displays bound to the table's cursor. The grid of the whole table lies
// below the query area and comes into view when the window grows to 6500 twips.
//
// Controls: grade box Combo1, 确定 Command1, 查看列表 Command2, 隐藏列表 Command3,
// 打印列表 Command4, 打印查询结果 Command5, 保存查询结果 Command6, 关闭窗口 Command7,
// the navigator Data1 ("中国钢号"), ProgressBar1, the grid MSFlexGrid1 and the result
// displays Text1(0 … 19) with their captions Label3(0 … 19).
#pragma once

#include <QWidget>

#include "db/table_cursor.h"
#include "grades/table_printout.h"

class QComboBox;
class QPrinter;
class QProgressBar;
class QTableView;

namespace grades {

class RecordPanel;

class GradeQueryWindow : public QWidget {
    Q_OBJECT
public:
    explicit GradeQueryWindow(QWidget* parent = nullptr);

    static constexpr int kQueryHeightTwips = 5400;
    static constexpr int kListHeightTwips = 6500;

    // What 打印列表 and 打印查询结果 print: the grid's table in landscape, headed by the
    // window's caption with the grade repeated when its columns are split over pages,
    // and the result's captions and texts in portrait.
    PrintedTable listPrintout() const;
    PrintedTable resultPrintout() const;
    PrintStyle printStyle() const;

    // The work behind 打印列表, 打印查询结果 and 保存查询结果 once their dialogs have
    // been answered. The printing ones return the number of pages printed; saveResult
    // returns false after telling the user why.
    int printList(QPrinter& printer) const;
    int printResult(QPrinter& printer) const;
    bool saveResult(const QString& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* createQueryArea();
    QWidget* createButtons();
    void rebuildList();
    void query();
    void showList(bool shown);
    void askPrint(int (GradeQueryWindow::*print)(QPrinter&) const,
                  QPageLayout::Orientation orientation);
    void askSaveResult();

    db::TableCursor cursor_;
    QComboBox* grade_ = nullptr;
    QProgressBar* progress_ = nullptr;
    RecordPanel* result_ = nullptr;
    QTableView* grid_ = nullptr;
};

}  // namespace grades
