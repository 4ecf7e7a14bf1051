#include "grades/grade_conversion_window.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QVariantAnimation>

#include "db/read_failure_box.h"
#include "db/schema.h"
#include "grades/grade_tables.h"
#include "grades/record_panel.h"
#include "grades/window_helpers.h"
#include "ui/keyboard.h"

namespace grades {
namespace {

QList<PanelField> panelFields() {
    QList<PanelField> fields = {{QStringLiteral("类别："), QStringLiteral("类别")}};
    for (std::string_view s : db::kStandards) fields.append({qs(s) + QStringLiteral("："), qs(s)});
    return fields;
}

}  // namespace

GradeConversionWindow::GradeConversionWindow(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("GradeConversionWindow"));
    setWindowTitle(QStringLiteral("各国钢号转换系统"));
    const ui::OptionalMessage failed = openTable(browse_, db::kWorldFile, "s_world");
    if (!failed) openTable(searchCursor_, db::kWorldFile, "s_world");
    for (db::TableCursor* cursor : {&browse_, &searchCursor_}) db::showReadFailures(*cursor, this);

    auto* gradeRow = new QHBoxLayout;
    gradeCaption_ = named(new QLabel(QStringLiteral("请输入需转换的钢号：")), "Label1");
    grade_ = named(new QComboBox, "Combo1");
    grade_->setEditable(true);
    grade_->setInsertPolicy(QComboBox::NoInsert);
    offerCompletions(grade_);
    grade_->setMinimumWidth(180);
    searchButton_ = named(new QPushButton(QStringLiteral("搜索")), "Command1");
    nextButton_ = named(new QPushButton(QStringLiteral("下一个")), "Command2");
    gradeRow->addWidget(gradeCaption_);
    gradeRow->addWidget(grade_, 1);
    gradeRow->addWidget(searchButton_);
    gradeRow->addWidget(nextButton_);
    connect(grade_, &QComboBox::activated, this, &GradeConversionWindow::chooseGrade);
    // Any new text, typed or chosen, starts the search afresh from the first standard.
    connect(grade_, &QComboBox::editTextChanged, this, [this] {
        search_.textEdited();
        updateButtons();
    });
    connect(searchButton_, &QPushButton::clicked, this, [this] { runSearch(false); });
    connect(nextButton_, &QPushButton::clicked, this, [this] { runSearch(true); });
    ui::pressOnEnter(this, searchButton_);
    ui::closeOnEscape(this);

    panelA_ = createPanel(browse_, "Frame2", QStringLiteral("Text1"), QStringLiteral("Label2"));
    panelB_ =
        createPanel(searchCursor_, "Frame3", QStringLiteral("Text2"), QStringLiteral("Label3"));
    auto* panels = new QGridLayout;
    panels->addWidget(panelA_, 0, 0);
    panels->addWidget(panelB_, 0, 0);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(createStandards());
    layout->addLayout(gradeRow);
    layout->addLayout(panels);
    layout->addStretch();

    flash_ = new QVariantAnimation(this);
    flash_->setStartValue(1);
    flash_->setEndValue(255);
    flash_->setDuration(kFlashMilliseconds);
    connect(flash_, &QVariantAnimation::valueChanged, this, [this](const QVariant& red) {
        QPalette p = gradePalette_;
        p.setColor(QPalette::Base, QColor(red.toInt(), 0, 0));
        grade_->setPalette(p);
    });
    connect(flash_, &QVariantAnimation::finished, this,
            [this] { grade_->setPalette(gradePalette_); });

    showPanel(true);
    updateButtons();
    if (failed) showMessage(this, *failed, ui::Icon::Warning);
}

QWidget* GradeConversionWindow::createStandards() {
    auto* frame = named(new QGroupBox(QStringLiteral("请选择钢号集合")), "Frame1");
    auto* grid = new QGridLayout(frame);
    standards_ = new QButtonGroup(this);
    for (int i = 0; i < int(db::kStandards.size()); ++i) {
        auto* option = new QRadioButton(qs(db::kStandards[std::size_t(i)]));
        option->setObjectName(QStringLiteral("Option1(%1)").arg(i));
        standards_->addButton(option, i + 1);
        grid->addWidget(option, i / 3, i % 3);
    }
    connect(standards_, &QButtonGroup::idClicked, this, &GradeConversionWindow::chooseStandard);
    return frame;
}

QWidget* GradeConversionWindow::createPanel(db::TableCursor& cursor, const char* name,
                                            const QString& prefix, const QString& labelPrefix) {
    auto* frame = named(new QGroupBox, name);
    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(new RecordPanel(cursor, panelFields(), prefix, labelPrefix, 2));
    return frame;
}

void GradeConversionWindow::chooseStandard(int position) {
    showPanel(true);
    grade_->clear();
    for (const std::string& d : db::standardList(browse_, position))
        grade_->addItem(QString::fromStdString(d));
    grade_->setCurrentIndex(-1);
    gradeCaption_->setText(QStringLiteral("请选择需转换的钢号："));
    if (position == 1) flash();
}

void GradeConversionWindow::chooseGrade() {
    showPanel(true);
    db::chooseGrade(browse_, standards_->checkedId(), grade_->currentText().toStdString());
}

void GradeConversionWindow::runSearch(bool next) {
    showPanel(false);
    const std::string text = grade_->currentText().toStdString();
    const bool found = next ? search_.next(text) : search_.search(text);
    updateButtons();
    if (!next && !found) showMessage(this, db::notFoundMessage(), ui::Icon::Information);
}

void GradeConversionWindow::showPanel(bool browse) {
    panelA_->setVisible(browse);
    panelB_->setVisible(!browse);
}

void GradeConversionWindow::updateButtons() {
    searchButton_->setEnabled(search_.searchEnabled());
    nextButton_->setEnabled(search_.nextEnabled());
}

void GradeConversionWindow::flash() {
    if (flash_->state() == QAbstractAnimation::Running)
        flash_->stop();  // a flash already under way keeps the colours it remembered
    else
        gradePalette_ = grade_->palette();
    flash_->start();
}

}  // namespace grades
