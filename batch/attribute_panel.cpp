#include "batch/attribute_panel.h"

#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include "batch/progress_window.h"
#include "batch/sample_blocks.h"
#include "drawing/document.h"
#include "ui/message_box.h"

namespace batch {
namespace {

QString qtext(const std::string& s) { return QString::fromStdString(s); }

std::vector<std::string> itemsOf(const QComboBox* list) {
    std::vector<std::string> items;
    for (int i = 0; i < list->count(); ++i) items.push_back(list->itemText(i).toStdString());
    return items;
}

}  // namespace

AttributePanel::AttributePanel(drawing::AcadApplication& acad, CadMessage& progress,
                               QWidget* parent)
    : QGroupBox(QStringLiteral("块属性值修改"), parent), acad_(acad), progress_(progress) {
    setObjectName(QStringLiteral("Frame3"));
    auto* grid = new QGridLayout(this);
    const auto button = [this](const char* name, const QString& caption,
                               void (AttributePanel::*slot)()) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromUtf8(name));
        b->setEnabled(false);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    const auto field = [this](const char* name) {
        auto* f = new QLineEdit(this);
        f->setObjectName(QString::fromUtf8(name));
        return f;
    };
    const auto list = [this](const char* name) {
        auto* c = new QComboBox(this);
        c->setObjectName(QString::fromUtf8(name));
        return c;
    };

    samplePath_ = field("Text1");
    QPushButton* choose =
        button("Command6", QStringLiteral("指定范例图纸"), &AttributePanel::chooseSample);
    grid->addWidget(samplePath_, 0, 0, 1, 3);
    grid->addWidget(choose, 0, 3);

    QPushButton* extract =
        button("Command7", QStringLiteral("提取块列表"), &AttributePanel::extractBlockList);
    blocks_ = list("Combo5");
    blocks_->setEditable(true);
    connect(blocks_, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (i >= 0) blockSelected();
    });
    blockCount_ = new QLabel(this);
    blockCount_->setObjectName(QStringLiteral("Label2"));
    grid->addWidget(extract, 1, 0);
    grid->addWidget(blocks_, 1, 1, 1, 2);
    grid->addWidget(blockCount_, 1, 3);

    tagList_ = list("Combo6");
    valueList_ = list("Combo7");
    newValueList_ = list("Combo8");
    newValueList_->setEnabled(false);
    const QString captions[] = {QStringLiteral("属性提示："), QStringLiteral("当前属性值："),
                                QStringLiteral("新的属性值显示：")};
    QComboBox* parallel[] = {tagList_, valueList_, newValueList_};
    for (int r = 0; r < 3; ++r) {
        grid->addWidget(new QLabel(captions[r], this), 2 + r, 0);
        grid->addWidget(parallel[r], 2 + r, 1, 1, 3);
        connect(parallel[r], &QComboBox::currentIndexChanged, this, &AttributePanel::rowSelected);
    }

    newValue_ = field("Text4");
    QPushButton* store = button("Command8", QStringLiteral("保存"), &AttributePanel::storeNewValue);
    grid->addWidget(new QLabel(QStringLiteral("新的属性值输入："), this), 5, 0);
    grid->addWidget(newValue_, 5, 1, 1, 2);
    grid->addWidget(store, 5, 3);

    namePreview_ = field("Text2");
    constant_ = field("Text3");
    QPushButton* addConstant =
        button("Command9", QStringLiteral("添加常量"), &AttributePanel::addConstantToName);
    QPushButton* addAttribute =
        button("Command10", QStringLiteral("提取属性"), &AttributePanel::addAttributeToName);
    QPushButton* clear =
        button("Command11", QStringLiteral("重新提取"), &AttributePanel::clearName);
    grid->addWidget(new QLabel(QStringLiteral("文件名属性提取："), this), 6, 0);
    grid->addWidget(namePreview_, 6, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("添加文件名常量："), this), 7, 0);
    grid->addWidget(constant_, 7, 1, 1, 2);
    grid->addWidget(addConstant, 7, 3);
    grid->addWidget(addAttribute, 8, 1);
    grid->addWidget(clear, 8, 2);

    attributeEditControls_ = {choose, extract, store};
    fileNameControls_ = {addConstant, addAttribute, clear, namePreview_, constant_};
    enableFileName(false);
}

