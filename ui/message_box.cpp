#include "ui/message_box.h"

#include <QAbstractButton>
#include <QMessageBox>

namespace ui {
namespace {

QMessageBox::Icon qtIcon(Icon icon) {
    switch (icon) {
        case Icon::Information: return QMessageBox::Information;
        case Icon::Warning: return QMessageBox::Warning;
        case Icon::Critical: return QMessageBox::Critical;
        case Icon::Question: return QMessageBox::Question;
        case Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

class QtMessageBoxes : public MessageBoxes {
public:
    Answer show(QWidget* parent, const QString& title, const QString& text, Icon icon,
                Buttons buttons) override {
        QMessageBox box(qtIcon(icon), title, text, QMessageBox::NoButton, parent);
        switch (buttons) {
            case Buttons::Ok:
                box.setStandardButtons(QMessageBox::Ok);
                box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
                break;
            case Buttons::OkCancel:
                box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
                box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
                box.button(QMessageBox::Cancel)->setText(QStringLiteral("取消"));
                break;
            case Buttons::YesNo:
                box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
                box.button(QMessageBox::Yes)->setText(QStringLiteral("是"));
                box.button(QMessageBox::No)->setText(QStringLiteral("否"));
                break;
        }
        switch (box.exec()) {
            case QMessageBox::Ok: return Answer::Ok;
            case QMessageBox::Yes: return Answer::Yes;
            case QMessageBox::No: return Answer::No;
            default: return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
        }
    }
};

MessageBoxes* installed = nullptr;

}  // namespace

Answer showMessage(QWidget* parent, const QString& title, const QString& text, Icon icon,
                   Buttons buttons) {
    static QtMessageBoxes qtBoxes;
    return (installed ? installed : &qtBoxes)->show(parent, title, text, icon, buttons);
}

void setMessageBoxes(MessageBoxes* boxes) { installed = boxes; }

}  // namespace ui
