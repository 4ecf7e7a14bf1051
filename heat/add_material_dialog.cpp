#include "heat/add_material_dialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

#include "ui/keyboard.h"
#include "ui/message_box.h"

namespace heat {
namespace {

QLineEdit* field(const char* name, const QString& placeholder = {}) {
    auto* edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(name));
    edit->setPlaceholderText(placeholder);
    return edit;
}

}  // namespace

AddMaterialDialog::AddMaterialDialog(QWidget* parent, Writer write)
    : QWidget(parent, Qt::Window),
      write_(std::move(write)),
      name_(field("Text1")),
      conductivity_(field("Text2", QStringLiteral("例如 0.72+0.50*t、<0.05、0.02-0.03、0.06"))),
      density_(field("Text3")),
      maxTemperature_(field("Text4")) {
    setObjectName(QStringLiteral("AddMaterialDialog"));
    setWindowTitle(QStringLiteral("添加数据库"));
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("名称："), name_);
    form->addRow(QStringLiteral("导热系数（千卡/米·时·℃）："), conductivity_);
    form->addRow(QStringLiteral("容重（千克/米3）："), density_);
    form->addRow(QStringLiteral("最高使用温度（℃）："), maxTemperature_);
    auto* ok = new QPushButton(QStringLiteral("添加"));
    ok->setObjectName(QStringLiteral("Command1"));
    auto* close = new QPushButton(QStringLiteral("关闭"));
    close->setObjectName(QStringLiteral("Command2"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(close);
    form->addRow(buttons);
    connect(ok, &QPushButton::clicked, this, &AddMaterialDialog::add);
    connect(close, &QPushButton::clicked, this, &QWidget::hide);
    ui::pressOnEnter(this, ok);
    ui::closeOnEscape(this);
}

void AddMaterialDialog::add() {
    NewMaterial material{name_->text().toStdString(), conductivity_->text().toStdString(),
                         density_->text().toStdString(), maxTemperature_->text().toStdString()};
    ui::OptionalMessage refusal = validateNewMaterial(material);
    if (!refusal) refusal = write_(material);
    if (refusal) {
        ui::showMessage(this, QString::fromStdString(refusal->title),
                        QString::fromStdString(refusal->text), ui::Icon::Warning);
        return;
    }
    ui::showMessage(
        this, QStringLiteral("添加数据库"),
        QStringLiteral("材料“%1”已添加到数据库").arg(QString::fromStdString(material.name)));
    for (QLineEdit* edit : {name_, conductivity_, density_, maxTemperature_}) edit->clear();
}

}  // namespace heat