void AttributePanel::enableAttributeEdit(bool on) {
    for (QWidget* w : attributeEditControls_) w->setEnabled(on);
}

void AttributePanel::enableFileName(bool on) {
    for (QWidget* w : fileNameControls_) w->setEnabled(on);
}

std::string AttributePanel::targetBlock() const { return blocks_->currentText().toStdString(); }
std::vector<std::string> AttributePanel::tags() const { return itemsOf(tagList_); }
std::vector<std::string> AttributePanel::newValues() const { return itemsOf(newValueList_); }

void AttributePanel::chooseSample() {
    samplePath_->setText(QFileDialog::getOpenFileName(this, QStringLiteral("指定范例图纸"),
                                                      QString(),
                                                      QStringLiteral("dwg Files (*.dwg *.dxf)")));
}

void AttributePanel::extractBlockList() {
    progress_.showLoading();
    blocks_->clear();
    drawing::AcadDocument* doc = nullptr;
    const drawing::Status opened = acad_.documents().open(samplePath_->text().toStdString(), doc);
    if (!opened.ok()) {
        blockCount_->setText(QStringLiteral("共0"));
        progress_.hide();
        ui::showMessage(
            this, QStringLiteral("提示"),
            QStringLiteral("范例图纸打不开：%1\n%2").arg(samplePath_->text(), qtext(opened.reason)),
            ui::Icon::Warning);
        return;
    }
    sample_ = doc;
    {
        const QSignalBlocker quiet(blocks_);
        for (const std::string& name : blockReferenceNames(*doc)) blocks_->addItem(qtext(name));
        blocks_->setCurrentIndex(-1);
    }
    if (blocks_->count() > 0) blocks_->setCurrentIndex(0);
    blockCount_->setText(QStringLiteral("共%1").arg(blocks_->count()));
    progress_.hide();
}

void AttributePanel::blockSelected() {
    progress_.show();
    const SampleAttributes found =
        sample_ ? sampleAttributes(*sample_, targetBlock()) : SampleAttributes{};
    {
        const QSignalBlocker quiet1(tagList_), quiet2(valueList_), quiet3(newValueList_);
        tagList_->clear();
        valueList_->clear();
        newValueList_->clear();
        for (size_t j = 0; j < found.tags.size(); ++j) {
            tagList_->addItem(qtext(found.tags[j]));
            valueList_->addItem(qtext(found.values[j]));
            newValueList_->addItem(QString());
        }
    }
    if (found.withoutAttributes)
        ui::showMessage(this, QStringLiteral("提示"),
                        QStringLiteral("你选择的不是带属性的图块，请从新选择"),
                        ui::Icon::Information);
    if (tagList_->count() > 0) rowSelected(0);
    progress_.hide();
}

void AttributePanel::rowSelected(int index) {
    for (QComboBox* list : {tagList_, valueList_, newValueList_}) {
        const QSignalBlocker quiet(list);
        list->setCurrentIndex(index);
    }
}

void AttributePanel::storeNewValue() {
    const int j = valueList_->currentIndex();
    if (j >= 0) newValueList_->setItemText(j, newValue_->text());
}

void AttributePanel::addAttributeToName() {
    const std::string tag = tagList_->currentText().toStdString();
    if (!tag.empty() && template_.addTag(tag))
        namePreview_->setText(namePreview_->text() + valueList_->currentText());
}

void AttributePanel::addConstantToName() {
    namePreview_->setText(namePreview_->text() + constant_->text());
    template_.addConstant(constant_->text().toStdString());
}

void AttributePanel::clearName() {
    template_.clear();
    namePreview_->clear();
}

}  // namespace batch
