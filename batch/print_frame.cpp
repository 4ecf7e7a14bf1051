#include "batch/print_frame.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSettings>
#include <QSignalBlocker>

#include "batch/plot_book.h"
#include "drawing/document.h"
#include "plot/plotter.h"

namespace batch {
namespace {

// Appends `names` to `list`, leaving nothing chosen when nothing was before.
void append(QComboBox* list, const std::vector<std::string>& names) {
    const QSignalBlocker quiet(list);
    const int chosen = list->currentIndex();
    for (const std::string& n : names) list->addItem(QString::fromStdString(n));
    list->setCurrentIndex(chosen);
}

// Chooses `text` in `list` when it is there; true when it was.
bool choose(QComboBox* list, const QString& text) {
    const int at = text.isEmpty() ? -1 : list->findText(text);
    if (at >= 0) list->setCurrentIndex(at);
    return at >= 0;
}

}  // namespace

PrintFrame::PrintFrame(drawing::AcadApplication& acad, QWidget* parent)
    : QGroupBox(QStringLiteral("打印"), parent), acad_(acad) {
    setObjectName(QStringLiteral("Frame2"));
    auto* grid = new QGridLayout(this);
    const char* names[] = {"Combo2", "Combo3", "Combo4"};
    const QString captions[] = {QStringLiteral("打印机："), QStringLiteral("打印样式表："),
                                QStringLiteral("图纸尺寸：")};
    QComboBox* lists[3];
    for (int r = 0; r < 3; ++r) {
        auto* caption = new QLabel(captions[r], this);
        lists[r] = new QComboBox(this);
        lists[r]->setObjectName(QString::fromUtf8(names[r]));
        lists[r]->setMinimumContentsLength(16);
        grid->addWidget(caption, r, 0);
        grid->addWidget(lists[r], r, 1, 1, 2);
        controls_ << caption << lists[r];
    }
    printers_ = lists[0];
    styles_ = lists[1];
    papers_ = lists[2];
    connect(printers_, &QComboBox::activated, this, &PrintFrame::printerChosen);
    connect(styles_, &QComboBox::activated, this, &PrintFrame::listChosen);
    connect(papers_, &QComboBox::activated, this, &PrintFrame::listChosen);

    auto* millimetres = new QRadioButton(QStringLiteral("毫米"), this);
    millimetres->setObjectName(QStringLiteral("Option1"));
    millimetres->setChecked(true);
    inches_ = new QRadioButton(QStringLiteral("英寸"), this);
    inches_->setObjectName(QStringLiteral("Option2"));
    grid->addWidget(millimetres, 3, 1);
    grid->addWidget(inches_, 3, 2);
    controls_ << millimetres << inches_;
    book_ = new QCheckBox(QStringLiteral("合并为一个PDF"), this);
    book_->setObjectName(QStringLiteral("CheckBook"));
    book_->setToolTip(QStringLiteral("每张图纸一页，带书签，保存在第一张图纸旁的“") +
                      QString::fromUtf8(kWindowBookName) + QStringLiteral("”"));
    grid->addWidget(book_, 4, 1, 1, 2);
    for (QWidget* w : controls_) w->setEnabled(false);
    book_->setEnabled(false);
    setEnabled(false);
}

bool PrintFrame::bindsIntoOne() const { return book_->isEnabled() && book_->isChecked(); }

void PrintFrame::setUp() {
    for (QWidget* w : controls_) w->setEnabled(true);
    document_ = acad_.documents().add();
    const drawing::AcadLayout layout = document_->activeLayout();
    append(printers_, layout.getPlotDeviceNames());
    append(styles_, layout.getPlotStyleTableNames());
}

ui::OptionalMessage PrintFrame::check() {
    if (document_) document_->activeLayout().refreshPlotDeviceInfo();
    BatchSettings chosen;
    apply(chosen);
    return plotChoiceMessage(chosen);
}

void PrintFrame::printerChosen(int) {
    papers_->clear();
    document_ = acad_.activeDocument();
    if (!document_) document_ = acad_.documents().add();
    drawing::AcadLayout layout = document_->activeLayout();
    layout.setConfigName(printers_->currentText().toStdString());
    layout.refreshPlotDeviceInfo();
    layout.refreshPlotDeviceInfo();
    append(papers_, layout.getCanonicalMediaNames());
    book_->setEnabled(printers_->currentText() == QString::fromUtf8(plot::kPdfDevice));
    Q_EMIT listChosen();
}

void PrintFrame::saveSettings(QSettings& settings) const {
    settings.setValue(QStringLiteral("printer"), printers_->currentText());
    settings.setValue(QStringLiteral("styleSheet"), styles_->currentText());
    settings.setValue(QStringLiteral("paper"), papers_->currentText());
    settings.setValue(QStringLiteral("inches"), inches_->isChecked());
    settings.setValue(QStringLiteral("plotIntoOne"), book_->isChecked());
}

void PrintFrame::restoreSettings(const QSettings& settings) {
    if (choose(printers_, settings.value(QStringLiteral("printer")).toString()))
        printerChosen(printers_->currentIndex());
    choose(styles_, settings.value(QStringLiteral("styleSheet")).toString());
    choose(papers_, settings.value(QStringLiteral("paper")).toString());
    if (settings.value(QStringLiteral("inches")).toBool()) inches_->setChecked(true);
    book_->setChecked(settings.value(QStringLiteral("plotIntoOne")).toBool());
}

void PrintFrame::apply(BatchSettings& settings) const {
    settings.device = printers_->currentText().toStdString();
    settings.styleSheet = styles_->currentText().toStdString();
    settings.paper = papers_->currentText().toStdString();
    settings.paperUnits = inches_->isChecked() ? 0 : 1;
}

}  // namespace batch
