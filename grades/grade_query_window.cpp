#include "grades/grade_query_window.h"

#include <QComboBox>
#include <QCompleter>
#include <QEvent>
#include <QFileInfo>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include "db/grade_lookup.h"
#include "db/read_failure_box.h"
#include "db/schema.h"
#include "db/table_model.h"
#include "grades/grade_tables.h"
#include "grades/record_panel.h"
#include "grades/window_helpers.h"
#include "ui/file_dialogs.h"
#include "ui/fonts.h"
#include "ui/keyboard.h"

namespace grades {
namespace {

QList<PanelField> resultFields() {
    QList<PanelField> fields;
    for (const db::ResultField& f : db::gradeResultFields())
        fields.append({qs(f.caption), qs(f.field)});
    return fields;
}

}  // namespace

GradeQueryWindow::GradeQueryWindow(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("GradeQueryWindow"));
    setWindowTitle(QStringLiteral("世界钢号查询系统"));
    const ui::OptionalMessage failed = openTable(cursor_, db::kMaterialFile, "CNA_STEEL");
    db::showReadFailures(cursor_, this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(createQueryArea());
    layout->addWidget(createButtons());
    grid_ = named(new QTableView, "MSFlexGrid1");
    grid_->setModel(new db::TableModel(cursor_, grid_));
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);
    grid_->hide();
    // A cell reached by the keyboard or clicked, even the current one again, fills the box.
    const auto fillGrade = [this](const QModelIndex& cell) {
        if (cell.isValid()) grade_->setEditText(cell.data().toString());
    };
    connect(grid_->selectionModel(), &QItemSelectionModel::currentChanged, this, fillGrade);
    connect(grid_, &QTableView::clicked, this, fillGrade);
    layout->addWidget(grid_, 1);
    layout->addStretch();
    showList(false);
    if (failed) showMessage(this, *failed, ui::Icon::Warning);
}

QWidget* GradeQueryWindow::createQueryArea() {
    auto* area = new QWidget;
    auto* top = new QHBoxLayout;
    top->addWidget(named(new QLabel(QStringLiteral("请输入钢号：")), "Label1"));
    grade_ = named(new QComboBox, "Combo1");
    grade_->setEditable(true);
    grade_->setInsertPolicy(QComboBox::NoInsert);
    offerCompletions(grade_);
    grade_->setMinimumWidth(160);
    grade_->installEventFilter(this);
    connect(grade_, &QComboBox::activated, this, &GradeQueryWindow::query);
    top->addWidget(grade_);
    auto* ok = named(new QPushButton(QStringLiteral("确定")), "Command1");
    connect(ok, &QPushButton::clicked, this, &GradeQueryWindow::query);
    ui::pressOnEnter(this, ok);
    ui::closeOnEscape(this);
    top->addWidget(ok);
    progress_ = named(new QProgressBar, "ProgressBar1");
    progress_->hide();
    top->addWidget(progress_, 1);
    top->addStretch();

    result_ = new RecordPanel(cursor_, resultFields(), QStringLiteral("Text1"),
                              QStringLiteral("Label3"), 3);
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top);
    layout->addWidget(named(new QLabel(QStringLiteral("查询结果：")), "Label2"));
    layout->addWidget(result_);
    return area;
}

QWidget* GradeQueryWindow::createButtons() {
    auto* bar = new QWidget;
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);

    // The navigator over the cursor: to the first row, and on to the next one, where it
    // stops at the last row rather than leaving the displays empty.
    auto* navigator = named(new QWidget, "Data1");
    auto* nav = new QHBoxLayout(navigator);
    nav->setContentsMargins(0, 0, 0, 0);
    auto* first = new QToolButton;
    first->setText(QStringLiteral("|◀"));
    connect(first, &QToolButton::clicked, this, [this] { cursor_.moveFirst(); });
    auto* next = new QToolButton;
    next->setText(QStringLiteral("▶"));
    connect(next, &QToolButton::clicked, this, [this] {
        if (cursor_.eof()) return;
        const db::Bookmark here = cursor_.bookmark();
        cursor_.moveNext();
        if (cursor_.eof()) cursor_.moveTo(here);
    });
    nav->addWidget(first);
    nav->addWidget(new QLabel(QStringLiteral("中国钢号")));
    nav->addWidget(next);
    row->addWidget(navigator);
    row->addStretch();

    const auto button = [this, row](const char* name, const char* caption, auto action) {
        auto* b = named(new QPushButton(QString::fromUtf8(caption)), name);
        connect(b, &QPushButton::clicked, this, action);
        row->addWidget(b);
    };
    button("Command2", "查看列表", [this] { showList(true); });
    button("Command3", "隐藏列表", [this] { showList(false); });
    button("Command4", "打印列表",
           [this] { askPrint(&GradeQueryWindow::printList, QPageLayout::Landscape); });
    button("Command5", "打印查询结果",
           [this] { askPrint(&GradeQueryWindow::printResult, QPageLayout::Portrait); });
    button("Command6", "保存查询结果", [this] { askSaveResult(); });
    button("Command7", "关闭窗口", [this] { hide(); });
    return bar;
}

