// `GradeConversionWindow` (caption "各国钢号转换系统"): converts a steel designation
// between the nine standards of table "s_world". Picking a standard (Option1(0 … 8) in
// the frame "请选择钢号集合") lists its designations in the grade box Combo1; picking
// one shows its row in panel A (Frame2, displays Text1(0 … 9), bound to the browse
// cursor). 搜索 (Command1) and 下一个 (Command2) look for the typed text in every
// standard and show the match in panel B (Frame3, displays Text2(0 … 9), bound to the
// search cursor); they look for the text as typed. Choosing 中国GB draws the eye to the
// grade box with a short red flash. Enter presses 搜索, Esc closes the window.
#pragma once

#include <QPalette>
#include <QWidget>

#include "db/grade_lookup.h"
#include "db/table_cursor.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QPushButton;
class QVariantAnimation;

namespace grades {

class GradeConversionWindow : public QWidget {
    Q_OBJECT
public:
    explicit GradeConversionWindow(QWidget* parent = nullptr);

    // The search position k (1 … 9): the standard whose column the last search matched.
    int searchPosition() const { return search_.position(); }

    static constexpr int kFlashMilliseconds = 400;

private:
    QWidget* createStandards();
    QWidget* createPanel(db::TableCursor& cursor, const char* name, const QString& prefix,
                         const QString& labelPrefix);
    void chooseStandard(int position);
    void chooseGrade();
    void runSearch(bool next);
    void showPanel(bool browse);
    void updateButtons();
    void flash();

    db::TableCursor browse_;
    db::TableCursor searchCursor_;
    db::GradeSearch search_{searchCursor_};
    QButtonGroup* standards_ = nullptr;
    QLabel* gradeCaption_ = nullptr;
    QComboBox* grade_ = nullptr;
    QPushButton* searchButton_ = nullptr;
    QPushButton* nextButton_ = nullptr;
    QWidget* panelA_ = nullptr;
    QWidget* panelB_ = nullptr;
    QVariantAnimation* flash_ = nullptr;
    QPalette gradePalette_;  // the grade box's colours while it does not flash
};

}  // namespace grades
