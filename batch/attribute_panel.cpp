#include "batch/attribute_panel.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalBlocker>
#include <algorithm>
#include <cstring>

#include "batch/collection.h"
#include "batch/progress_window.h"
#include "batch/sample_blocks.h"
#include "drawing/document.h"
#include "ui/file_dialogs.h"
#include "ui/message_box.h"

namespace batch {
namespace {

QString qtext(const std::string& s) { return QString::fromStdString(s); }

QStringList textsOf(const QComboBox* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) texts << list->itemText(i);
    return texts;
}

std::vector<std::string> itemsOf(const QComboBox* list) {
    std::vector<std::string> items;
    for (const QString& text : textsOf(list)) items.push_back(text.toStdString());
    return items;
}

// The file-name template's slots keep a constant after the word "const".
constexpr char kConstant[] = "const";

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
    const QString chosen =
        ui::openFileName(this, QStringLiteral("drawing"), QStringLiteral("指定范例图纸"),
                         QString::fromUtf8(kDrawingFileFilter));
    if (!chosen.isEmpty()) samplePath_->setText(chosen);
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

void AttributePanel::saveSettings(QSettings& settings) const {
    QStringList nameSlots;
    for (const std::string& slot : template_.slots()) nameSlots << qtext(slot);
    const QList<std::pair<const char*, QVariant>> values = {
        {"sample", samplePath_->text()},   {"blocks", textsOf(blocks_)},
        {"block", blocks_->currentText()}, {"tags", textsOf(tagList_)},
        {"values", textsOf(valueList_)},   {"newValues", textsOf(newValueList_)},
        {"nameSlots", nameSlots},          {"namePreview", namePreview_->text()},
        {"constant", constant_->text()}};
    for (const auto& [key, value] : values) settings.setValue(QLatin1String(key), value);
}

void AttributePanel::restoreSettings(const QSettings& settings) {
    const auto texts = [&settings](const char* key) {
        return settings.value(QLatin1String(key)).toStringList();
    };
    samplePath_->setText(settings.value(QStringLiteral("sample")).toString());
    const QSignalBlocker quiet1(blocks_), quiet2(tagList_), quiet3(valueList_),
        quiet4(newValueList_);
    blocks_->addItems(texts("blocks"));
    const QString block = settings.value(QStringLiteral("block")).toString();
    blocks_->setCurrentIndex(blocks_->findText(block));
    blocks_->setEditText(block);
    if (blocks_->count() > 0) blockCount_->setText(QStringLiteral("共%1").arg(blocks_->count()));
    // The three lists run in step: a row is shown only with its tag, value and new value.
    QStringList tags = texts("tags"), values = texts("values"), newValues = texts("newValues");
    const qsizetype rows = std::min({tags.size(), values.size(), newValues.size()});
    tagList_->addItems(tags.mid(0, rows));
    valueList_->addItems(values.mid(0, rows));
    newValueList_->addItems(newValues.mid(0, rows));
    for (QComboBox* list : {tagList_, valueList_, newValueList_})
        list->setCurrentIndex(rows > 0 ? 0 : -1);
    for (const QString& slot : texts("nameSlots")) {
        if (slot.startsWith(QLatin1String(kConstant)))
            template_.addConstant(slot.mid(int(std::strlen(kConstant))).toStdString());
        else
            template_.addTag(slot.toStdString());
    }
    namePreview_->setText(settings.value(QStringLiteral("namePreview")).toString());
    constant_->setText(settings.value(QStringLiteral("constant")).toString());
}

}  // namespace batch