bool GradeQueryWindow::eventFilter(QObject* watched, QEvent* event) {
    // Closing the list's popup hands the focus back without the user entering the box.
    if (watched == grade_ && event->type() == QEvent::FocusIn &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
        rebuildList();
    return QWidget::eventFilter(watched, event);
}

void GradeQueryWindow::rebuildList() {
    const QString typed = grade_->currentText();
    grade_->clear();
    progress_->setRange(0, std::max(1, cursor_.recordCount()));
    progress_->setValue(0);
    progress_->show();
    for (const std::string& g : db::gradeList(cursor_, [this](int i) { progress_->setValue(i); }))
        grade_->addItem(QString::fromStdString(g));
    progress_->hide();
    grade_->setCurrentIndex(-1);
    grade_->setEditText(typed);
}

void GradeQueryWindow::query() { db::queryGrade(cursor_, grade_->currentText().toStdString()); }

// The window takes the height of its state; the user may make it taller, and the grid
// takes the room.
void GradeQueryWindow::showList(bool shown) {
    grid_->setVisible(shown);
    const int height = ui::twips(shown ? kListHeightTwips : kQueryHeightTwips);
    resize(width(), shown ? std::max(this->height(), height) : height);
}

PrintedTable GradeQueryWindow::listPrintout() const {
    const QAbstractItemModel* model = grid_->model();
    PrintedTable table{windowTitle(), {}, {}, -1};
    for (int c = 0; c < model->columnCount(); ++c) {
        table.headers << model->headerData(c, Qt::Horizontal).toString();
        if (table.headers.last() == QStringLiteral("钢号")) table.keyColumn = c;
    }
    for (int r = 0; r < model->rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < model->columnCount(); ++c) row << model->index(r, c).data().toString();
        table.rows.append(row);
    }
    return table;
}

PrintedTable GradeQueryWindow::resultPrintout() const {
    PrintedTable table{windowTitle() + QStringLiteral(" — 查询结果"),
                       {QStringLiteral("项目"), QStringLiteral("内容")},
                       {},
                       0};
    for (const auto& [caption, text] : result_->captionsAndTexts())
        table.rows.append({caption, text});
    return table;
}

PrintStyle GradeQueryWindow::printStyle() const { return PrintStyle{font().family()}; }

int GradeQueryWindow::printList(QPrinter& printer) const {
    return printTable(printer, QPageLayout::Landscape, listPrintout(), printStyle());
}

int GradeQueryWindow::printResult(QPrinter& printer) const {
    return printTable(printer, QPageLayout::Portrait, resultPrintout(), printStyle());
}

bool GradeQueryWindow::saveResult(const QString& path) {
    std::vector<std::pair<std::string, std::string>> lines;
    for (const auto& [caption, text] : result_->captionsAndTexts())
        lines.emplace_back(caption.toStdString(), text.toStdString());
    const std::string csv = resultCsv(lines);
    QSaveFile file(path);  // written beside the target and renamed over it when complete
    if (file.open(QIODevice::WriteOnly) &&
        file.write(csv.data(), qint64(csv.size())) == qint64(csv.size()) && file.commit())
        return true;
    ui::showMessage(this, QStringLiteral("保存查询结果"),
                    QStringLiteral("无法保存查询结果 %1：%2").arg(path, file.errorString()),
                    ui::Icon::Warning);
    return false;
}

void GradeQueryWindow::askPrint(int (GradeQueryWindow::*print)(QPrinter&) const,
                                QPageLayout::Orientation orientation) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(orientation);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted) (this->*print)(printer);
}

void GradeQueryWindow::askSaveResult() {
    QString path = ui::saveFileName(this, QStringLiteral("gradeResult"),
                                    QStringLiteral("保存查询结果"), QStringLiteral("查询结果.csv"),
                                    QStringLiteral("查询结果 (*.csv);;所有文件 (*)"));
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".csv");
    saveResult(path);
}

}  // namespace grades
