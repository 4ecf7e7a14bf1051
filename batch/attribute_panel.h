// The frame "块属性值修改" of the batch window: a sample drawing's block references,
// the attributes of the chosen block with their current and new values, and the
// file-name template. The batch run reads the target block name, the tags with their
// new values, and the template from here; the window keeps them all in its settings.
#pragma once

#include <QGroupBox>
#include <string>
#include <vector>

#include "batch/file_name_template.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSettings;

namespace drawing {
class AcadApplication;
class AcadDocument;
}  // namespace drawing

namespace batch {

class CadMessage;

class AttributePanel : public QGroupBox {
    Q_OBJECT

public:
    AttributePanel(drawing::AcadApplication& acad, CadMessage& progress, QWidget* parent);

    // Ticking 块属性修改 enables 指定范例图纸, 提取块列表 and 保存.
    void enableAttributeEdit(bool on);
    // Ticking 更改文件名 enables the template's controls.
    void enableFileName(bool on);

    // 提取块列表 for the drawing named in Text1.
    void extractBlockList();

    std::string targetBlock() const;             // the block list's text
    std::vector<std::string> tags() const;       // Combo6
    std::vector<std::string> newValues() const;  // Combo8
    const FileNameTemplate& fileNameTemplate() const { return template_; }
    // Forgets the sample drawing (the run closes every drawing).
    void forgetSample() { sample_ = nullptr; }

    // The sample's path, its block list and the chosen block, the attributes with their
    // new values, and the file-name template, in `settings`' current group.
    void saveSettings(QSettings& settings) const;
    // Shows them again as saved, without opening the sample: 提取块列表 reads it anew.
    void restoreSettings(const QSettings& settings);

private:
    void chooseSample();
    void blockSelected();
    void rowSelected(int index);
    void storeNewValue();
    void addAttributeToName();
    void addConstantToName();
    void clearName();

    drawing::AcadApplication& acad_;
    CadMessage& progress_;
    drawing::AcadDocument* sample_ = nullptr;  // the drawing the block list was taken from
    FileNameTemplate template_;
    QLineEdit* samplePath_;    // Text1
    QComboBox* blocks_;        // Combo5
    QLabel* blockCount_;       // Label2
    QComboBox* tagList_;       // Combo6
    QComboBox* valueList_;     // Combo7
    QComboBox* newValueList_;  // Combo8
    QLineEdit* newValue_;      // Text4
    QLineEdit* namePreview_;   // Text2
    QLineEdit* constant_;      // Text3
    QList<QWidget*> attributeEditControls_, fileNameControls_;
};

}  // namespace batch
