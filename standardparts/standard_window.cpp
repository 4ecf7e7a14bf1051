#include "standardparts/standard_window.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>

#include "standardparts/standard_part_type.h"
#include "ui/data_paths.h"
#include "ui/message_box.h"
#include "ui/window_placement.h"

namespace standardparts {

StandardWindow::StandardWindow(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("standard"));
    setWindowTitle(QStringLiteral("Form10"));
    auto* label = new QLabel(QStringLiteral("请选择标准件的类型:"), this);
    label->setObjectName(QStringLiteral("Label1"));
    type_ = new QComboBox(this);
    type_->setObjectName(QStringLiteral("Combo1"));
    type_->setEditable(true);
    type_->setInsertPolicy(QComboBox::NoInsert);
    type_->setMinimumWidth(200);
    name_ = new QLineEdit(this);
    name_->setObjectName(QStringLiteral("Text1"));
    auto* grid = new QGridLayout(this);
    grid->addWidget(label, 0, 0);
    grid->addWidget(type_, 0, 1);
    grid->addWidget(name_, 1, 1);
    grid->setContentsMargins(20, 20, 20, 20);
}

void StandardWindow::load() {
    const FirstPartType first = readFirstPartType(ui::standardDbDir());
    type_->clear();
    type_->setEditText(QString::fromStdString(first.gb));
    name_->setText(QString::fromStdString(first.name));
    if (first.message)
        ui::showMessage(this, QString::fromStdString(first.message->title),
                        QString::fromStdString(first.message->text), ui::Icon::Warning);
}

void showStandardWindow(QWidget* opener) {
    static QPointer<StandardWindow> window;
    if (!window) window = new StandardWindow;
    window->load();
    ui::showWindow(window, opener);
}

}  // namespace standardparts
